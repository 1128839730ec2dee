#include "render/mosaic_picture.h"

#include <QCoreApplication>
#include <algorithm>

#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/map_background.h"

namespace kalvera {

namespace {
constexpr int kTitleHeight = 28;
constexpr int kLegendColumn = 150;
constexpr float kMarginShare = 1.03f;
}  // namespace

float HalfExtentKmOfGrid(const RadarGrid& grid) {
    const float east = grid.EdgeLon(grid.columns());
    const float north = grid.EdgeLat(grid.rows());
    // Degrees per kilometre of the projection at the box's middle.
    const MapProjection unit = MapProjection::Init(1.0f, 1.0f, (grid.lonMin() + east) / 2.0f,
                                                   (grid.latMin() + north) / 2.0f, 1.0f);
    const float halfKm = std::max((east - grid.lonMin()) / 2.0f / unit.dLon,
                                  (north - grid.latMin()) / 2.0f / unit.dLat);
    return std::max(1.0f, halfKm * kMarginShare);
}

Viewport ViewportOfGrid(const RadarGrid& grid, int side, int left, int top) {
    const float lon0 = (grid.lonMin() + grid.EdgeLon(grid.columns())) / 2.0f;
    const float lat0 = (grid.latMin() + grid.EdgeLat(grid.rows())) / 2.0f;
    return Viewport::Square(std::max(1, side), lon0, lat0, HalfExtentKmOfGrid(grid), left, top);
}

std::string SitesCountText(size_t present, size_t total) {
    // "из" takes the genitive: singular after 1, 21, 31..., plural otherwise.
    static const char* const kForms[] = {QT_TRANSLATE_NOOP("kalvera::Mosaic", "%1 из %2 станции"),
                                         QT_TRANSLATE_NOOP("kalvera::Mosaic", "%1 из %2 станций")};
    const bool singular = total % 10 == 1 && total % 100 != 11;
    return QCoreApplication::translate("kalvera::Mosaic", kForms[singular ? 0 : 1])
        .arg(present)
        .arg(total)
        .toStdString();
}

std::string MosaicTitle(const std::string& dayName, const std::string& termText, int layerCode,
                        size_t present, size_t total) {
    std::string date = dayName;
    if (dayName.size() == 6) {
        date = dayName.substr(4, 2) + "." + dayName.substr(2, 2) + ".20" + dayName.substr(0, 2);
    }
    return QCoreApplication::translate("kalvera::Mosaic", "Сводная карта").toStdString() + " " +
           date + " " + termText +
           QCoreApplication::translate("kalvera::Header", " сгв — ").toStdString() +
           LayerTitle(layerCode) + " — " + SitesCountText(present, total);
}

void DrawSiteSquares(Canvas& canvas, const Viewport& viewport,
                     const std::vector<RadarGrid>& squares) {
    canvas.setPenColor(kSiteSquareColour);
    canvas.setPenWidth(1);
    for (const RadarGrid& square : squares) {
        const int west = viewport.X(square.lonMin());
        const int east = viewport.X(square.EdgeLon(square.columns()));
        const int south = viewport.Y(square.latMin());
        const int north = viewport.Y(square.EdgeLat(square.rows()));
        canvas.polyline({{west, south}, {west, north}, {east, north}, {east, south}, {west, south}});
    }
    canvas.setPenColor(kBlack);
}

void DrawMosaicScene(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const MosaicScene& scene) {
    QPainter& painter = canvas.painter();
    painter.setClipRect(viewport.left, viewport.top, viewport.side + 1, viewport.side + 1);
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kWhite);
    canvas.rectangle(viewport.left, viewport.top, viewport.right() + 1, viewport.bottom() + 1);
    if (scene.cells != nullptr) {
        DrawNoDataCells(canvas, viewport, style, *scene.cells, kNoDataFill);
        DrawCells(canvas, viewport, style, *scene.cells, scene.paint);
    }
    painter.setClipRect(viewport.left, viewport.top, viewport.side + 1, viewport.side + 1);
    if (scene.outlines != nullptr) DrawOutlines(canvas, viewport, style, *scene.outlines);
    if (scene.places != nullptr) DrawPlaces(canvas, viewport, style, *scene.places);
    DrawSiteSquares(canvas, viewport, scene.squares);
    painter.setClipping(false);
    DrawSquareFrame(canvas, viewport, style);
}

QImage MosaicPictureImage(const MosaicScene& scene, const std::string& header, int side) {
    QImage image(side + kLegendColumn, side + kTitleHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive()) return {};
    canvas.setFontColor(kBlack);
    canvas.textOut(6, 6, header);
    LayerStyle style = LayerStyle::Screen();
    style.frameWidth = 1;
    const RadarGrid grid = scene.cells ? scene.cells->grid : RadarGrid::AroundSite(0.0f, 0.0f);
    DrawMosaicScene(canvas, ViewportOfGrid(grid, side, 0, kTitleHeight), style, scene);
    if (scene.paint.palette != nullptr) {
        const int top = kTitleHeight + 24;
        canvas.textOut(side + 8, kTitleHeight + 4, LayerShortName(scene.paint.layerCode));
        DrawLegendBoxes(canvas, side + 8, top, kLegendColumn - 16, side - 24 - 8,
                        *scene.paint.palette, scene.paint.layerCode, false, scene.paint.table);
    }
    return image;
}

}  // namespace kalvera
