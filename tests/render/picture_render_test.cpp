#include "render/picture_render.h"

#include <gtest/gtest.h>

#include "geo/settings.h"
#include "render/legend_tables.h"
#include "render/map_files.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

using testing::TempDir;

// Colour entry rules, each at its boundaries.
TEST(ColourEntryRules, ReflectivityTakesOneEntryPerTenFromEntryOne) {
    EXPECT_EQ(ColourEntry(3, 0), 1);
    EXPECT_EQ(ColourEntry(3, 9), 1);
    EXPECT_EQ(ColourEntry(3, 10), 2);
    EXPECT_EQ(ColourEntry(3, 19), 2);
    EXPECT_EQ(ColourEntry(3, 179), 18);
    EXPECT_EQ(ColourEntry(3, 180), 19);
    EXPECT_EQ(ColourEntry(3, 100000), 19);
    EXPECT_EQ(ColourEntry(0, -40), 1);  // negatives are coloured as 0
}

TEST(ColourEntryRules, HeightsBelow1000TakeEntryZero) {
    EXPECT_EQ(ColourEntry(21, 0), 0);
    EXPECT_EQ(ColourEntry(21, 999), 0);
    EXPECT_EQ(ColourEntry(21, 1000), 1);
    EXPECT_EQ(ColourEntry(21, 1999), 1);
    EXPECT_EQ(ColourEntry(21, 18999), 18);
    EXPECT_EQ(ColourEntry(21, 19000), 19);
    EXPECT_EQ(ColourEntry(21, 2000000000), 19);
    EXPECT_EQ(ColourEntry(21, -5000), 0);
}

TEST(ColourEntryRules, WeatherCodesIndexThePaletteAndStayInsideIt) {
    EXPECT_EQ(ColourEntry(22, 3), 3);
    EXPECT_EQ(ColourEntry(22, 0), 0);
    EXPECT_EQ(ColourEntry(22, 31), 31);
    EXPECT_EQ(ColourEntry(22, 32), 31);
    EXPECT_EQ(ColourEntry(22, 65535), 31);
    EXPECT_EQ(ColourEntry(22, -1), 0);
}

TEST(LegendTexts, TablesReadExactlyAsTheOperatorsKnowThem) {
    EXPECT_EQ(WeatherLabels()[2], "Осадки слабые");
    EXPECT_EQ(WeatherLabels()[15], "шквал  слабый");
    EXPECT_EQ(WeatherLabels()[18], "торнадо");
    EXPECT_EQ(HeightLabels()[0], "0-999 ");
    EXPECT_EQ(HeightLabels()[18], ">=18000");
    EXPECT_EQ(ReflectivityLabels()[11], "61-65");
    EXPECT_EQ(ReflectivityLabels()[12], "65-70");
    EXPECT_EQ(ReflectivityLabels()[18], ">96");
    EXPECT_EQ(LegendLabel(22, 3), "Осадки слабые");
    EXPECT_EQ(LegendLabel(22, 0), "");
    EXPECT_EQ(LegendLabel(5, 20), "");
}

TEST(LegendTexts, HeaderAndLayerTitles) {
    EXPECT_EQ(HeaderTitles()[0], "Срок");
    EXPECT_EQ(HeaderTitles()[6], "Долгота");
    EXPECT_EQ(LayerTitle(22), "Погода");
    EXPECT_EQ(LayerTitle(21), "Верх.граница");
    EXPECT_EQ(LayerTitle(4), "Отр. 4 - 5 км.");
    EXPECT_EQ(LayerTitle(0), "Отр. 0 - 1 км.");
}

TEST(WindowGeometry, ScreenOf768LinesGivesASquareOf698) {
    const PictureLayout layout = ComputePictureLayout(176, 768 - 30);
    EXPECT_EQ(layout.header.top, 0);
    EXPECT_EQ(layout.header.left, 186);
    EXPECT_EQ(layout.header.width, 698);
    EXPECT_EQ(layout.header.height, 30);
    EXPECT_EQ(layout.picture.top, 30);
    EXPECT_EQ(layout.picture.left, 186);
    EXPECT_EQ(layout.picture.width, 698);
    EXPECT_EQ(layout.picture.height, 698);
    EXPECT_EQ(layout.legend.top, 0);
    EXPECT_EQ(layout.legend.left, 186 + 698 + 10);
    EXPECT_EQ(layout.legend.width, 100);
    EXPECT_EQ(layout.legend.height, 728);
    EXPECT_EQ(WindowWidthFor(layout), 10 + 186 + 698 + 100 + 10);
}

