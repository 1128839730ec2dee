// The grid's forward (cell edges on a viewport) and backward (cell under a
// pixel) mappings agree wherever the square is drawn.

#include "geo/radar_grid.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kalvera
