#include "render/picture_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "geo/settings.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/map_files.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

// Each colour entry rule at its limits and just beyond them. Negative values
// are coloured as 0; weather codes past the palette take its last entry.
TEST(ColourEntryRules, TableOfLimits) {
    struct Row {
        const char* name;
        int layer;
        std::vector<std::pair<int, int>> valueEntry;
    };
    const Row rows[] = {
        {"reflectivity",
         3,
         {{-40, 1}, {0, 1}, {9, 1}, {10, 2}, {179, 18}, {180, 19}, {100000, 19}}},
        {"height",
         21,
         {{-5000, 0}, {0, 0}, {999, 0}, {1000, 1}, {18999, 18}, {19000, 19}, {1 << 30, 19}}},
        {"weather", 22, {{-1, 0}, {0, 0}, {3, 3}, {31, 31}, {32, 31}, {65535, 31}}}};
    for (const Row& row : rows)
        for (auto [value, entry] : row.valueEntry)
            EXPECT_EQ(ColourEntry(row.layer, value), entry) << row.name << " " << value;
}

TEST(LegendTexts, LabelsAndTitlesReadExactlyAsTheOperatorsKnowThem) {
    // The two spaces, the trailing blank and the overlapping ranges are meant.
    EXPECT_EQ(WeatherLabels()[15], "шквал  слабый");
    EXPECT_EQ(HeightLabels()[0], "0-999 ");
    EXPECT_EQ(ReflectivityLabels()[11], "61-65");
    EXPECT_EQ(ReflectivityLabels()[12], "65-70");
    EXPECT_EQ(LegendLabel(22, 3), "Осадки слабые");
    EXPECT_EQ(LegendLabel(22, 0), "");
    EXPECT_EQ(LegendLabel(5, 20), "");
    EXPECT_EQ(HeaderTitles()[6], "Долгота");
    EXPECT_EQ(LayerTitle(22), "Погода");
    EXPECT_EQ(LayerTitle(4), "Отр. 4 - 5 км.");
}

TEST(WindowGeometry, ScreenOf768LinesGivesASquareOf698) {
    const PictureLayout layout = ComputePictureLayout(176, 768 - 30);
    using Box = std::array<int, 4>;  // left, top, width, height
    auto box = [](const LayoutRect& r) { return Box{r.left, r.top, r.width, r.height}; };
    EXPECT_EQ(box(layout.header), (Box{186, 0, 698, 30}));
    EXPECT_EQ(box(layout.picture), (Box{186, 30, 698, 698}));
    EXPECT_EQ(box(layout.legend), (Box{186 + 698 + 10, 0, 100, 728}));
    EXPECT_EQ(WindowWidthFor(layout), 10 + 186 + 698 + 100 + 10);
    // Before the first render the view is a placeholder that still converts.
    EXPECT_FLOAT_EQ(ViewerState().view.XToLon(50.0f), 15.0f);
}

// A viewer with a distinct palette, a map with only its blue grid and a
// decoder that fills the grid from a function.
struct RenderFixture {
    testing::TempDir dir;
    ViewerState viewer;
    int decodes = 0;
    bool decodeOk = true;
    std::function<int32_t(int, int)> cell = [](int, int) { return 0; };

