#include "output/picture_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>

#include "common/date_time.h"
#include "output/output_test_support.h"
#include "products/derived_products.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

using testing::CountFiles;
using testing::DarkPixels;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

constexpr int kSide = 240;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr uint32_t kLegendTop = 0xA00000;     // dark blue
constexpr uint32_t kLegendBottom = 0x00A000;  // green

// A viewer whose layers hold known content: a grey map with a black line at
// x = 10, a red cell block in the top-left corner of the picture, a legend
// that is blue except for its last visible row.
ViewerState MakeViewer() {
    ViewerState viewer;
    viewer.layout = ComputePictureLayout(176, kSide + 40);
    viewer.config.siteTable.codes = {"26063"};
    viewer.config.siteTable.names = {"Внуково"};
    viewer.display.siteCode = "26063";
    viewer.display.termText = "10.30";
    viewer.display.currentDate = EncodeDate(2009, 3, 15) + 0.4375;
    viewer.MapLayer.setSize(kSide, kSide);
    viewer.MapLayer.image.fill(ToQColor(kGrey));
    QPainter(&viewer.MapLayer.image).fillRect(10, 0, 1, kSide, Qt::black);
    viewer.PictureLayer.setSize(kSide, kSide);
    QPainter(&viewer.PictureLayer.image).fillRect(0, 0, 50, 50, QColor(255, 0, 0));
    viewer.LegendLayer.setSize(kLegendWidth, kSide + kHeaderHeight);
    viewer.LegendLayer.image.fill(ToQColor(kLegendTop));
    QPainter(&viewer.LegendLayer.image)
        .fillRect(0, kSide - 1, kLegendWidth, kHeaderHeight + 1, ToQColor(kLegendBottom));
    return viewer;
}

bool OnlyWhite(const QImage& image, int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (PixelAt(image, x, y) != kWhite) return false;
    return true;
}

TEST(AutomaticExportImage, MapAndCellsWithTheLegendRightAndTheHeaderBandAbove) {
    const QImage image = ComposeExportImage(MakeViewer());
    ASSERT_EQ(image.size(), QSize(kSide + 100, kSide + 40));
    EXPECT_EQ(PixelAt(image, 100, 140), kGrey);
    EXPECT_EQ(PixelAt(image, 10, 140), kBlack);
    EXPECT_EQ(PixelAt(image, 30, 60), 0x0000C0u);  // red AND grey
    EXPECT_EQ(PixelAt(image, 10, 60), kBlack);     // the line shows through the cell
    // The legend from (W, 40), cut at the bottom edge: its row H - 1 is the last.
    EXPECT_EQ(PixelAt(image, kSide, 40), kLegendTop);
    EXPECT_EQ(PixelAt(image, kSide + 99, kSide + 38), kLegendTop);
    EXPECT_EQ(PixelAt(image, kSide + 50, kSide + 39), kLegendBottom);
    // The header band is white, also above the legend, except for two lines
    // of text, each centred: the margins left and right of its ink differ by little.
    EXPECT_TRUE(OnlyWhite(image, 0, 0, 20, 40));
    EXPECT_TRUE(OnlyWhite(image, image.width() - 20, 0, 20, 40));
    for (auto [top, bottom] : {std::pair{0, 13}, std::pair{15, 30}}) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (DarkPixels(image, x, top, 1, bottom - top) > 0) {
                if (first < 0) first = x;
                last = x;
            }
        ASSERT_GT(DarkPixels(image, 0, top, image.width(), bottom - top), 20) << top;
        EXPECT_LE(std::abs(first - (image.width() - 1 - last)), 4) << first << " " << last;
    }
}

TEST(AutomaticExportImage, BeforeAnyRenderTheLayersAreSimplyMissing) {
    ViewerState viewer;
    viewer.layout = ComputePictureLayout(176, kSide + 40);
    const QImage image = ComposeExportImage(viewer);
    ASSERT_EQ(image.size(), QSize(kSide + 100, kSide + 40));
    EXPECT_EQ(PixelAt(image, kSide / 2, kSide / 2), kWhite);
    EXPECT_EQ(PixelAt(image, kSide + 50, kSide), kWhite);
}

TEST(AutomaticExportImage, SecondLineShowsTheTermAndDayOnDisplay) {
    const ViewerState viewer = MakeViewer();
    const std::string line = ExportHeaderLine2(viewer, HeaderForm::Automatic);
    EXPECT_EQ(line.rfind("РРП а/пВнуково. Дата ", 0), 0u) << line;
    EXPECT_NE(line.find(" Время 10.30 сгв"), std::string::npos) << line;
    EXPECT_NE(line.find(ShortDateText(viewer.display.currentDate)), std::string::npos) << line;
    EXPECT_EQ(ExportHeaderLine2(viewer, HeaderForm::SaveButton).rfind("РРП а/п Внуково.", 0), 0u);
}

