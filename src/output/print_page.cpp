#include "output/print_page.h"

#include <QPaintDevice>
#include <algorithm>

#include "geo/map_resources.h"
#include "geo/radar_grid.h"
#include "geo/settings.h"
#include "output/header_lines.h"
#include "output/picture_export.h"
#include "output/print_layout.h"
#include "products/layer_units.h"
#include "render/cell_layer.h"
#include "render/header_layer.h"
#include "render/legend_layer.h"
#include "render/map_background.h"

namespace kalvera {

namespace {
constexpr double kHeaderPoints = 14.0;
constexpr double kKeyPoints = 9.0;
constexpr double kKeyGapMm = 6.0;
constexpr double kKeyRowMm = 5.5;
constexpr double kKeyBoxMm = 4.0;
constexpr double kBottomMarginMm = 12.0;
constexpr int kKeyColumns = 3;

int Mm(double mm, double pixelsPerMm) {
    return static_cast<int>(mm * pixelsPerMm + 0.5);
}

// The key below the map: the legend's boxes in columns, lowest class first,
// each a swatch and its label, and the opacity where it is below 100 %.
// Paper has no room beside a 200 mm square; below it there are some 50 mm.
void DrawPrintedKey(Canvas& canvas, const PrintLayout& layout, int pageHeight,
                    const AppConfig& config, int layerCode) {
    const double perMm = layout.pixelsPerMm;
    std::vector<LegendBox> boxes =
        LegendBoxesOf(config.palette, layerCode, TableForLayer(config.colours, layerCode));
    if (config.colours.cellOpacity < 100) {
        boxes.push_back({kWhite, OpacityNoteText(config.colours.cellOpacity)});
    }
    if (boxes.empty()) return;
    const int top = layout.mapTop + layout.mapSide + Mm(kKeyGapMm, perMm);
    const int row = Mm(kKeyRowMm, perMm);
    const int available = std::max(row, pageHeight - Mm(kBottomMarginMm, perMm) - top);
    // As many columns as the rows that fit need, at least three.
    const int rowsFitting = std::max(1, available / row);
    const int columns = std::max(
        kKeyColumns, static_cast<int>((boxes.size() + static_cast<size_t>(rowsFitting) - 1) /
                                      static_cast<size_t>(rowsFitting)));
    const int rows = static_cast<int>((boxes.size() + static_cast<size_t>(columns) - 1) /
                                      static_cast<size_t>(columns));
    const int columnWidth = layout.mapSide / columns;
    const int box = Mm(kKeyBoxMm, perMm);
    canvas.setFontSize(kKeyPoints);
    canvas.setPenWidth(1);
    for (size_t k = 0; k < boxes.size(); ++k) {
        const int column = static_cast<int>(k) / rows;
        const int x = layout.mapLeft + column * columnWidth;
        const int y = top + (static_cast<int>(k) % rows) * row;
        const bool note = config.colours.cellOpacity < 100 && k + 1 == boxes.size();
        canvas.setPenColor(kBlack);
        if (!note) {
            canvas.setBrushColor(boxes[k].colour);
            canvas.rectangle(x, y, x + box, y + box);
        }
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.textOut(x + box + box / 2, y, boxes[k].label);
    }
    canvas.setBrushColor(kWhite);
}
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
    // Grey on paper is nothing without its key; the palette's page stays
    // as it always was.
    if (result.mapDrawn && PictureNeedsKey(viewer.config, display.layerCode)) {
        DrawPrintedKey(canvas, layout, page.height(), viewer.config, display.layerCode);
    }
    return result;
}

}  // namespace kalvera
