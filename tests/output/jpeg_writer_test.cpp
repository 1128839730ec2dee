#include "output/jpeg_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>

#include "common/replace_file.h"
#include "output/output_test_support.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

using testing::CountFiles;
using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

const QColor kQuadrantColours[] = {QColor(255, 0, 0), QColor(0, 160, 0), QColor(0, 0, 255),
                                   Qt::white};

QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int k = 0; k < 4; ++k)
        painter.fillRect(k % 2 * width / 2, k / 2 * height / 2, width - width / 2,
                         height - height / 2, kQuadrantColours[k]);
    return image;
}

TEST(JpegEncoding, EveryImageFormatTheProgramDrawsDecodesBackToItsColours) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_RGB888, QImage::Format_Grayscale8}) {
        std::vector<unsigned char> jpeg;
        std::string error;
        const QImage source = Quadrants(160, 120).convertToFormat(format);
        ASSERT_TRUE(EncodeJpeg(source, kJpegQuality, jpeg, error)) << format << ": " << error;
        QImage back;
        ASSERT_TRUE(back.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG"));
        ASSERT_EQ(back.size(), QSize(160, 120));
        for (auto [x, y] : {std::pair{20, 20}, {140, 20}, {20, 100}, {140, 100}}) {
            const QColor want = source.pixelColor(x, y), got = back.pixelColor(x, y);
            EXPECT_NEAR(got.red(), want.red(), 24) << format << " " << x << "," << y;
            EXPECT_NEAR(got.green(), want.green(), 24) << format << " " << x << "," << y;
            EXPECT_NEAR(got.blue(), want.blue(), 24) << format << " " << x << "," << y;
        }
    }
}

TEST(JpegEncoding, FileIsBaselineQuality90WithThreeComponents) {
    if (!testing::HaveTool("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
    TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteJpegFile(Quadrants(200, 140), dir.file("a.jpg"), error)) << error;
    const std::string report = testing::CommandOutput("identify -verbose " + dir.file("a.jpg"));
    for (const char* line : {"Geometry: 200x140", "Interlace: None", "Quality: 90",
                             "Colorspace: sRGB", "jpeg:sampling-factor: 2x2,1x1,1x1"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}

TEST(JpegEncoding, LibraryErrorsAndEmptyImagesBecomeAFailedResult) {
    // Past libjpeg's dimension limit its error_exit fires inside
    // jpeg_start_compress; the program must carry on.
    std::vector<unsigned char> jpeg;
    std::string error;
    EXPECT_FALSE(EncodeJpeg(QImage(65501, 1, QImage::Format_RGB32), 90, jpeg, error));
    EXPECT_NE(error.find("65500"), std::string::npos) << error;
    EXPECT_TRUE(jpeg.empty());
    EXPECT_TRUE(EncodeJpeg(Quadrants(8, 8), 90, jpeg, error)) << error;  // works again
    error.clear();
    EXPECT_FALSE(EncodeJpeg(QImage(), 90, jpeg, error));
    EXPECT_FALSE(error.empty());
    TempDir dir;
    EXPECT_FALSE(WriteJpegFile(QImage(), dir.file("x.jpg"), error));
    EXPECT_EQ(CountFiles(dir.path()), 0u);
}

TEST(FileReplacement, FailedWriteNamesTheFileAndLeavesTheOldOneAndNoLitter) {
    TempDir dir;
    const std::string path = dir.file("zeb.jpg");
    WriteWholeFile(path, std::string(300, 'o'));
    std::string error;
    {
        testing::FileSizeLimit limit(100);
        EXPECT_FALSE(ReplaceFileContents(path, std::string(5000, 'n'), error));
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(path), std::string(300, 'o'));
    EXPECT_EQ(CountFiles(dir.path()), 1u);
    EXPECT_FALSE(ReplaceFileContents("", "x", error));
    if (geteuid() != 0) {  // a read-only mode does not stop root
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        EXPECT_FALSE(ReplaceFileContents(path, "new", error));
        EXPECT_EQ(ReadWholeFile(path), std::string(300, 'o'));
    }
}

}  // namespace
}  // namespace kalvera
