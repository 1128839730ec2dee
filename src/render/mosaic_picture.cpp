#include "render/mosaic_picture.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

#include "archive/day_archive.h"
#include "geo/settings.h"
#include "products/layer_units.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/map_background.h"

namespace kalvera {

namespace {
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

std::string MosaicTimeText(const std::string& dayName, const std::string& termText) {
    std::string date = dayName;
    CivilDate civil;
    if (ParseDayName(dayName, civil)) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", civil.day, civil.month, civil.year);
        date = text;
    }
    return date + " " + termText +
           QCoreApplication::translate("kalvera::Mosaic", " сгв").toStdString();
}

std::string MosaicTitle(const std::string& dayName, const std::string& termText, int layerCode,
                        size_t present, size_t total) {
    return QCoreApplication::translate("kalvera::Mosaic", "Сводная карта").toStdString() + " " +
           MosaicTimeText(dayName, termText) + " — " + LayerTitle(layerCode) + " — " +
           SitesCountText(present, total);
}

std::vector<std::string> SiteTermLabels(const MosaicTerm& term, const std::string& termText) {
    std::vector<std::string> labels(term.layout ? term.layout->sites().size() : 0);
    for (const MosaicSiteTerm& site : term.sites) {
        if (!site.present || site.layoutIndex < 0 ||
            static_cast<size_t>(site.layoutIndex) >= labels.size() || site.termText == termText) {
            continue;
        }
        labels[static_cast<size_t>(site.layoutIndex)] = site.termText;
    }
    return labels;
}

MosaicScene MosaicSceneOf(const AppConfig& config, const MosaicTerm& term,
                          const std::string& termText, const GridValues& cells, int layerCode,
                          int32_t threshold, MapResourceCache& cache) {
    MosaicScene scene;
    scene.cells = &cells;
    scene.squareLabels = SiteTermLabels(term, termText);
    if (term.layout) {
        for (size_t s = 0; s < term.layout->sites().size(); ++s) {
            scene.squares.push_back(term.layout->siteGrid(s));
        }
    }
    scene.paint = {layerCode, threshold, &config.palette, TableForLayer(config.colours, layerCode),
                   config.colours.cellOpacity};
    scene.outlines =
        cache.outlines(CountryBinPath(config.startDir), CountryIndPath(config.startDir));
    scene.places = cache.places(PlacesPath(config.startDir));
    return scene;
}

void DrawSiteSquares(Canvas& canvas, const Viewport& viewport,
                     const std::vector<RadarGrid>& squares,
                     const std::vector<std::string>& labels) {
    canvas.setPenColor(kSiteSquareColour);
    canvas.setPenWidth(1);
    for (size_t s = 0; s < squares.size(); ++s) {
        const RadarGrid& square = squares[s];
        const int west = viewport.X(square.lonMin());
        const int east = viewport.X(square.EdgeLon(square.columns()));
        const int south = viewport.Y(square.latMin());
        const int north = viewport.Y(square.EdgeLat(square.rows()));
        canvas.polyline(
            {{west, south}, {west, north}, {east, north}, {east, south}, {west, south}});
        if (s < labels.size() && !labels[s].empty()) {
            // A site whose term is not the composite's says its own.
            const std::string text = labels[s];
            const int w = canvas.textWidth(text) + 4;
            canvas.setBrushColor(kWhite);
            canvas.setPenColor(kSiteSquareColour);
            canvas.rectangle(std::min(west, east) + 2, std::min(north, south) + 2,
                             std::min(west, east) + 2 + w, std::min(north, south) + 18);
            canvas.setFontColor(kBlack);
            canvas.textOut(std::min(west, east) + 4, std::min(north, south) + 3, text);
        }
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
        DrawNoDataCells(canvas, viewport, style, *scene.cells);
        DrawCells(canvas, viewport, style, *scene.cells, scene.paint);
    }
    painter.setClipRect(viewport.left, viewport.top, viewport.side + 1, viewport.side + 1);
    if (scene.outlines != nullptr) DrawOutlines(canvas, viewport, style, *scene.outlines);
    if (scene.places != nullptr) DrawPlaces(canvas, viewport, style, *scene.places);
    DrawSiteSquares(canvas, viewport, scene.squares, scene.squareLabels);
    painter.setClipping(false);
    DrawSquareFrame(canvas, viewport, style);
}

void DrawMosaicPicture(Canvas& canvas, const Viewport& viewport, const MosaicScene& scene,
                       const std::string& header, int legendLeft, int bottom) {
    LayerStyle style = LayerStyle::Screen();
    style.frameWidth = 1;
    DrawMosaicScene(canvas, viewport, style, scene);
    // The header strip and the legend column over whatever of the view's
    // square reaches past the picture's area.
    const int top = kMosaicHeaderHeight;
    const int right = legendLeft + kMosaicLegendWidth;
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kWhite);
    canvas.rectangle(0, 0, right + 1, top);
    canvas.rectangle(legendLeft + 1, top, right + 1, bottom + 1);
    canvas.setFontColor(kBlack);
    canvas.textOut(6, 6, header);
    if (scene.paint.palette == nullptr) return;
    canvas.setFontColor(kBlack);
    canvas.textOut(legendLeft + 8, top + 4, LayerShortName(scene.paint.layerCode));
    DrawLegendBoxes(canvas, legendLeft + 8, top + 24, kMosaicLegendWidth - 16, bottom - top - 32,
                    *scene.paint.palette, scene.paint.layerCode, false, scene.paint.table);
}

QImage MosaicPictureImage(const MosaicScene& scene, const std::string& header, int side) {
    QImage image(side + kMosaicLegendWidth, side + kMosaicHeaderHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive()) return {};
    const RadarGrid grid = scene.cells ? scene.cells->grid : RadarGrid::AroundSite(0.0f, 0.0f);
    DrawMosaicPicture(canvas, ViewportOfGrid(grid, side, 0, kMosaicHeaderHeight), scene, header,
                      side, side + kMosaicHeaderHeight);
    return image;
}

}  // namespace kalvera