TEST(SavedWindowImage, IsThePictureAreaAsShownWithoutLegend) {
    ViewerState viewer = MakeViewer();
    const LayoutRect area = viewer.layout.picture;
    viewer.WindowDC.setSize(viewer.layout.legend.right() + 10, area.bottom() + 10, kWhite);
    viewer.WindowDC.image.fill(Qt::black);  // outside the picture area
    {
        QPainter p(&viewer.WindowDC.image);
        p.fillRect(area.left, area.top, area.width, area.height, ToQColor(kGrey));
        p.fillRect(area.left, area.top, 5, 5, ToQColor(0x00FFFF));  // yellow corner
    }
    const QImage image = ComposeWindowImage(viewer);
    ASSERT_EQ(image.size(), QSize(kSide, kSide + 40));
    EXPECT_EQ(PixelAt(image, 2, 42), 0x00FFFFu);
    EXPECT_EQ(PixelAt(image, 5, 45), kGrey);
    EXPECT_EQ(PixelAt(image, kSide - 1, kSide + 39), kGrey);
    // A narrow picture may be narrower than line 2; line 1 leaves its corners white.
    EXPECT_TRUE(OnlyWhite(image, 0, 0, 10, 13));
    EXPECT_GT(DarkPixels(image, 0, 0, image.width(), 40), 40);
}

TEST(SavedWindowImage, ADerivedProductOrAnotherTableBringsTheKeyAndTheProductsName) {
    auto table = std::make_shared<ColourTable>();
    ColourStop stop;
    stop.colour = Rgba{1, 2, 3, 255};
    table->stops.push_back(stop);
    const auto saved = [&table](int layer, bool withTable) {
        ViewerState viewer = MakeViewer();
        viewer.display.layerCode = layer;
        if (withTable) viewer.config.colours.tables[0] = table;
        viewer.WindowDC.setSize(viewer.layout.legend.right() + 10,
                                viewer.layout.picture.bottom() + 10, kWhite);
        return ComposeWindowImage(viewer);
    };
    const struct {
        int layer;
        bool table;
        bool key;
    } rows[] = {{4, false, false}, {4, true, true}, {kLayerColumnMax, false, true}};
    for (const auto& row : rows) {
        const QImage image = saved(row.layer, row.table);
        ASSERT_EQ(image.width(), kSide + (row.key ? kLegendWidth : 0)) << row.layer;
        if (row.key) {
            EXPECT_EQ(PixelAt(image, kSide + 50, 60), kLegendTop) << row.layer;
        }
    }
    // The band's second line names the product after the term.
    EXPECT_NE(saved(kLayerColumnMax, false).copy(0, 14, kSide, 13),
              saved(4, false).copy(0, 14, kSide, 13));
}

class ExportFile : public ::testing::Test {
  protected:
    testing::TempDir dir;
    ViewerState viewer = MakeViewer();
    std::string target = dir.file("zeb.jpg");
};

TEST_F(ExportFile, OnlyAnExistingFileIsReplacedByTheComposedJpeg) {
    std::string error = "untouched";
    EXPECT_FALSE(ExportPictureFile(viewer, target, &error));
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(CountFiles(dir.path()), 0u);

    WriteWholeFile(target, "placeholder");
    ASSERT_TRUE(ExportPictureFile(viewer, target, &error)) << error;
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(target), "JPEG"));
    EXPECT_EQ(back.size(), QSize(kSide + 100, kSide + 40));
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST_F(ExportFile, FailedWriteReturnsFalseAndKeepsTheOldPicture) {
    // As root a read-only directory does not stop the write; a file-size
    // limit does, for any user (see FileSizeLimit).
    WriteWholeFile(target, std::string(200, 'x'));
    std::string error;
    {
        testing::FileSizeLimit limit(1000);
        EXPECT_FALSE(ExportPictureFile(viewer, target, &error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadWholeFile(target), std::string(200, 'x'));
    EXPECT_EQ(CountFiles(dir.path()), 1u);
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(ExportPictureFile(viewer, target, &error));
        chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(ReadWholeFile(target), std::string(200, 'x'));
    }
}

TEST_F(ExportFile, DirectoryOrVanishedDirectoryIsNotAFileToReplace) {
    std::filesystem::create_directory(target);
    EXPECT_FALSE(ExportPictureFile(viewer, target));
    EXPECT_TRUE(std::filesystem::is_directory(target));
    WriteWholeFile(dir.file("q7"), "not a directory");  // the export directory replaced
    EXPECT_FALSE(ExportPictureFile(viewer, dir.file("q7/zeb.jpg")));
    EXPECT_EQ(ReadWholeFile(dir.file("q7")), "not a directory");
}

}  // namespace
}  // namespace kalvera
