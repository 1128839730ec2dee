#include "output/jpeg_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>

#include "output/output_test_support.h"
#include "output/replace_file.h"

namespace kalvera {
namespace {

using testing::CommandOutput;
using testing::CountFiles;
using testing::FileSizeLimit;
using testing::HaveTool;
using testing::ReadWholeFile;
using testing::ScratchDir;
using testing::WriteWholeFile;

QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(255, 0, 0));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(0, 160, 0));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(0, 0, 255));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::white);
    return image;
}

bool Near(QRgb a, QColor b, int tolerance = 24) {
    return std::abs(qRed(a) - b.red()) <= tolerance &&
           std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

TEST(JpegEncoding, DecodesBackToTheSameSizeAndColours) {
    std::vector<unsigned char> jpeg;
    std::string error;
    ASSERT_TRUE(EncodeJpeg(Quadrants(160, 120), kJpegQuality, jpeg, error)) << error;
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    QImage back;
    ASSERT_TRUE(back.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG"));
    EXPECT_EQ(back.size(), QSize(160, 120));
    EXPECT_TRUE(Near(back.pixel(20, 20), QColor(255, 0, 0)));
    EXPECT_TRUE(Near(back.pixel(140, 20), QColor(0, 160, 0)));
    EXPECT_TRUE(Near(back.pixel(20, 100), QColor(0, 0, 255)));
    EXPECT_TRUE(Near(back.pixel(140, 100), Qt::white));
}

TEST(JpegEncoding, AcceptsEveryImageFormatTheProgramDraws) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_RGB888, QImage::Format_Grayscale8}) {
        std::vector<unsigned char> jpeg;
        std::string error;
        EXPECT_TRUE(EncodeJpeg(Quadrants(33, 17).convertToFormat(format), 90, jpeg, error))
            << "format " << format << ": " << error;
    }
}

TEST(JpegEncoding, FileIsBaselineQuality90WithThreeComponents) {
    if (!HaveTool("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(WriteJpegFile(Quadrants(200, 140), dir.file("a.jpg"), error)) << error;
    const std::string report = CommandOutput("identify -verbose " + dir.file("a.jpg"));
    EXPECT_NE(report.find("Geometry: 200x140"), std::string::npos) << report;
    EXPECT_NE(report.find("Interlace: None"), std::string::npos) << report;
    EXPECT_NE(report.find("Quality: 90"), std::string::npos) << report;
    EXPECT_NE(report.find("Colorspace: sRGB"), std::string::npos) << report;
    // Three sampling factors: one per component (Y, Cb, Cr).
    EXPECT_NE(report.find("jpeg:sampling-factor: 2x2,1x1,1x1"), std::string::npos) << report;
}

TEST(JpegEncoding, LibraryErrorsBecomeAFailedResult) {
    // Past libjpeg's dimension limit its error_exit fires inside
    // jpeg_start_compress; the program must carry on.
    std::vector<unsigned char> jpeg;
    std::string error;
    EXPECT_FALSE(EncodeJpeg(QImage(65501, 1, QImage::Format_RGB32), 90, jpeg, error));
    EXPECT_NE(error.find("65500"), std::string::npos) << error;
    EXPECT_TRUE(jpeg.empty());

    // And the encoder works again afterwards.
    EXPECT_TRUE(EncodeJpeg(Quadrants(8, 8), 90, jpeg, error)) << error;
}

TEST(JpegEncoding, EmptyImageIsRefused) {
    std::vector<unsigned char> jpeg;
    std::string error;
    EXPECT_FALSE(EncodeJpeg(QImage(), 90, jpeg, error));
    EXPECT_FALSE(error.empty());
    ScratchDir dir;
    EXPECT_FALSE(WriteJpegFile(QImage(), dir.file("x.jpg"), error));
    EXPECT_EQ(CountFiles(dir.path()), 0u);
}

TEST(FileReplacement, CreatesANewFileWithTheUsualPermissions) {
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(dir.file("new.bin"), "hello", error)) << error;
    EXPECT_EQ(ReadWholeFile(dir.file("new.bin")), "hello");
    struct stat info {};
    ASSERT_EQ(stat(dir.file("new.bin").c_str(), &info), 0);
    // Not mkstemp's owner-only mode: other programs read the export.
    EXPECT_NE(info.st_mode & S_IRGRP, 0u);
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST(FileReplacement, ReplacesContentsAndKeepsTheOldMode) {
    ScratchDir dir;
    const std::string path = dir.file("old.bin");
    WriteWholeFile(path, "a much longer old content");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(path, "new", error)) << error;
    EXPECT_EQ(ReadWholeFile(path), "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST(FileReplacement, ReplacesTheFileALinkPointsTo) {
    ScratchDir dir;
    WriteWholeFile(dir.file("real.bin"), "old");
    ASSERT_EQ(symlink("real.bin", dir.file("link.bin").c_str()), 0);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(dir.file("link.bin"), "new", error)) << error;
    EXPECT_EQ(ReadWholeFile(dir.file("real.bin")), "new");
    struct stat info {};
    ASSERT_EQ(lstat(dir.file("link.bin").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(FileReplacement, FailedWriteLeavesTheOldFileAndNoLitter) {
    ScratchDir dir;
    const std::string path = dir.file("zeb.jpg");
    const std::string old(300, 'o');
    WriteWholeFile(path, old);
    std::string error;
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(ReplaceFileContents(path, std::string(5000, 'n'), error));
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST(FileReplacement, ReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "a read-only mode does not stop root";
    ScratchDir dir;
    const std::string path = dir.file("locked.jpg");
    WriteWholeFile(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(path, "new", error));
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST(FileReplacement, MissingOrBlockedDirectoryFails) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(dir.file("no/such/dir/x.jpg"), "x", error));
    EXPECT_FALSE(error.empty());
    // A plain file where the directory should be.
    WriteWholeFile(dir.file("plain"), "p");
    EXPECT_FALSE(ReplaceFileContents(dir.file("plain/x.jpg"), "x", error));
    EXPECT_EQ(ReadWholeFile(dir.file("plain")), "p");
    EXPECT_FALSE(ReplaceFileContents("", "x", error));
}

}  // namespace
}  // namespace kalvera
