#include "render/cell_layer.h"

#include <algorithm>

#include "products/derived_products.h"
#include "products/vil_legend.h"

namespace kalvera {

int ColourEntry(int layerCode, int32_t value) {
    const int32_t v = std::max<int32_t>(value, 0);
    if (layerCode == kLayerWeather) return std::min<int32_t>(v, kPaletteEntries - 1);
    if (layerCode == kLayerEchoTops) return std::min<int32_t>(v / 1000, kLegendBoxes);
    if (layerCode == kLayerVil) return VilClass(v);
    return std::clamp<int32_t>(v / 10, 0, kLegendBoxes - 1) + 1;
}

namespace {

// Fills the cells to which `colourOf` gives a colour. A run of cells of one
// colour along a row is one block: each cell's rim lies under its
// neighbours', so the run covers exactly the pixels its cells would, and a
// frame of a loop draws far fewer rectangles. Edges that do not run west to
// east are drawn cell by cell.
template <typename ColourOf>
void FillCellRuns(Canvas& canvas, const CellEdges& edges, const LayerStyle& style, int rows,
                  int columns, ColourOf colourOf) {
    if (edges.x.empty() || edges.y.empty()) return;
    rows = std::min(static_cast<int>(edges.y.size()) - 1, rows);
    columns = std::min(static_cast<int>(edges.x.size()) - 1, columns);
    canvas.setPenWidth(style.cellRimWidth);
    const bool ordered = std::is_sorted(edges.x.begin(), edges.x.begin() + columns + 1);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns;) {
            uint32_t colour = 0;
            if (!colourOf(i, j, colour)) {
                ++j;
                continue;
            }
            int end = j + 1;
            for (uint32_t next = 0;
                 ordered && end < columns && colourOf(i, end, next) && next == colour;) {
                ++end;
            }
            canvas.setBrushColor(colour);
            canvas.setPenColor(colour);
            canvas.rectangle(edges.x[static_cast<size_t>(j)], edges.y[static_cast<size_t>(i)],
                             edges.x[static_cast<size_t>(end)],
                             edges.y[static_cast<size_t>(i + 1)]);
            j = end;
        }
    }
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kBlack);
}

// A site's picture draws every value above the threshold as it always has;
// a composite leaves its nodata cells (`skipNoData`) to DrawNoDataCells.
void FillValues(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                const int32_t* values, int rows, int columns, const CellPaint& paint,
                bool skipNoData) {
    if (paint.palette == nullptr) return;
    FillCellRuns(canvas, edges, style, rows, columns, [&](int i, int j, uint32_t& colour) {
        const int32_t v = values[static_cast<size_t>(i) * static_cast<size_t>(columns) +
                                 static_cast<size_t>(j)];
        if (v <= paint.threshold || (skipNoData && v == kOutsideGrid)) return false;
        colour = (*paint.palette)[static_cast<size_t>(ColourEntry(paint.layerCode, v))];
        return true;
    });
}

// Clipping only: the canvas keeps its own pen and brush, which a painter
// save and restore would put out of step.
template <typename Draw>
void ClippedToSquare(Canvas& canvas, const Viewport& viewport, Draw draw) {
    QPainter& painter = canvas.painter();
    painter.setClipRect(viewport.left, viewport.top, viewport.side + 1, viewport.side + 1);
    draw();
    painter.setClipping(false);
}

}  // namespace

void DrawCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
               const RadarGrid& grid, const RadarPicture& values, const CellPaint& paint) {
    ClippedToSquare(canvas, viewport, [&] {
        DrawCellsOnEdges(canvas, grid.EdgesOn(viewport), style, values, paint);
    });
}

void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const RadarPicture& values, const CellPaint& paint) {
    FillValues(canvas, edges, style, values.values.data(), kGridSide, kGridSide, paint,
               false);
}

void DrawCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
               const GridValues& values, const CellPaint& paint) {
    ClippedToSquare(canvas, viewport, [&] {
        DrawCellsOnEdges(canvas, values.grid.EdgesOn(viewport), style, values, paint);
    });
}

void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const GridValues& values, const CellPaint& paint) {
    if (values.values.size() !=
        static_cast<size_t>(values.grid.rows()) * static_cast<size_t>(values.grid.columns())) {
        return;
    }
    FillValues(canvas, edges, style, values.values.data(), values.grid.rows(),
               values.grid.columns(), paint, true);
}

void DrawNoDataCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const GridValues& values, uint32_t colour) {
    const int columns = values.grid.columns();
    if (values.values.size() !=
        static_cast<size_t>(values.grid.rows()) * static_cast<size_t>(columns)) {
        return;
    }
    ClippedToSquare(canvas, viewport, [&] {
        FillCellRuns(canvas, values.grid.EdgesOn(viewport), style, values.grid.rows(), columns,
                     [&](int i, int j, uint32_t& fill) {
                         fill = colour;
                         return values.values[static_cast<size_t>(i) *
                                                  static_cast<size_t>(columns) +
                                              static_cast<size_t>(j)] == kOutsideGrid;
                     });
    });
}

int32_t HighestValue(const RadarPicture& values) {
    int32_t maximum = -1;
    for (int32_t v : values.values) maximum = std::max(maximum, std::max<int32_t>(v, 0));
    return maximum;
}

}  // namespace kalvera
