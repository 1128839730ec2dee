#include "output/print_page.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <memory>

#include "common/date_time.h"
#include "geo/colour_table.h"
#include "geo/radar_grid.h"
#include "output/output_test_support.h"
#include "products/derived_products.h"
#include "render/picture_render.h"

namespace kalvera {
namespace {

using testing::DarkPixels;
using testing::HasColourNear;

// A4 at 300 dots per inch: 11.81 printer pixels per millimetre, the square of
// 2360 pixels (199.8 mm) centred across the page, 472 pixels (40 mm) down.
constexpr int kPageW = 2480;
constexpr int kPageH = 3508;
constexpr int kDotsPerMetre = 11811;  // 300 dots per inch
constexpr int kA = 60;
constexpr int kB = 472;
constexpr int kSq = 2360;
constexpr int kLineTops[3] = {118, 236, 354};

// Centre of cell (row i from the south, column j from the west) on the page,
// when the view is centred on the site.
QPoint CellCentre(int i, int j) {
    static const CellEdges edges =
        RadarGrid::AroundSite(37.0f, 55.0f)
            .EdgesOn(Viewport::Square(kSq, 37.0f, 55.0f, 200.0f, kA, kB));
    const auto c = static_cast<size_t>(j), r = static_cast<size_t>(i);
    return {(edges.x[c] + edges.x[c + 1]) / 2, (edges.y[r] + edges.y[r + 1]) / 2};
}

// Mean x of the dark pixels in a band of rows.
double InkCentreX(const QImage& page, int top, int height) {
    double sum = 0.0;
    int count = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                sum += x;
                ++count;
            }
    return count > 0 ? sum / count : -1.0;
}

// A site at 55 N 37 E with an outline along 54.5 N, places inside and on the
// square's top and right borders, and two cells of layer 4: one above the
// threshold of 20, one equal to it.
class PrintedPage : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::WriteMapFiles(dir.path(), {{{54.5f, 35.0f}, {54.5f, 39.0f}}},
                               {{"Inside", {55.5f, 37.5f}},
                                {"TopBorder", {map.latMax, 37.2f}},
                                {"RightBorder", {55.2f, map.lonMax}}});
        viewer.config.startDir = dir.path();
        for (uint32_t k = 1; k < 32; ++k) viewer.config.palette[k] = 0x050709u * k;
        viewer.config.palette[0] = kWhite;
        viewer.config.siteTable.codes = {"26063"};
        viewer.config.siteTable.names = {"Внуково"};
        DisplayState& d = viewer.display;
        d.siteCode = "26063";
        d.termText = "10.30";
        d.currentDate = EncodeDate(2009, 3, 15);
        d.layerCode = 4;
        d.filterThreshold = 20;
        d.viewLat = d.siteLat = 55.0f;
        d.viewLon = d.siteLon = 37.0f;
        d.viewHalfExtentKm = 120.0f;
        viewer.picture.values.fill(0);
        cell(10, 10) = 30;
        cell(10, 14) = 20;
    }
    int32_t& cell(int i, int j) { return viewer.picture.values[static_cast<size_t>(i * 100 + j)]; }
    QImage print(PrintResult* result = nullptr) {
        QImage page(kPageW, kPageH, QImage::Format_RGB32);
        page.setDotsPerMeterX(kDotsPerMetre);
        page.setDotsPerMeterY(kDotsPerMetre);
        page.fill(Qt::white);
        const PrintResult r = PrintPicture(page, viewer);
        if (result) *result = r;
        return page;
    }
    static uint32_t at(const QImage& page, QPoint p) { return PixelAt(page, p.x(), p.y()); }
    uint32_t palette(int entry) const { return viewer.config.palette[static_cast<size_t>(entry)]; }
    QPoint onPage(float lat, float lon) const {
        return {kA + static_cast<int>(map.LonToX(lon)), kB + static_cast<int>(map.LatToY(lat))};
    }

    testing::TempDir dir;
    MapProjection map = MapProjection::Init(kSq, kSq, 37.0f, 55.0f, 200.0f);
    ViewerState viewer;
};

