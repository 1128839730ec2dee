#include "render/cell_layer.h"

#include <QImage>
#include <algorithm>

#include "products/derived_products.h"
#include "products/layer_units.h"
#include "products/vil_legend.h"

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

void DrawCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
               const RadarGrid& grid, const RadarPicture& values, const CellPaint& paint) {
    // Clipping only: the canvas keeps its own pen and brush, which a painter
    // save and restore would put out of step.
    QPainter& painter = canvas.painter();
    painter.setClipRect(viewport.left, viewport.top, viewport.side + 1, viewport.side + 1);
    DrawCellsOnEdges(canvas, grid.EdgesOn(viewport), style, values, paint);
    painter.setClipping(false);
}

namespace {

// Every cell above the threshold, opaque; runs of one colour along a row as
// one block.
void FillCells(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
               const RadarPicture& values, const CellPaint& paint) {
    const int rows = std::min(static_cast<int>(edges.y.size()) - 1, kGridSide);
    const int columns = std::min(static_cast<int>(edges.x.size()) - 1, kGridSide);
    canvas.setPenWidth(style.cellRimWidth);
    // A run of cells of one colour along a row is one block: each cell's rim
    // lies under its neighbours', so the run covers exactly the pixels its
    // cells would, and a frame of a loop draws far fewer rectangles. Edges
    // that do not run west to east are drawn cell by cell.
    const bool ordered = std::is_sorted(edges.x.begin(), edges.x.begin() + columns + 1);
    const auto colourAt = [&](int i, int j, uint32_t& colour) {
        const int32_t v = values.values[static_cast<size_t>(i * kGridSide + j)];
        return v > paint.threshold && CellColour(paint, v, colour);
    };
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns;) {
            uint32_t colour = 0;
            if (!colourAt(i, j, colour)) {
                ++j;
                continue;
            }
            int end = j + 1;
            for (uint32_t next = 0;
                 ordered && end < columns && colourAt(i, end, next) && next == colour;) {
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

// Cells seen through: drawn opaque on a clear layer of their own and laid
// over the canvas at the opacity in one go, since rims that overlap their
// neighbours would otherwise be blended twice.
void BlendCells(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                const RadarPicture& values, const CellPaint& paint) {
    QPainter& painter = canvas.painter();
    const auto [xMin, xMax] = std::minmax_element(edges.x.begin(), edges.x.end());
    const auto [yMin, yMax] = std::minmax_element(edges.y.begin(), edges.y.end());
    const int rim = style.cellRimWidth;
    QRect box(QPoint(*xMin - rim, *yMin - rim), QPoint(*xMax + rim, *yMax + rim));
    // Zoomed in, the grid reaches far beyond the picture: the layer need
    // only cover what can be seen.
    if (const QPaintDevice* device = painter.device()) {
        box &= QRect(0, 0, device->width(), device->height());
    }
    if (painter.hasClipping()) box &= painter.clipBoundingRect().toAlignedRect();
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (box.isEmpty() || layer.isNull()) return;
    layer.fill(Qt::transparent);
    CellEdges shifted = edges;
    for (int& x : shifted.x) x -= box.left();
    for (int& y : shifted.y) y -= box.top();
    {
        CanvasState state;
        Canvas cells(layer, state);
        FillCells(cells, shifted, style, values, paint);
    }
    painter.setOpacity(paint.opacity / 100.0);
    painter.drawImage(box.topLeft(), layer);
    painter.setOpacity(1.0);
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kBlack);
}

}  // namespace

void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const RadarPicture& values, const CellPaint& paint) {
    if ((paint.palette == nullptr && paint.table == nullptr) || edges.x.empty() ||
        edges.y.empty()) {
        return;
    }
    if (paint.opacity < 100) {
        BlendCells(canvas, edges, style, values, paint);
    } else {
        FillCells(canvas, edges, style, values, paint);
    }
}

int32_t HighestValue(const RadarPicture& values) {
    int32_t maximum = -1;
    for (int32_t v : values.values) maximum = std::max(maximum, std::max<int32_t>(v, 0));
    return maximum;
}

}  // namespace kalvera