TEST(WindowGeometry, ViewBeforeTheFirstRenderIsAPlaceholder) {
    const ViewerState viewer;
    EXPECT_FLOAT_EQ(viewer.view.width, 100.0f);
    EXPECT_FLOAT_EQ(viewer.view.lonMin, 10.0f);
    EXPECT_FLOAT_EQ(viewer.view.latMax, 20.0f);
    EXPECT_FLOAT_EQ(viewer.view.XToLon(50.0f), 15.0f);
}

// A viewer with a distinct palette, a map with one blue grid and a decoder
// that fills the grid from a function.
struct RenderFixture {
    TempDir dir;
    ViewerState viewer;
    int decodes = 0;
    bool decodeOk = true;
    std::function<int32_t(int, int)> cell = [](int, int) { return 0; };

    explicit RenderFixture(int clientHeight = 738) {
        testing::LayOut(viewer, clientHeight);
        viewer.config.startDir = dir.str();
        viewer.config.palette = DefaultPalette();
        viewer.config.palette[1] = 0x0000FF;   // red
        viewer.config.palette[2] = 0x00FF00;   // green
        viewer.config.palette[19] = 0xFF00FF;  // magenta
        testing::WriteOutlines(dir, {});
        DisplayState& d = viewer.display;
        d.viewLat = d.siteLat = 55.0f;
        d.viewLon = d.siteLon = 37.0f;
        d.viewHalfExtentKm = 200.0f;
        d.layerCode = 3;
        viewer.decoder = [this](int32_t, RadarPicture& picture, DisplayState&) {
            ++decodes;
            if (!decodeOk) return false;
            for (int i = 0; i < kGridSide; ++i)
                for (int j = 0; j < kGridSide; ++j) picture.values[i * kGridSide + j] = cell(i, j);
            return true;
        };
    }
    int side() const { return viewer.side(); }
    // Window pixel at a position of the picture area.
    uint32_t shown(int x, int y) const {
        return PixelAt(viewer.WindowDC.image, viewer.layout.picture.left + x,
                       viewer.layout.picture.top + y);
    }
    // Centre of grid cell (row from the south, column from the west) in picture pixels.
    std::pair<int, int> cellCentre(int row, int column) const {
        const double step = side() / 100.0;
        return {static_cast<int>((column + 0.5) * step),
                static_cast<int>(side() - (row + 0.5) * step)};
    }
};

TEST(PictureComposition, CellsAboveTheThresholdTakeTheirPaletteColour) {
    RenderFixture f;
    f.cell = [](int i, int j) { return i == 50 && j == 50 ? 15 : (i == 10 && j == 10 ? 5 : 0); };
    ASSERT_TRUE(RenderPicture(f.viewer));
    auto [x, y] = f.cellCentre(50, 50);
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, x, y), 0x00FF00u);
    auto [x2, y2] = f.cellCentre(10, 10);
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, x2, y2), 0x0000FFu);
    auto [x3, y3] = f.cellCentre(30, 70);
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, x3, y3), kWhite);  // value 0 not drawn
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, 0, 100), kBlue);   // the frame
    EXPECT_EQ(f.viewer.gridMaximum, 15);
    EXPECT_EQ(f.viewer.display.gridRows, 100);
    EXPECT_EQ(f.viewer.display.gridCols, 100);
}

TEST(PictureComposition, NegativeValueIsColouredAsZeroButComparedAsItIs) {
    RenderFixture f;
    f.viewer.display.filterThreshold = -10;
    f.cell = [](int i, int j) { return i == 40 && j == 40 ? -3 : -20; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    auto [x, y] = f.cellCentre(40, 40);
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, x, y), 0x0000FFu);  // entry 1
    auto [x2, y2] = f.cellCentre(60, 60);
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, x2, y2), kWhite);  // -20 <= -10
    EXPECT_EQ(f.viewer.gridMaximum, 0);
}