TEST_F(PrintedPage, HeaderLinesFramedSquareRingsAndGridAndTheWindowScaleKept) {
    PrintResult result;
    const QImage page = print(&result);
    EXPECT_TRUE(result.pageBegun);
    EXPECT_TRUE(result.mapDrawn);
    EXPECT_EQ(viewer.display.viewHalfExtentKm, 120.0f);
    // Header lines from 10, 20 and 30 mm, centred on the page, nothing above
    // or between them.
    EXPECT_EQ(DarkPixels(page, 0, 0, kPageW, kLineTops[0]), 0);
    for (int top : kLineTops) {
        EXPECT_GT(DarkPixels(page, 0, top, kPageW, 40), 30) << top;
        EXPECT_NEAR(InkCentreX(page, top, 40), kPageW / 2.0, 8.0) << top;
    }
    EXPECT_EQ(DarkPixels(page, 0, kLineTops[1] + 40, kPageW, 70), 0);
    // The black frame on the square's edges; nothing left of it.
    for (QPoint p :
         {QPoint(kA, 700), QPoint(kA + kSq, 700), QPoint(700, kB), QPoint(700, kB + kSq)})
        EXPECT_EQ(at(page, p), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(PixelAt(page, kA - 10, 700), kWhite);
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 8, 1000, 1, kBlue));  // grid every eighth
    EXPECT_TRUE(HasColourNear(page, 1000, kB + 3 * kSq / 8, 1, kBlue));
    // Rings 295 pixels (25 km) apart, the outer one touching the square's edges.
    const int cx = kA + kSq / 2, cy = kB + kSq / 2;
    for (int r : {1180, 885, 590, 295})
        EXPECT_TRUE(HasColourNear(page, cx + static_cast<int>(r * 0.7071),
                                  cy - static_cast<int>(r * 0.7071), 2, kBlue))
            << r;
    EXPECT_FALSE(HasColourNear(page, cx + 730, cy - 730, 2, kBlue));  // r = 1032: no ring
}

TEST_F(PrintedPage, CellsTakeTheScreenPaletteEntryClampedAndSkipTheThreshold) {
    QImage page = print();
    ASSERT_EQ(ColourEntry(4, 30), 4);
    EXPECT_EQ(at(page, CellCentre(10, 10)), palette(4));
    EXPECT_EQ(at(page, CellCentre(10, 14)), kWhite);  // equal to the threshold
    EXPECT_EQ(at(page, CellCentre(50, 60)), kWhite);  // 0 is not above it either

    viewer.display.layerCode = 22;
    viewer.display.filterThreshold = 0;
    cell(10, 10) = 5000;  // a weather code far past the palette
    cell(20, 20) = 3;
    page = print();
    EXPECT_EQ(at(page, CellCentre(10, 10)), palette(31));
    EXPECT_EQ(at(page, CellCentre(20, 20)), palette(3));
}

TEST_F(PrintedPage, AKeyIsPrintedBelowTheMapOnlyWhereThePaletteAloneCannotBeRead) {
    const auto grey = std::make_shared<ColourTable>();
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ParseColourTable("Units: dBZ\nColor: 0 250 250 250\nColor: 60 20 20 20\n",
                                 "grey.pal", *grey, error, warnings));
    const struct {
        int layer;
        bool table;
        bool key;
    } rows[] = {{4, false, false},
                {4, true, true},
                {kLayerColumnMax, false, true},
                {kLayerVil, false, true},
                {22, false, false}};
    for (const auto& row : rows) {
        viewer.display.layerCode = row.layer;
        viewer.config.colours.tables = {};
        if (row.table) viewer.config.colours.tables[0] = grey;
        const QImage page = print();
        EXPECT_EQ(DarkPixels(page, 0, kB + kSq + 10, kPageW, kPageH - kB - kSq - 10) > 100, row.key)
            << row.layer << " " << row.table;
    }
}

