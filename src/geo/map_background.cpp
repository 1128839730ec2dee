#include "geo/map_background.h"

#include <algorithm>

#include "geo/settings.h"
#include "render/canvas.h"
#include "render/pixel_math.h"

namespace kalvera {

RingsAndGrid RingsAndGridFor(int side) {
    RingsAndGrid result;
    result.cx = side / 2;
    const int ringStep = result.cx / 4;
    for (int r = result.cx; r > 0; r -= ringStep) {
        result.radii.push_back(r);
        if (ringStep <= 0) break;  // a side below 8 would never get past its first ring
    }
    const int lineStep = side / 8;
    for (int x = 0; x <= side; x += lineStep) {
        result.lines.push_back(x);
        if (lineStep <= 0) break;
    }
    return result;
}

void PinnedOutline(const MapProjection& view, int side, const Outline& outline,
                   std::vector<CanvasPoint>& points) {
    points.resize(outline.size());
    for (size_t i = 0; i < outline.size(); ++i) {
        // Pinned to the edges: an outline leaving the view runs along them.
        points[i].x = std::clamp(TruncPixel(view.LonToX(outline[i].lon)), 0, side);
        points[i].y = std::clamp(TruncPixel(view.LatToY(outline[i].lat)), 0, side);
    }
}

namespace {

void DrawOutlines(Canvas& canvas, const MapProjection& view, int side,
                  const std::vector<Outline>& outlines) {
    canvas.setPenColor(kOlive);
    std::vector<CanvasPoint> points;
    for (const Outline& outline : outlines) {
        PinnedOutline(view, side, outline, points);
        canvas.polyline(points);
    }
}

void DrawPlaces(Canvas& canvas, const MapProjection& view, const std::vector<Place>& places) {
    for (const Place& place : places) {
        const int x = TruncPixel(view.LonToX(place.lon));
        const int y = TruncPixel(view.LatToY(place.lat));
        canvas.setBrushColor(kRed);
        canvas.ellipse(x - 5, y - 5, x + 5, y + 5);
        canvas.setBrushColor(kWhite);
        canvas.textOut(x + 5, y - 5, place.name);
    }
}

void DrawRingsAndGrid(Canvas& canvas, int side) {
    canvas.setPenColor(kBlue);
    const RingsAndGrid marks = RingsAndGridFor(side);
    const int c = marks.cx;
    for (int r : marks.radii) {
        canvas.arc(c - r, c - r, c + r, c + r, c + r, c + r, c + r, c + r);
    }
    for (int x : marks.lines) {
        canvas.moveTo(x, 0);
        canvas.lineTo(x, side);
    }
    for (int y : marks.lines) {
        canvas.moveTo(0, y);
        canvas.lineTo(side, y);
    }
}

}  // namespace

void DrawMapBackground(BitmapLayer& mapLayer, const DisplayState& state,
                       const std::string& startDir, MapProjection& view, MapResourceCache& cache) {
    const std::vector<Outline>* outlines =
        cache.outlines(CountryBinPath(startDir), CountryIndPath(startDir));
    if (outlines == nullptr) return;

    const int side = mapLayer.width();
    const auto fside = static_cast<float>(side);
    view = MapProjection::Init(fside, fside, state.viewLon, state.viewLat, state.viewHalfExtentKm);

    Canvas canvas(mapLayer.image, mapLayer.state);
    // The frame keeps the pen of the previous drawing: black at first, then blue.
    canvas.setBrushColor(kWhite);
    canvas.setPenWidth(1);
    canvas.rectangle(0, 0, side, side);
    DrawOutlines(canvas, view, side, *outlines);
    canvas.setPenColor(kBlack);
    if (const std::vector<Place>* places = cache.places(PlacesPath(startDir))) {
        DrawPlaces(canvas, view, *places);
    }
    DrawRingsAndGrid(canvas, side);
}

}  // namespace kalvera
