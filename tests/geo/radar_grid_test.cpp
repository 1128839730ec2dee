// The grid's forward (cell edges on a viewport) and backward (cell under a
// pixel) mappings agree wherever the square is drawn.

#include "geo/radar_grid.h"

#include <gtest/gtest.h>

#include "geo/map_projection.h"

namespace kalvera {
namespace {

TEST(RadarGridTest, ThePixelInsideACellsEdgesMapsBackToThatCell) {
    const RadarGrid grid = RadarGrid::AroundSite(37.0f, 55.0f);
    struct Row {
        const char* name;
        Viewport viewport;
    };
    const Row rows[] = {
        {"window square on the site", Viewport::Square(700, 37.0f, 55.0f, 200.0f)},
        {"printed square below a header", Viewport::Square(2362, 37.0f, 55.0f, 200.0f, 59, 472)},
        {"zoomed and panned east", Viewport::Square(640, 38.0f, 55.3f, 80.0f, 5, 7)},
    };
    for (const Row& row : rows) {
        const CellEdges edges = grid.EdgesOn(row.viewport);
        for (int i = 0; i < grid.rows(); i += 7) {
            for (int j = 0; j < grid.columns(); j += 9) {
                const size_t r = static_cast<size_t>(i), c = static_cast<size_t>(j);
                if (edges.x[c + 1] - edges.x[c] < 3 || edges.y[r] - edges.y[r + 1] < 3) continue;
                const int x = (edges.x[c] + edges.x[c + 1]) / 2;
                const int y = (edges.y[r] + edges.y[r + 1]) / 2;
                const GridCell cell = grid.CellUnder(row.viewport, x, y);
                EXPECT_EQ(cell.row, i) << row.name << " " << i << "," << j;
                EXPECT_EQ(cell.column, j) << row.name << " " << i << "," << j;
            }
        }
        // Beyond the square's western and northern edges there is no cell.
        EXPECT_FALSE(grid.CellUnder(row.viewport, edges.x[0] - 2, edges.y[50]).valid()) << row.name;
        EXPECT_FALSE(grid.CellUnder(row.viewport, edges.x[50], edges.y[100] - 2).valid())
            << row.name;
    }
}

// A point written in -180..180 beside a site near the antimeridian is the
// point 360 degrees round, on the site's side: the same cell, the same range.
TEST(RadarGridTest, APointAcrossTheAntimeridianReadsTheCellThatCoversIt) {
    const struct {
        float siteLon, written, nearSite;
        bool east;
    } rows[] = {
        {179.5f, -179.9f, 180.1f, true},
        {-179.5f, 179.9f, -180.1f, false},
        {179.5f, 179.0f, 179.0f, false},
    };
    for (const auto& row : rows) {
        const RadarGrid grid = RadarGrid::AroundSite(row.siteLon, 60.0f);
        const GridCell cell = grid.CellAt(60.3f, row.written);
        const GridCell expected = grid.CellAt(60.3f, row.nearSite);
        ASSERT_TRUE(expected.valid()) << row.written;
        EXPECT_EQ(cell.row, expected.row) << row.written;
        EXPECT_EQ(cell.column, expected.column) << row.written;
        float azimuth = 0.0f, range = 0.0f;
        MapProjection::Init(1.0f, 1.0f, row.siteLon, 60.0f, kRadarGridHalfExtentKm)
            .RangeAzimuth(60.0f, row.written, azimuth, range);
        EXPECT_LT(range, 40.0f) << row.written;
        EXPECT_EQ(azimuth < 180.0f, row.east) << row.written << " at " << azimuth;
    }
}

}  // namespace
}  // namespace kalvera
