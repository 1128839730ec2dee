#include "output/print_page.h"

#include <QPaintDevice>

#include "geo/map_resources.h"
#include "geo/radar_grid.h"
#include "geo/settings.h"
#include "output/header_lines.h"
#include "output/picture_export.h"
#include "output/print_layout.h"
#include "products/layer_units.h"
#include "render/cell_layer.h"
#include "render/header_layer.h"
#include "render/map_background.h"

namespace kalvera {

namespace {
constexpr double kHeaderPoints = 14.0;
}  // namespace

bool PrintPage(const Viewport& viewport, int pixelsPerMm, Canvas& canvas, const AppConfig& config,
               const DisplayState& state, const RadarPicture& picture) {
    std::vector<Outline> outlines;
    if (!ReadOutlines(CountryBinPath(config.startDir), CountryIndPath(config.startDir), outlines)) {
        return false;
    }
    // Paper has no AND of two bitmaps: the cells cover the outlines, and the
    // rings, grid and places go on top so that the scale stays readable.
    const LayerStyle style = LayerStyle::Paper(pixelsPerMm);
    DrawOutlines(canvas, viewport, style, outlines);
    // The cells lie on the 400 km square around the radar site, as on the
    // screen; only where that square meets the printed one are they visible.
    DrawCells(canvas, viewport, style, RadarGrid::AroundSite(state.siteLon, state.siteLat), picture,
              {state.layerCode, state.filterThreshold, &config.palette,
               TableForLayer(config.colours, state.layerCode), config.colours.cellOpacity});
    DrawRingsAndGrid(canvas, viewport, style);
    DrawSquareFrame(canvas, viewport, style);
    std::vector<Place> places;
    if (ReadPlaces(PlacesPath(config.startDir), places)) {
        DrawPlaces(canvas, viewport, style, places);
    }
    return true;
}

PrintResult PrintPicture(QPaintDevice& page, const ViewerState& viewer) {
    PrintResult result;
    PrintLayout layout;
    if (!ComputePrintLayout(page.width(), page.logicalDpiX(), layout)) return result;
    const DisplayState& display = viewer.display;
    const Viewport viewport = Viewport::Square(layout.mapSide, display.viewLon, display.viewLat,
                                               kPrintHalfExtentKm, layout.mapLeft, layout.mapTop);

    CanvasState state;
    state.penWidth = 2;
    Canvas canvas(page, state);
    if (!canvas.isActive()) return result;
    result.pageBegun = true;

    canvas.setFontSize(kHeaderPoints);
    DrawCentredLines(canvas, 0, layout.pageWidth,
                     {{layout.headerTops[0], HeaderLine1()},
                      {layout.headerTops[1], ExportHeaderLine2(viewer, HeaderForm::SaveButton)},
                      {layout.headerTops[2], HeaderLine3(display.layerCode)}});
    result.mapDrawn = PrintPage(viewport, static_cast<int>(layout.pixelsPerMm), canvas,
                                viewer.config, display, viewer.picture);
    return result;
}

}  // namespace kalvera
