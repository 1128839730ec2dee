#include "output/print_page.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>

#include "common/date_time.h"
#include "output/output_fixtures.h"
#include "output/output_test_support.h"
#include "render/picture_render.h"

namespace kalvera {
namespace {

using testing::CommandOutput;
using testing::DarkPixels;
using testing::HasColourNear;
using testing::HaveTool;
using testing::ScratchDir;
using testing::TestPlace;

// A4 at 300 dots per inch: 11 printer pixels per millimetre, the square of
// 2200 pixels from (55, 440), its centre at (1155, 1540).
constexpr int kPageW = 2480;
constexpr int kPageH = 3508;
constexpr int kA = 55;
constexpr int kB = 440;
constexpr int kSq = 2200;
constexpr int kCellPx = 22;  // 4 km cells on a 400 km square

constexpr float kLat0 = 55.0f;
constexpr float kLon0 = 37.0f;
constexpr uint32_t kPrintBlue = kBlue;

// Centre of cell (row i from the south, column j from the west) on the page,
// when the view is centred on the site.
QPoint CellCentre(int i, int j) {
    return {kA + j * kCellPx + kCellPx / 2, kB + kSq - i * kCellPx - kCellPx / 2};
}

class PrintedPage : public ::testing::Test {
  protected:
    void SetUp() override {
        start = dir.path();
        projection = MapProjection::Init(kSq, kSq, kLon0, kLat0, 200.0f);
        // One outline: a parallel at 54.5 N across the square, clear of the grid.
        testing::WriteOutlines(start, {{{54.5f, 35.0f}, {54.5f, 39.0f}}});
        testing::WritePlaces(start, {
                                        {"Inside", 55.5f, 37.5f},
                                        {"TopBorder", projection.latMax, 37.2f},
                                        {"RightBorder", 55.2f, projection.lonMax},
                                    });
        viewer.config.startDir = start;
        viewer.config.palette = testing::DistinctPalette();
        viewer.config.siteTable.codes = {"26063"};
        viewer.config.siteTable.names = {"Внуково"};
        viewer.display.siteCode = "26063";
        viewer.display.termText = "10.30";
        viewer.display.currentDate = EncodeDate(2009, 3, 15);
        viewer.display.layerCode = 4;
        viewer.display.filterThreshold = 20;
        viewer.display.viewLat = kLat0;
        viewer.display.viewLon = kLon0;
        viewer.display.siteLat = kLat0;
        viewer.display.siteLon = kLon0;
        viewer.display.viewHalfExtentKm = 120.0f;
        viewer.picture.values.fill(0);
        Cell(10, 10) = 30;  // above the threshold: printed
        Cell(10, 14) = 20;  // equal to it: not printed
    }

    int32_t& Cell(int i, int j) { return viewer.picture.values[static_cast<size_t>(i * 100 + j)]; }

    QImage PrintOnImage(PrintResult* result = nullptr) {
        QImage page(kPageW, kPageH, QImage::Format_RGB32);
        page.fill(Qt::white);
        const PrintResult r = PrintPicture(page, viewer);
        if (result) *result = r;
        return page;
    }

    uint32_t Palette(int entry) const { return viewer.config.palette[static_cast<size_t>(entry)]; }