TEST_F(PrintedPage, CellsStayOnTheRadarSiteWhenTheViewIsPanned) {
    // The view 100 km east of the site: the site's cells sit 100 km (590
    // pixels) further west on paper, and nothing is printed outside the square.
    viewer.display.viewLon = 37.0f + 100.0f / 200.0f * map.dLon;
    cell(10, 10) = 0;
    cell(50, 70) = 30;  // 80 km east of the site
    cell(50, 2) = 30;   // 292 km west of the view, off the paper
    const QImage page = print();
    const QPoint site = CellCentre(50, 70);
    EXPECT_EQ(PixelAt(page, site.x() - 590, site.y()), palette(4));
    EXPECT_EQ(at(page, site), kWhite);
    for (int x = 0; x < kA - 2; ++x) ASSERT_EQ(PixelAt(page, x, site.y()), kWhite) << x;
}

TEST_F(PrintedPage, PlacesOnTheBorderAreLeftOutAndOutlinesAreOpenLines) {
    const QImage page = print();
    const QPoint inside = onPage(55.5f, 37.5f);
    EXPECT_TRUE(HasColourNear(page, inside.x(), inside.y(), 2, kRed));
    ASSERT_EQ(onPage(map.latMax, 37.2f).y(), kB);
    ASSERT_EQ(onPage(55.2f, map.lonMax).x(), kA + kSq);
    for (QPoint border : {onPage(map.latMax, 37.2f), onPage(55.2f, map.lonMax)})
        EXPECT_FALSE(HasColourNear(page, border.x(), border.y(), 8, kRed));
    // The outline runs from 35 E to 39 E and is not closed back along itself.
    const QPoint west = onPage(54.5f, 35.0f);
    EXPECT_TRUE(HasColourNear(page, 700, west.y(), 1, kBlack));
    EXPECT_TRUE(HasColourNear(page, west.x() + 3, west.y(), 1, kBlack));
    EXPECT_FALSE(HasColourNear(page, west.x() - 20, west.y(), 3, kBlack));
}

TEST_F(PrintedPage, WithoutOutlineFilesOnlyTheHeaderIsPrinted) {
    std::filesystem::remove(dir.file("res/country.ind"));
    PrintResult result;
    const QImage page = print(&result);
    EXPECT_TRUE(result.pageBegun);
    EXPECT_FALSE(result.mapDrawn);
    EXPECT_GT(DarkPixels(page, 0, kLineTops[0], kPageW, 280), 100);
    EXPECT_EQ(DarkPixels(page, 0, kB - 5, kPageW, kSq + 10), 0);
    EXPECT_FALSE(
        HasColourNear(page, CellCentre(10, 10).x(), CellCentre(10, 10).y(), 3, palette(4)));
}

TEST_F(PrintedPage, PdfFromPrintToFileShowsThePage) {
    if (!testing::HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
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
        EXPECT_TRUE(PrintPicture(printer, viewer).mapDrawn);
    }
    testing::CommandOutput("pdftoppm -r 300 -png -singlefile " + pdf + " " + dir.file("page"));
    QImage page;
    ASSERT_TRUE(page.load(QString::fromStdString(dir.file("page.png"))));
    ASSERT_NEAR(page.width(), kPageW, 1);
    ASSERT_NEAR(page.height(), kPageH, 1);
    page = page.convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(
        HasColourNear(page, CellCentre(10, 10).x(), CellCentre(10, 10).y(), 0, palette(4), 3));
    EXPECT_TRUE(HasColourNear(page, CellCentre(10, 14).x(), CellCentre(10, 14).y(), 0, kWhite, 3));
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 2, kB + 2, 3, kBlack, 60));  // frame
    EXPECT_TRUE(HasColourNear(page, kA + kSq / 8, 1000, 2, kBlue, 60));
    EXPECT_TRUE(
        HasColourNear(page, onPage(55.5f, 37.5f).x(), onPage(55.5f, 37.5f).y(), 2, kRed, 60));
    // Header text in its 14-point size: three lines, nothing above the first.
    EXPECT_EQ(DarkPixels(page, 0, 0, kPageW, kLineTops[0] - 5), 0);
    for (int top : kLineTops) EXPECT_GT(DarkPixels(page, 0, top, kPageW, 60), 300) << top;
}

}  // namespace
}  // namespace kalvera