TEST(PictureComposition, ThresholdAtTheMaximumLeavesOnlyTheMap) {
    RenderFixture f;
    f.cell = [](int i, int j) { return (i + j) % 50; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    f.viewer.display.filterThreshold = f.viewer.gridMaximum;
    ASSERT_TRUE(RenderPicture(f.viewer));
    const int side = f.side();
    for (int y = 1; y < side - 1; y += 7)
        for (int x = 1; x < side - 1; x += 7)
            ASSERT_EQ(PixelAt(f.viewer.PictureLayer.image, x, y), kWhite) << x << "," << y;
}

TEST(PictureComposition, WhiteCellsLeaveTheMapColouredCellsDarkenItsLines) {
    RenderFixture f;
    f.cell = [](int i, int j) { return j >= 50 && i >= 20 && i < 80 ? 5 : 0; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    const int side = f.side();
    const int gridX = (side / 8) * 2;  // a vertical grid line in the white half
    const int y = side / 2 + 3;
    EXPECT_EQ(f.shown(gridX, y), kBlue);
    EXPECT_EQ(f.shown(gridX + 3, y), kWhite);
    const int gridX2 = (side / 8) * 5;        // a grid line under the red cells
    EXPECT_EQ(f.shown(gridX2, y), kBlack);    // red AND blue
    EXPECT_EQ(f.shown(gridX2 + 3, y), kRed);  // red AND white
}

TEST(PictureComposition, FailedDecodeChangesNothing) {
    RenderFixture f;
    f.cell = [](int, int) { return 5; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    const QImage window = f.viewer.WindowDC.image.copy();
    const QImage cells = f.viewer.PictureLayer.image.copy();
    f.decodeOk = false;
    f.viewer.display.viewLat = 60.0f;
    EXPECT_FALSE(RenderPicture(f.viewer));
    EXPECT_EQ(f.viewer.display.messageOffset, -1);
    EXPECT_EQ(f.viewer.WindowDC.image, window);
    EXPECT_EQ(f.viewer.PictureLayer.image, cells);
    EXPECT_FLOAT_EQ(f.viewer.view.lat0, 55.0f);
}

TEST(PictureComposition, EmptyGridGivesMaximumZeroAndStoresTheViewBounds) {
    RenderFixture f;
    ASSERT_TRUE(RenderPicture(f.viewer));
    EXPECT_EQ(f.viewer.gridMaximum, 0);
    EXPECT_FLOAT_EQ(f.viewer.display.viewLatMax, f.viewer.view.latMax);
    EXPECT_FLOAT_EQ(f.viewer.display.viewLonMin, f.viewer.view.lonMin);
    EXPECT_FLOAT_EQ(f.viewer.view.width, static_cast<float>(f.side()));
}

TEST(Legend, BoxesFillTheLegendHeightExactly) {
    RenderFixture f;  // legend height 728, not a multiple of 19
    DrawLegend(f.viewer, f.viewer.WindowDC);
    const QImage& legend = f.viewer.LegendLayer.image;
    const int h = f.viewer.layout.legend.height;
    ASSERT_EQ(legend.height(), h);
    ASSERT_EQ(legend.width(), 100);
    EXPECT_EQ(PixelAt(legend, 50, 0), kBlack);         // top of box 19
    EXPECT_EQ(PixelAt(legend, 95, 2), 0xFF00FFu);      // inside box 19
    EXPECT_EQ(PixelAt(legend, 95, h - 3), 0x0000FFu);  // inside box 1
    EXPECT_EQ(PixelAt(legend, 50, h - 1), kBlack);     // bottom of box 1
    const int box2Top = h - (2 * h) / 19;
    EXPECT_EQ(PixelAt(legend, 95, box2Top + 2), 0x00FF00u);
    // Copied to the legend area of the window.
    EXPECT_EQ(PixelAt(f.viewer.WindowDC.image, f.viewer.layout.legend.left + 95, 2), 0xFF00FFu);
}

TEST(Legend, LabelsAreWrittenInEachBox) {
    RenderFixture f;
    DrawLegend(f.viewer, f.viewer.WindowDC);
    const QImage& legend = f.viewer.LegendLayer.image;
    const int h = f.viewer.layout.legend.height;
    const int top = h - h / 19;  // box 1
    int ink = 0;
    for (int y = top + 3; y < top + 14; ++y)
        for (int x = 10; x < 40; ++x) ink += PixelAt(legend, x, y) != 0x0000FFu;
    EXPECT_GT(ink, 5);
}

TEST(Repaint, CoveringAndUncoveringRestoresWithoutANewDecode) {
    RenderFixture f;
    f.viewer.display.termText = "12.30";
    f.cell = [](int i, int j) { return (i * j) % 120; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    RepaintWindow(f.viewer, false);
    const QImage before = f.viewer.WindowDC.image.copy();
    const int decodes = f.decodes;

    f.viewer.WindowDC.image.fill(Qt::darkGray);  // another window lay over ours
    RepaintWindow(f.viewer, false);
    EXPECT_EQ(f.decodes, decodes);
    const LayoutRect& pic = f.viewer.layout.picture;
    const LayoutRect& leg = f.viewer.layout.legend;
    EXPECT_EQ(f.viewer.WindowDC.image.copy(pic.left, pic.top, pic.width, pic.height),
              before.copy(pic.left, pic.top, pic.width, pic.height));
    EXPECT_EQ(f.viewer.WindowDC.image.copy(leg.left, leg.top, leg.width, leg.height),
              before.copy(leg.left, leg.top, leg.width, leg.height));
    // Header titles and the term cell (columns 0 and 1) are back too.
    const LayoutRect& head = f.viewer.layout.header;
    const int cw = head.width / 7;
    EXPECT_EQ(f.viewer.WindowDC.image.copy(head.left, 0, 2 * cw, 30),
              before.copy(head.left, 0, 2 * cw, 30));
}

TEST(Repaint, EmptyTermListShowsTheMapAloneAndEmptiesTheTermCells) {
    RenderFixture f;
    f.cell = [](int, int) { return 50; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    WriteHeaderCell(f.viewer, 0, "12.30");
    RepaintWindow(f.viewer, true);
    const int side = f.side();
    EXPECT_EQ(f.shown(side / 2 + 3, side / 2 + 3),
              PixelAt(f.viewer.MapLayer.image, side / 2 + 3, side / 2 + 3));
    const LayoutRect& head = f.viewer.layout.header;
    const int cw = head.width / 7;
    for (int x = head.left + 2; x < head.left + cw - 2; ++x)
        for (int y = 17; y < 28; ++y)
            ASSERT_EQ(PixelAt(f.viewer.WindowDC.image, x, y), 0xC0C0C0u) << x << "," << y;
}

TEST(HeaderCells, WriteCentresTheTextAndIgnoresColumnsOutsideTheStrip) {
    RenderFixture f;
    WriteHeaderCell(f.viewer, 3, "90");
    const LayoutRect& head = f.viewer.layout.header;
    const int cw = head.width / 7;
    int first = -1, last = -1;
    for (int x = head.left + 3 * cw; x < head.left + 4 * cw; ++x)
        for (int y = 17; y < 28; ++y)
            if (PixelAt(f.viewer.WindowDC.image, x, y) != 0xC0C0C0u && x > head.left + 3 * cw + 1 &&
                x < head.left + 4 * cw - 2) {
                if (first < 0) first = x;
                last = x;
            }
    ASSERT_GE(first, 0);
    const int middle = head.left + 3 * cw + cw / 2;
    EXPECT_NEAR((first + last) / 2.0, middle, 2.0);
    const QImage before = f.viewer.WindowDC.image.copy();
    WriteHeaderCell(f.viewer, 7, "x");
    WriteHeaderCell(f.viewer, -1, "x");
    EXPECT_EQ(f.viewer.WindowDC.image, before);
}

}  // namespace
}  // namespace kalvera