    ScratchDir dir;
    std::string start;
    MapProjection projection;
    ViewerState viewer;
};

TEST_F(PrintedPage, HeaderLinesStartAtTenTwentyAndThirtyMillimetres) {
    const QImage page = PrintOnImage();
    EXPECT_EQ(DarkPixels(page, 0, 0, kPageW, 110), 0);
    // Each line's ink begins within its own band and not before it.
    for (int top : {110, 220, 330}) {
        EXPECT_GT(DarkPixels(page, 0, top, kPageW, 40), 30) << top;
    }
    EXPECT_EQ(DarkPixels(page, 0, 300, kPageW, 330 - 300), 0);
}

TEST_F(PrintedPage, MapSquareHasItsFrameRingsAndGrid) {
    PrintResult result;
    const QImage page = PrintOnImage(&result);
    EXPECT_TRUE(result.pageBegun);
    EXPECT_TRUE(result.mapDrawn);
    // The black frame on the square's edges; nothing left of it.
    EXPECT_EQ(PixelAt(page, kA, 700), kBlack);
    EXPECT_EQ(PixelAt(page, kA + kSq, 700), kBlack);
    EXPECT_EQ(PixelAt(page, 700, kB), kBlack);
    EXPECT_EQ(PixelAt(page, 700, kB + kSq), kBlack);
    EXPECT_EQ(PixelAt(page, kA - 10, 700), kWhite);
    // Grid lines every eighth of the square.
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 8, 1000, 1, kPrintBlue));
    EXPECT_TRUE(HasColourNear(page, 1000, kB + 3 * kSq / 8, 1, kPrintBlue));
    // The outer ring touches the square's edges; the rings are 275 pixels apart.
    const int cx = kA + kSq / 2;
    const int cy = kB + kSq / 2;
    for (int r : {1100, 825, 550, 275}) {
        EXPECT_TRUE(HasColourNear(page, cx + static_cast<int>(r * 0.7071),
                                  cy - static_cast<int>(r * 0.7071), 2, kPrintBlue))
            << r;
    }
    EXPECT_FALSE(HasColourNear(page, cx + 700, cy - 700, 2, kPrintBlue));  // r = 990: no ring
}

TEST_F(PrintedPage, CellsUseTheScreenPaletteEntryAndSkipTheThreshold) {
    const QImage page = PrintOnImage();
    const QPoint printed = CellCentre(10, 10);
    ASSERT_EQ(ColourEntry(4, 30), 4);
    EXPECT_EQ(PixelAt(page, printed.x(), printed.y()), Palette(4));
    const QPoint equal = CellCentre(10, 14);
    EXPECT_EQ(PixelAt(page, equal.x(), equal.y()), kWhite);
    // Value 0 is not above a threshold of 20 either.
    const QPoint zero = CellCentre(50, 60);
    EXPECT_EQ(PixelAt(page, zero.x(), zero.y()), kWhite);
}

TEST_F(PrintedPage, OutOfRangeValuesAreClampedIntoThePalette) {
    viewer.display.layerCode = 22;
    viewer.display.filterThreshold = 0;
    Cell(10, 10) = 5000;  // a weather code far past the palette
    Cell(20, 20) = 3;
    const QImage page = PrintOnImage();
    const QPoint big = CellCentre(10, 10);
    EXPECT_EQ(PixelAt(page, big.x(), big.y()), Palette(31));
    const QPoint three = CellCentre(20, 20);
    EXPECT_EQ(PixelAt(page, three.x(), three.y()), Palette(3));
}

TEST_F(PrintedPage, CellsStayOnTheRadarSiteWhenTheViewIsPanned) {
    // The view 100 km east of the site: the site's cells sit 100 km further
    // west on paper, and nothing is printed outside the square.
    viewer.display.viewLon = kLon0 + 100.0f / 200.0f * projection.dLon;
    Cell(10, 10) = 0;
    Cell(50, 70) = 30;  // 80 km east of the site
    Cell(50, 2) = 30;   // 192 km west of it: 292 km west of the view, off the paper
    const QImage page = PrintOnImage();
    const QPoint shifted{CellCentre(50, 70).x() - 550, CellCentre(50, 70).y()};
    EXPECT_EQ(PixelAt(page, shifted.x(), shifted.y()), Palette(4));
    EXPECT_EQ(PixelAt(page, CellCentre(50, 70).x(), CellCentre(50, 70).y()), kWhite);
    for (int x = 0; x < kA - 2; ++x) EXPECT_EQ(PixelAt(page, x, shifted.y()), kWhite) << x;
}

