#include "output/map_images.h"

#include <QCoreApplication>
#include <QImage>
#include <algorithm>

#include "geo/radar_grid.h"
#include "geo/viewport.h"
#include "output/png_writer.h"
#include "products/derived_products.h"
#include "render/canvas.h"
#include "render/cell_layer.h"
#include "render/layer_style.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {

constexpr int kLegendWidth = 170;
constexpr int kLegendBoxHeight = 20;
constexpr int kLegendTitleHeight = 22;

// Empty when the image cannot be encoded.
std::string PngOf(const QImage& image) {
    return EncodePng(image).value_or(std::string());
}

// The cells take palette colours only, so an indexed image holds them exactly
// in a quarter of the bytes, which the PNG encoder then has a quarter of the
// work with.
QImage Indexed(const QImage& overlay, const Palette& palette) {
    QList<QRgb> colours{qRgba(0, 0, 0, 0)};
    for (const uint32_t colour : palette) colours.push_back(ToQColor(colour).rgb());
    return overlay.convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
}

// The layer title with the units its legend labels count in.
std::string LegendTitle(int layerCode, const ColourTable* table) {
    if (table != nullptr && !table->units.empty() && layerCode != kLayerWeather) {
        return LayerTitle(layerCode) + ", " + table->units;
    }
    if (layerCode == kLayerWeather || layerCode == kLayerVil) return LayerTitle(layerCode);
    return LayerTitle(layerCode) +
           (layerCode == kLayerEchoTops
                ? QCoreApplication::translate("kalvera::Legend", ", м").toStdString()
                : ", dBZ");
}

// The image is the grid box itself, each cell a block of `pixels`, so that
// the cells line up with the GeoTIFF's on the same box; row 0 is at the
// south, the bottom.
CellEdges OverlayEdges(const RadarGrid& grid, int pixels) {
    CellEdges edges;
    for (int k = 0; k <= grid.columns(); ++k) edges.x.push_back(k * pixels);
    for (int k = 0; k <= grid.rows(); ++k) edges.y.push_back((grid.rows() - k) * pixels);
    return edges;
}

QImage OverlayImage(const MapSource& source) {
    const GridValues cells = source.Cells();
    // A composite's many cells take fewer pixels each, within one image
    // Google Earth still loads at once.
    const int pixels =
        std::clamp(kOverlayLongSide / std::max(cells.grid.rows(), cells.grid.columns()), 1,
                   kOverlayCellPixels);
    QImage image(cells.grid.columns() * pixels, cells.grid.rows() * pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive()) return {};
    LayerStyle style = LayerStyle::Screen();
    // The screen's rim makes each cell a pixel wider, which would overlap
    // the neighbours' colours here and spill past the square's edge.
    style.cellRimWidth = 1;
    const CellPaint paint{source.layerCode, 0, &source.palette, source.table.get()};
    if (source.composite) {
        DrawCellsOnEdges(canvas, OverlayEdges(cells.grid, pixels), style, cells, paint);
    } else {
        DrawCellsOnEdges(canvas, OverlayEdges(cells.grid, pixels), style, source.grid, paint);
    }
    return image;
}

QImage LegendImage(const MapSource& source) {
    const int boxes = kLegendBoxes * kLegendBoxHeight;
    QImage image(kLegendWidth, kLegendTitleHeight + boxes, QImage::Format_ARGB32);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive()) return {};
    canvas.setPenColor(kBlack);
    canvas.rectangle(0, 0, kLegendWidth, kLegendTitleHeight + 1);
    canvas.textOut(4, 4, LegendTitle(source.layerCode, source.table.get()));
    DrawLegendBoxes(canvas, 0, kLegendTitleHeight, kLegendWidth, boxes, source.palette,
                    source.layerCode, false, source.table.get());
    return image;
}

}  // namespace

MapImages DrawMapImages(const MapSource& source) {
    // A table shades between its stops: its colours are not a short list.
    const QImage overlay = OverlayImage(source);
    return {PngOf(source.table ? overlay : Indexed(overlay, source.palette)),
            PngOf(LegendImage(source))};
}

}  // namespace kalvera
