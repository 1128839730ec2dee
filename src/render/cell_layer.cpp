#include "render/cell_layer.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "products/derived_products.h"
#include "products/layer_units.h"
#include "products/vil_legend.h"
#include "render/mosaic_picture.h"

namespace kalvera {

int ColourEntry(int layerCode, int32_t value) {
    const int32_t v = std::max<int32_t>(value, 0);
    if (layerCode == kLayerWeather) return std::min<int32_t>(v, kPaletteEntries - 1);
    if (layerCode == kLayerEchoTops) return std::min<int32_t>(v / 1000, kLegendBoxes);
    if (layerCode == kLayerVil) return VilClass(v);
    return std::clamp<int32_t>(v / 10, 0, kLegendBoxes - 1) + 1;
}

bool CellColour(const CellPaint& paint, int32_t value, uint32_t& colour) {
    if (paint.table != nullptr) {
        const std::optional<Rgba> c =
            ColourAt(*paint.table, TableValue(*paint.table, PhysicalValue(paint.layerCode, value)));
        if (!c) return false;
        colour = c->bgr();
        return true;
    }
    if (paint.palette == nullptr) return false;
    colour = (*paint.palette)[static_cast<size_t>(ColourEntry(paint.layerCode, value))];
    return true;
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
    FillCellRuns(canvas, edges, style, rows, columns, [&](int i, int j, uint32_t& colour) {
        const int32_t v =
            values[static_cast<size_t>(i) * static_cast<size_t>(columns) + static_cast<size_t>(j)];
        if (v <= paint.threshold || (skipNoData && v == kOutsideGrid)) return false;
        return CellColour(paint, v, colour);
    });
}

// Cells seen through: drawn opaque on a clear layer of their own and laid
// over the canvas at the opacity in one go, since rims that overlap their
// neighbours would otherwise be blended twice.
void BlendValues(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                 const int32_t* values, int rows, int columns, const CellPaint& paint,
                 bool skipNoData) {
    const auto [xMin, xMax] = std::minmax_element(edges.x.begin(), edges.x.end());
    const auto [yMin, yMax] = std::minmax_element(edges.y.begin(), edges.y.end());
    const int rim = style.cellRimWidth;
    const int left = *xMin - rim, top = *yMin - rim;
    QImage layer(*xMax - left + 2 * rim + 1, *yMax - top + 2 * rim + 1,
                 QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull()) return;
    layer.fill(Qt::transparent);
    CellEdges shifted = edges;
    for (int& x : shifted.x) x -= left;
    for (int& y : shifted.y) y -= top;
    {
        CanvasState state;
        Canvas cells(layer, state);
        FillValues(cells, shifted, style, values, rows, columns, paint, skipNoData);
    }
    QPainter& painter = canvas.painter();
    painter.setOpacity(paint.opacity / 100.0);
    painter.drawImage(left, top, layer);
    painter.setOpacity(1.0);
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kBlack);
}

// Every cell above the threshold, opaque or seen through.
void PaintValues(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                 const int32_t* values, int rows, int columns, const CellPaint& paint,
                 bool skipNoData) {
    if ((paint.palette == nullptr && paint.table == nullptr) || edges.x.empty() ||
        edges.y.empty()) {
        return;
    }
    if (paint.opacity < 100) {
        BlendValues(canvas, edges, style, values, rows, columns, paint, skipNoData);
    } else {
        FillValues(canvas, edges, style, values, rows, columns, paint, skipNoData);
    }
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
    // A site's own terms have no cells without data; imported ones may, and
    // those are shown as the composite shows its gaps, not as echo.
    if (std::find(values.values.begin(), values.values.end(), kOutsideGrid) !=
        values.values.end()) {
        DrawNoDataCells(
            canvas, viewport, style,
            GridValues{grid, std::vector<int32_t>(values.values.begin(), values.values.end())},
            kNoDataFill);
    }
    ClippedToSquare(canvas, viewport, [&] {
        DrawCellsOnEdges(canvas, grid.EdgesOn(viewport), style, values, paint);
    });
}

void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const RadarPicture& values, const CellPaint& paint) {
    PaintValues(canvas, edges, style, values.values.data(), kGridSide, kGridSide, paint, true);
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
    PaintValues(canvas, edges, style, values.values.data(), values.grid.rows(),
                values.grid.columns(), paint, true);
}

void DrawNoDataCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const GridValues& values, uint32_t colour) {
    const int columns = values.grid.columns();
    if (values.values.size() !=
        static_cast<size_t>(values.grid.rows()) * static_cast<size_t>(columns)) {
        return;
    }
    const CellEdges edges = values.grid.EdgesOn(viewport);
    const auto noData = [&](int i, int j) {
        return values.values[static_cast<size_t>(i) * static_cast<size_t>(columns) +
                             static_cast<size_t>(j)] == kOutsideGrid;
    };
    ClippedToSquare(canvas, viewport, [&] {
        FillCellRuns(canvas, edges, style, values.grid.rows(), columns,
                     [&](int i, int j, uint32_t& fill) {
                         fill = colour;
                         return noData(i, j);
                     });
    });
    if (edges.x.empty() || edges.y.empty()) return;
    // Hatched over the fill: a texture no colour table has, so that no
    // table's class can pass for missing data, nor missing data for echo.
    QRegion region;
    const int rows = std::min(static_cast<int>(edges.y.size()) - 1, values.grid.rows());
    const int cols = std::min(static_cast<int>(edges.x.size()) - 1, columns);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols;) {
            if (!noData(i, j)) {
                ++j;
                continue;
            }
            int end = j + 1;
            while (end < cols && noData(i, end)) ++end;
            const int x0 =
                std::min(edges.x[static_cast<size_t>(j)], edges.x[static_cast<size_t>(end)]);
            const int x1 =
                std::max(edges.x[static_cast<size_t>(j)], edges.x[static_cast<size_t>(end)]);
            const int y0 =
                std::min(edges.y[static_cast<size_t>(i)], edges.y[static_cast<size_t>(i + 1)]);
            const int y1 =
                std::max(edges.y[static_cast<size_t>(i)], edges.y[static_cast<size_t>(i + 1)]);
            region += QRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
            j = end;
        }
    }
    if (region.isEmpty()) return;
    QPainter& painter = canvas.painter();
    painter.save();
    painter.setClipRegion(region.intersected(QRect(viewport.left, viewport.top, viewport.side + 1,
                                                   viewport.side + 1)),
                          Qt::IntersectClip);
    painter.fillRect(
        region.boundingRect(),
        QBrush(QColor(kNoDataHatch & 0xFF, (kNoDataHatch >> 8) & 0xFF, (kNoDataHatch >> 16) & 0xFF),
               Qt::BDiagPattern));
    painter.restore();
}

int32_t HighestValue(const RadarPicture& values) {
    int32_t maximum = -1;
    for (int32_t v : values.values) {
        if (v != kOutsideGrid) maximum = std::max(maximum, std::max<int32_t>(v, 0));
    }
    return maximum;
}

}  // namespace kalvera