TEST_F(PrintedPage, PlacesOnTheBorderAreLeftOut) {
    const QImage page = PrintOnImage();
    const int insideX = kA + static_cast<int>(projection.LonToX(37.5f));
    const int insideY = kB + static_cast<int>(projection.LatToY(55.5f));
    EXPECT_TRUE(HasColourNear(page, insideX, insideY, 2, kRed));
    ASSERT_EQ(projection.LatToY(projection.latMax), 0.0f);
    ASSERT_EQ(projection.LonToX(projection.lonMax), static_cast<float>(kSq));
    EXPECT_FALSE(HasColourNear(page, kA + static_cast<int>(projection.LonToX(37.2f)), kB, 8, kRed));
    EXPECT_FALSE(
        HasColourNear(page, kA + kSq, kB + static_cast<int>(projection.LatToY(55.2f)), 8, kRed));
}

TEST_F(PrintedPage, OutlinesAreOpenLinesPinnedToTheSquare) {
    const QImage page = PrintOnImage();
    const int y = kB + static_cast<int>(projection.LatToY(54.5f));
    EXPECT_TRUE(HasColourNear(page, 700, y, 1, kBlack));
    // The outline runs from 35 E to 39 E; not closed back along itself.
    const int west = kA + static_cast<int>(projection.LonToX(35.0f));
    EXPECT_TRUE(HasColourNear(page, west + 3, y, 1, kBlack));
    EXPECT_FALSE(HasColourNear(page, west - 20, y, 3, kBlack));
}

TEST_F(PrintedPage, WithoutOutlineFilesOnlyTheHeaderIsPrinted) {
    std::filesystem::remove(start + "/res/country.ind");
    PrintResult result;
    const QImage page = PrintOnImage(&result);
    EXPECT_TRUE(result.pageBegun);
    EXPECT_FALSE(result.mapDrawn);
    EXPECT_GT(DarkPixels(page, 0, 110, kPageW, 260), 100);
    EXPECT_EQ(DarkPixels(page, 0, kB - 5, kPageW, kSq + 10), 0);
    EXPECT_FALSE(
        HasColourNear(page, CellCentre(10, 10).x(), CellCentre(10, 10).y(), 3, Palette(4)));
}

TEST_F(PrintedPage, LeavesTheWindowScaleAsItWas) {
    PrintOnImage();
    EXPECT_EQ(viewer.display.viewHalfExtentKm, 120.0f);
}

TEST_F(PrintedPage, PdfFromPrintToFileShowsThePage) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const std::string pdf = dir.file("page.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setResolution(300);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setFullPage(true);
        // Qt rounds A4's 595 x 842 points down to whole pixels: 2479 x 3508.
        ASSERT_NEAR(printer.width(), kPageW, 1);
        ASSERT_NEAR(printer.height(), kPageH, 1);
        const PrintResult result = PrintPicture(printer, viewer);
        EXPECT_TRUE(result.mapDrawn);
    }
    CommandOutput("pdftoppm -r 300 -png -singlefile " + pdf + " " + dir.file("page"));
    QImage page;
    ASSERT_TRUE(page.load(QString::fromStdString(dir.file("page.png"))));
    ASSERT_NEAR(page.width(), kPageW, 1);
    ASSERT_NEAR(page.height(), kPageH, 1);
    page = page.convertToFormat(QImage::Format_RGB32);

    const QPoint printed = CellCentre(10, 10);
    EXPECT_TRUE(HasColourNear(page, printed.x(), printed.y(), 0, Palette(4), 3));
    const QPoint equal = CellCentre(10, 14);
    EXPECT_TRUE(HasColourNear(page, equal.x(), equal.y(), 0, kWhite, 3));
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 2, kB + 2, 3, kBlack, 60));  // frame
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 8, 1000, 2, kPrintBlue, 60));
    const int insideX = kA + static_cast<int>(projection.LonToX(37.5f));
    const int insideY = kB + static_cast<int>(projection.LatToY(55.5f));
    EXPECT_TRUE(HasColourNear(page, insideX, insideY, 2, kRed, 60));
    // Header text in its 14-point size: three lines, nothing above the first.
    EXPECT_EQ(DarkPixels(page, 0, 0, kPageW, 105), 0);
    for (int top : {110, 220, 330}) EXPECT_GT(DarkPixels(page, 0, top, kPageW, 60), 300) << top;
}

}  // namespace
}  // namespace kalvera
