// Pictures for high-density screens: drawn in device pixels, with cells that
// meet exactly and hold only their own colour, and a view that stays logical.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "geo/settings.h"
#include "render/map_files.h"
#include "render/picture_render.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

constexpr uint32_t kCellA = 0x0000FF;  // palette entry 1
constexpr uint32_t kCellB = 0x00FF00;  // palette entry 2

// A picture of 238 logical pixels that the grid covers whole, drawn
// at a device pixel ratio with cell values from a function.
struct RatioPicture {
    testing::TempDir dir;
    ViewerState viewer;

    RatioPicture(double ratio, std::function<int32_t(int, int)> cell) {
        testing::LayOut(viewer, 278, ratio);
        viewer.config.startDir = dir.str();
        viewer.config.palette = DefaultPalette();
        viewer.config.palette[1] = kCellA;
        viewer.config.palette[2] = kCellB;
        testing::WriteOutlines(dir, {});
        DisplayState& d = viewer.display;
        d.viewLat = d.siteLat = 55.0f;
        d.viewLon = d.siteLon = 37.0f;
        d.viewHalfExtentKm = 50.0f;  // cells of about ten pixels, all in the grid
        d.layerCode = 3;
        viewer.decoder = [cell](int32_t, RadarPicture& picture, DisplayState&) {
            for (int i = 0; i < kGridSide; ++i)
                for (int j = 0; j < kGridSide; ++j) picture.values[i * kGridSide + j] = cell(i, j);
            return true;
        };
        EXPECT_TRUE(RenderPicture(viewer));
    }
    const QImage& cells() const { return viewer.PictureLayer.image; }
};

TEST(DeviceRatio, AtTwoEveryPixelInsideACellIsThatCellsColour) {
    // A checkerboard: any pixel scaled up with smoothing would blend the two.
    RatioPicture p(2.0, [](int i, int j) { return (i + j) % 2 == 0 ? 5 : 15; });
    const int side = p.viewer.side();
    ASSERT_EQ(p.cells().size(), QSize(2 * side, 2 * side));
    EXPECT_FLOAT_EQ(p.viewer.view.width, static_cast<float>(side));  // the readout's view
    const RadarGrid grid = RadarGrid::AroundSite(37.0f, 55.0f);
    const Viewport logical = Viewport::Of(p.viewer.view);
    const auto cellAt = [&](int x, int y) {
        const GridCell c = grid.CellUnder(logical, x, y);
        return std::pair(c.row, c.column);
    };
    const LayoutRect& area = p.viewer.layout.picture;
    int checked = 0;
    for (int y = 2; y < side - 2; ++y) {
        for (int x = 2; x < side - 2; ++x) {
            // Two logical pixels from any edge of its cell, both device
            // pixels of each direction must be the cell's own colour.
            const auto cell = cellAt(x, y);
            if (cellAt(x - 2, y - 2) != cell || cellAt(x + 2, y + 2) != cell) continue;
            const uint32_t expected = (cell.first + cell.second) % 2 == 0 ? kCellA : kCellB;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    ASSERT_EQ(PixelAt(p.cells(), 2 * x + dx, 2 * y + dy), expected)
                        << x << "," << y;
            // The window shows the cells over the map pixel for pixel.
            const int wx = 2 * (area.left + x), wy = 2 * (area.top + y);
            ASSERT_EQ(PixelAt(p.viewer.WindowDC.image, wx, wy),
                      expected & PixelAt(p.viewer.MapLayer.image, 2 * x, 2 * y));
            ++checked;
        }
    }
    EXPECT_GT(checked, side * side / 5);
}

TEST(DeviceRatio, AUniformGridHasNoSeamsAtFractionalRatios) {
    for (double ratio : {1.25, 1.5, 1.75, 2.0}) {
        RatioPicture p(ratio, [](int, int) { return 5; });
        const QImage& cells = p.cells();
        const int rim = DevicePixels(2, ratio);
        std::set<uint32_t> seen;
        for (int y = rim; y < cells.height() - rim; ++y)
            for (int x = rim; x < cells.width() - rim; ++x) seen.insert(PixelAt(cells, x, y));
        EXPECT_EQ(seen, std::set<uint32_t>{kCellA}) << ratio;
    }
}

}  // namespace
}  // namespace kalvera
