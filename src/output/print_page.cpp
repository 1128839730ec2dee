#include "output/print_page.h"

#include <QPaintDevice>
#include <algorithm>

#include "geo/map_resources.h"
#include "geo/settings.h"
#include "output/header_lines.h"
#include "output/picture_export.h"
#include "output/print_layout.h"
#include "render/picture_render.h"
#include "render/pixel_math.h"

namespace kalvera {

namespace {

constexpr double kHeaderPoints = 14.0;
constexpr double kPlacePoints = 8.0;

struct Square {
    int a = 0;  // left
    int b = 0;  // top
    int w = 0;
    int h = 0;
};

void PrintOutlines(Canvas& canvas, const MapProjection& projection, const Square& sq,
                   const std::vector<Outline>& outlines) {
    // Open polylines, as on the screen: the outlines are borders and coasts,
    // not closed rings, and filling them would wipe out the lines drawn before.
    canvas.setPenColor(kBlack);
    std::vector<CanvasPoint> points;
    for (const Outline& outline : outlines) {
        points.resize(outline.size());
        for (size_t i = 0; i < outline.size(); ++i) {
            points[i].x =
                std::clamp(TruncPixel(projection.LonToX(outline[i].lon)) + sq.a, sq.a, sq.a + sq.w);
            points[i].y =
                std::clamp(TruncPixel(projection.LatToY(outline[i].lat)) + sq.b, sq.b, sq.b + sq.h);
        }
        canvas.polyline(points);
    }
}

void PrintCells(Canvas& canvas, const MapProjection& projection, const Square& sq,
                const AppConfig& config, const DisplayState& state, const RadarPicture& picture) {
    // The cells lie on the 400 km square around the radar site, as on the
    // screen; only where that square meets the printed one are they visible.
    const MapProjection grid = MapProjection::Init(projection.width, projection.height,
                                                   state.siteLon, state.siteLat, kGridHalfExtentKm);
    const float cellLon = grid.lonSpan * 0.01f;
    const float cellLat = grid.latSpan * 0.01f;
    // Clipping only: the canvas keeps its own pen and brush, which a painter
    // save and restore would put out of step.
    QPainter& painter = canvas.painter();
    painter.setClipRect(sq.a, sq.b, sq.w + 1, sq.h + 1);
    for (int i = 0; i < kGridSide; ++i) {
        const float lat0 = grid.latMin + static_cast<float>(i) * cellLat;
        const int y1 = TruncPixel(projection.LatToY(lat0)) + sq.b;
        const int y2 = TruncPixel(projection.LatToY(lat0 + cellLat)) + sq.b;
        for (int j = 0; j < kGridSide; ++j) {
            const int32_t v = picture.values[static_cast<size_t>(i * kGridSide + j)];
            if (v <= state.filterThreshold) continue;
            const float lon0 = grid.lonMin + static_cast<float>(j) * cellLon;
            const uint32_t colour =
                config.palette[static_cast<size_t>(ColourEntry(state.layerCode, v))];
            canvas.setPenColor(colour);
            canvas.setBrushColor(colour);
            canvas.rectangle(TruncPixel(projection.LonToX(lon0)) + sq.a, y1,
                             TruncPixel(projection.LonToX(lon0 + cellLon)) + sq.a, y2);
        }
    }
    painter.setClipping(false);
}

void PrintRingsAndGrid(Canvas& canvas, const Square& sq) {
    canvas.setPenColor(kBlue);
    canvas.setBrushStyle(BrushStyle::Clear);
    const int cx = sq.w / 2 + sq.a;
    const int cy = sq.h / 2 + sq.b;
    // From the square's half side, so that the outer ring touches its edges.
    const int first = sq.w / 2;
    const int step = first / 4;
    for (int r = first; r > 0; r -= step) {
        canvas.arc(cx - r, cy - r, cx + r, cy + r, cx + r, cy + r, cx + r, cy + r);
        if (step <= 0) break;
    }
    const double stepX = sq.w / 8;
    for (double x = sq.a; x <= sq.w + sq.a && stepX > 0; x += stepX) {
        canvas.moveTo(static_cast<int>(x), sq.b);
        canvas.lineTo(static_cast<int>(x), sq.b + sq.h);
    }
    const double stepY = sq.h / 8;
    for (double y = sq.b; y <= sq.h + sq.b && stepY > 0; y += stepY) {
        canvas.moveTo(sq.a, static_cast<int>(y));
        canvas.lineTo(sq.a + sq.w, static_cast<int>(y));
    }
}

void PrintFrame(Canvas& canvas, const Square& sq, int ppm) {
    const int width = canvas.state().penWidth;
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(std::max(1, ppm / 5));
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.rectangle(sq.a, sq.b, sq.a + sq.w + 1, sq.b + sq.h + 1);
    canvas.setPenWidth(width);
}

void PrintPlaces(Canvas& canvas, const MapProjection& projection, const Square& sq,
                 const std::vector<Place>& places) {
    canvas.setPenColor(kBlue);
    for (const Place& place : places) {
        const float fx = projection.LonToX(place.lon) + static_cast<float>(sq.a);
        const float fy = projection.LatToY(place.lat) + static_cast<float>(sq.b);
        const int x = TruncPixel(fx);
        const int y = TruncPixel(fy);
        // Strictly inside: a place on the border would hang half off the map.
        if (!(x > sq.a && x < sq.a + sq.w && y > sq.b && y < sq.b + sq.h)) continue;
        canvas.setBrushColor(kRed);
        canvas.ellipse(x - 5, y - 5, x + 5, y + 5);
        canvas.setBrushColor(kWhite);
        canvas.textOut(x + 5, y - 5, place.name);
    }
}

}  // namespace

bool PrintPage(const MapProjection& projection, Canvas& canvas, int a, int b,
               const AppConfig& config, const DisplayState& state, const RadarPicture& picture) {
    std::vector<Outline> outlines;
    if (!ReadOutlines(CountryBinPath(config.startDir), CountryIndPath(config.startDir), outlines)) {
        return false;
    }
    const Square sq{a, b, TruncPixel(projection.width), TruncPixel(projection.height)};
    PrintOutlines(canvas, projection, sq, outlines);
    PrintCells(canvas, projection, sq, config, state, picture);
    PrintRingsAndGrid(canvas, sq);
    PrintFrame(canvas, sq, std::max(1, sq.w / 200));
    std::vector<Place> places;
    if (ReadPlaces(PlacesPath(config.startDir), places)) {
        PrintPlaces(canvas, projection, sq, places);
    }
    return true;
}

PrintResult PrintPicture(QPaintDevice& page, const ViewerState& viewer) {
    PrintResult result;
    PrintLayout layout;
    if (!ComputePrintLayout(page.width(), page.height(), layout)) return result;
    const DisplayState& display = viewer.display;
    const MapProjection projection = MapProjection::Init(
        static_cast<float>(layout.mapWidth), static_cast<float>(layout.mapHeight), display.viewLon,
        display.viewLat, kPrintHalfExtentKm);

    CanvasState state;
    state.penWidth = 2;
    Canvas canvas(page, state);
    if (!canvas.isActive()) return result;
    result.pageBegun = true;

    const std::string lines[3] = {HeaderLine1(), ExportHeaderLine2(viewer, HeaderForm::SaveButton),
                                  HeaderLine3(display.layerCode)};
    canvas.setFontSize(kHeaderPoints);
    for (int k = 0; k < 3; ++k) {
        canvas.textOut((layout.lineWidth - canvas.textWidth(lines[k])) / 2, layout.headerTops[k],
                       lines[k]);
    }
    canvas.setFontSize(kPlacePoints);
    result.mapDrawn = PrintPage(projection, canvas, layout.mapLeft, layout.mapTop, viewer.config,
                                display, viewer.picture);
    return result;
}

}  // namespace kalvera