    RenderFixture() {
        testing::LayOut(viewer, 738);
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
    // Cell layer pixel at the centre of a grid cell (row from the south).
    uint32_t cellPixel(int row, int column) const {
        const double step = side() / 100.0;
        return PixelAt(viewer.PictureLayer.image, static_cast<int>((column + 0.5) * step),
                       static_cast<int>(side() - (row + 0.5) * step));
    }
    QImage window(const LayoutRect& r) const {
        return viewer.WindowDC.image.copy(r.left, r.top, r.width, r.height);
    }
};

TEST(PictureComposition, CellsAboveTheThresholdTakeTheirPaletteColour) {
    RenderFixture f;
    f.cell = [](int i, int j) { return i == 50 && j == 50 ? 15 : (i == 10 && j == 10 ? 5 : 0); };
    ASSERT_TRUE(RenderPicture(f.viewer));
    EXPECT_EQ(f.cellPixel(50, 50), 0x00FF00u);
    EXPECT_EQ(f.cellPixel(10, 10), 0x0000FFu);
    EXPECT_EQ(f.cellPixel(30, 70), kWhite);                          // value 0 is not drawn
    EXPECT_EQ(PixelAt(f.viewer.PictureLayer.image, 0, 100), kBlue);  // the frame
    EXPECT_EQ(f.viewer.gridMaximum, 15);
    EXPECT_EQ(f.viewer.display.gridRows, 100);
    EXPECT_EQ(f.viewer.display.gridCols, 100);
    EXPECT_FLOAT_EQ(f.viewer.display.viewLatMax, f.viewer.view.latMax);
    EXPECT_FLOAT_EQ(f.viewer.display.viewLonMin, f.viewer.view.lonMin);
    EXPECT_FLOAT_EQ(f.viewer.view.width, static_cast<float>(f.side()));
}

TEST(PictureComposition, NegativeValueIsColouredAsZeroButComparedAsItIs) {
    RenderFixture f;
    f.viewer.display.filterThreshold = -10;
    f.cell = [](int i, int j) { return i == 40 && j == 40 ? -3 : -20; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    EXPECT_EQ(f.cellPixel(40, 40), 0x0000FFu);  // entry 1
    EXPECT_EQ(f.cellPixel(60, 60), kWhite);     // -20 <= -10
    EXPECT_EQ(f.viewer.gridMaximum, 0);
}

TEST(PictureComposition, ThresholdAtTheMaximumLeavesOnlyTheMap) {
    RenderFixture f;
    f.cell = [](int i, int j) { return (i + j) % 50; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    f.viewer.display.filterThreshold = f.viewer.gridMaximum;
    ASSERT_TRUE(RenderPicture(f.viewer));
    for (int y = 1; y < f.side() - 1; y += 7)
        for (int x = 1; x < f.side() - 1; x += 7)
            ASSERT_EQ(PixelAt(f.viewer.PictureLayer.image, x, y), kWhite) << x << "," << y;
}

TEST(PictureComposition, WhiteCellsLeaveTheMapColouredCellsDarkenItsLines) {
    RenderFixture f;
    f.cell = [](int i, int j) { return j >= 50 && i >= 20 && i < 80 ? 5 : 0; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    const int y = f.side() / 2 + 3;
    const int whiteHalfLine = (f.side() / 8) * 2, redHalfLine = (f.side() / 8) * 5;
    EXPECT_EQ(f.shown(whiteHalfLine, y), kBlue);
    EXPECT_EQ(f.shown(whiteHalfLine + 3, y), kWhite);
    EXPECT_EQ(f.shown(redHalfLine, y), kBlack);    // red AND blue
    EXPECT_EQ(f.shown(redHalfLine + 3, y), kRed);  // red AND white
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

TEST(Legend, BoxesFillTheLegendHeightExactlyAndCarryTheirLabels) {
    RenderFixture f;  // legend height 728, not a multiple of 19
    DrawLegend(f.viewer, f.viewer.WindowDC);
    const QImage& legend = f.viewer.LegendLayer.image;
    const int h = f.viewer.layout.legend.height;
    ASSERT_EQ(legend.size(), QSize(100, h));
    EXPECT_EQ(PixelAt(legend, 50, 0), kBlack);         // top of box 19
    EXPECT_EQ(PixelAt(legend, 95, 2), 0xFF00FFu);      // inside box 19
    EXPECT_EQ(PixelAt(legend, 95, h - 3), 0x0000FFu);  // inside box 1
    EXPECT_EQ(PixelAt(legend, 50, h - 1), kBlack);     // bottom of box 1
    EXPECT_EQ(PixelAt(legend, 95, h - (2 * h) / 19 + 2), 0x00FF00u);
    EXPECT_EQ(PixelAt(f.viewer.WindowDC.image, f.viewer.layout.legend.left + 95, 2), 0xFF00FFu);
    int ink = 0;  // the label of box 1
    for (int y = h - h / 19 + 3; y < h - h / 19 + 14; ++y)
        for (int x = 10; x < 40; ++x) ink += PixelAt(legend, x, y) != 0x0000FFu;
    EXPECT_GT(ink, 5);
}

// On white boxes, the two columns before the right rim carry no ink except on
// the boxes' own rims: no label runs into the edge.
TEST(Legend, EveryLabelOfTheThreeTablesEndsInsideTheLegend) {
    RenderFixture f;
    f.viewer.config.palette.fill(kWhite);
    for (int layer : {kLayerWeather, kLayerEchoTops, 3}) {
        f.viewer.display.layerCode = layer;
        DrawLegend(f.viewer, f.viewer.WindowDC);
        const QImage& legend = f.viewer.LegendLayer.image;
        int inkAtTheEdge = 0;
        for (int y = 0; y < legend.height(); ++y) {
            if (PixelAt(legend, 1, y) == kBlack) continue;  // a rim row
            inkAtTheEdge += PixelAt(legend, 97, y) != kWhite || PixelAt(legend, 98, y) != kWhite;
        }
        EXPECT_EQ(inkAtTheEdge, 0) << "layer " << layer;
    }
}

TEST(Legend, LabelsStandOutInBlackOrWhite) {
    // Boxes of the shipped palette (0x00BBGGRR) and the two extremes.
    const struct {
        uint32_t box, label;
    } rows[] = {{kWhite, kBlack},   {0x50EBFA, kBlack}, {0x46BE46, kBlack},
                {0x1E8C14, kWhite}, {0x2828E6, kWhite}, {kBlack, kWhite}};
    for (const auto& row : rows)
        EXPECT_EQ(LabelColourOn(row.box), row.label) << std::hex << row.box;
}

// A file's legend holds nothing but the palette's boxes and labels in black
// or white, which an animated GIF keeps exactly; the window smooths its labels.
TEST(Legend, OnlyTheWindowSmoothsTheLabels) {
    RenderFixture f;
    f.viewer.config.palette[5] = kNavy;
    for (const bool onScreen : {false, true}) {
        f.viewer.onScreen = onScreen;
        DrawLegend(f.viewer, f.viewer.WindowDC);
        const QImage& legend = f.viewer.LegendLayer.image;
        std::set<uint32_t> colours;
        for (int y = 0; y < legend.height(); ++y)
            for (int x = 0; x < legend.width(); ++x) colours.insert(PixelAt(legend, x, y));
        const auto& palette = f.viewer.config.palette;
        const size_t foreign = std::count_if(colours.begin(), colours.end(), [&](uint32_t c) {
            return c != kBlack && c != kWhite &&
                   std::find(palette.begin() + 1, palette.begin() + 20, c) == palette.begin() + 20;
        });
        EXPECT_EQ(foreign > 0, onScreen) << foreign << " colours beside the palette's";
    }
}

TEST(Repaint, CoveringAndUncoveringRestoresWithoutANewDecode) {
    RenderFixture f;
    f.viewer.display.termText = "12.30";
    f.cell = [](int i, int j) { return (i * j) % 120; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    RepaintWindow(f.viewer, false);
    const QImage picture = f.window(f.viewer.layout.picture);
    const QImage legend = f.window(f.viewer.layout.legend);
    LayoutRect termCells = f.viewer.layout.header;  // titles and term, columns 0 and 1
    termCells.width = 2 * (termCells.width / 7);
    const QImage header = f.window(termCells);
    const int decodes = f.decodes;

    f.viewer.WindowDC.image.fill(Qt::darkGray);  // another window lay over ours
    RepaintWindow(f.viewer, false);
    EXPECT_EQ(f.decodes, decodes);
    EXPECT_EQ(f.window(f.viewer.layout.picture), picture);
    EXPECT_EQ(f.window(f.viewer.layout.legend), legend);
    EXPECT_EQ(f.window(termCells), header);
}

TEST(Repaint, EmptyTermListShowsTheMapAloneAndEmptiesTheTermCells) {
    RenderFixture f;
    f.cell = [](int, int) { return 50; };
    ASSERT_TRUE(RenderPicture(f.viewer));
    WriteHeaderCell(f.viewer, 0, "12.30");
    RepaintWindow(f.viewer, true);
    const int c = f.side() / 2 + 3;
    EXPECT_EQ(f.shown(c, c), PixelAt(f.viewer.MapLayer.image, c, c));
    const LayoutRect& head = f.viewer.layout.header;
    for (int x = head.left + 2; x < head.left + head.width / 7 - 2; ++x)
        for (int y = 17; y < 28; ++y)
            ASSERT_EQ(PixelAt(f.viewer.WindowDC.image, x, y), 0xC0C0C0u) << x << "," << y;
}

TEST(HeaderCells, WriteCentresTheTextAndIgnoresColumnsOutsideTheStrip) {
    RenderFixture f;
    WriteHeaderCell(f.viewer, 3, "90");
    const int cw = f.viewer.layout.header.width / 7;
    const int left = f.viewer.layout.header.left + 3 * cw;
    int first = -1, last = -1;
    for (int x = left + 2; x < left + cw - 2; ++x)
        for (int y = 17; y < 28; ++y)
            if (PixelAt(f.viewer.WindowDC.image, x, y) != 0xC0C0C0u) {
                if (first < 0) first = x;
                last = x;
            }
    ASSERT_GE(first, 0);
    EXPECT_NEAR((first + last) / 2.0, left + cw / 2, 2.0);
    const QImage before = f.viewer.WindowDC.image.copy();
    WriteHeaderCell(f.viewer, 7, "x");
    WriteHeaderCell(f.viewer, -1, "x");
    EXPECT_EQ(f.viewer.WindowDC.image, before);
}

TEST(HeaderCells, ATextTooLongForItsCellNeverRunsIntoTheNextOne) {
    const char* texts[] = {"Погода шквал сильный", "Макс. отражаемость",
                           "Погода шквал сильный, шквал сильный, град сильный"};
    for (const char* text : texts) {
        RenderFixture f;
        const int cw = f.viewer.layout.header.width / 7;
        const int left = f.viewer.layout.header.left + 2 * cw;
        const QImage before = f.viewer.WindowDC.image.copy();
        WriteHeaderCell(f.viewer, 2, text);
        const QImage& after = f.viewer.WindowDC.image;
        EXPECT_EQ(after.copy(0, 0, left, 40), before.copy(0, 0, left, 40)) << text;
        EXPECT_EQ(after.copy(left + cw, 0, after.width() - left - cw, 40),
                  before.copy(left + cw, 0, after.width() - left - cw, 40))
            << text;
        EXPECT_NE(after.copy(left, 16, cw, 14), before.copy(left, 16, cw, 14)) << text;
    }
}

}  // namespace
}  // namespace kalvera
