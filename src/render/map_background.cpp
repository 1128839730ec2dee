#include "render/map_background.h"

#include <QRect>
#include <algorithm>
#include <vector>

#include "geo/settings.h"

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

void PinnedOutline(const Viewport& viewport, const Outline& outline,
                   std::vector<CanvasPoint>& points) {
    points.resize(outline.size());
    for (size_t i = 0; i < outline.size(); ++i) {
        points[i].x = std::clamp(viewport.X(outline[i].lon), viewport.left, viewport.right());
        points[i].y = std::clamp(viewport.Y(outline[i].lat), viewport.top, viewport.bottom());
    }
}

void DrawOutlines(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                  const std::vector<Outline>& outlines) {
    // Open lines: the outlines are borders and coasts, not closed rings, and
    // filling them would wipe out whatever was drawn before.
    canvas.setPenColor(style.outlineColor);
    canvas.setPenWidth(style.lineWidth);
    std::vector<CanvasPoint> points;
    for (const Outline& outline : outlines) {
        PinnedOutline(viewport, outline, points);
        canvas.polyline(points);
    }
}

void DrawPlaces(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                const std::vector<Place>& places) {
    canvas.setPenColor(style.placeRimColor);
    canvas.setPenWidth(style.lineWidth);
    canvas.setFontSize(style.placeNamePoints);
    const int r = style.placeRadius;
    const int lineHeight = canvas.painter().fontMetrics().height();
    // Names already written: one that would overprint them goes to the left
    // of its dot instead, and is left out where that too is taken, as map
    // programs do. The places file lists the more important places first.
    std::vector<QRect> taken;
    const auto isFree = [&taken](const QRect& box) {
        return std::none_of(taken.begin(), taken.end(),
                            [&box](const QRect& other) { return other.intersects(box); });
    };
    for (const Place& place : places) {
        const int x = viewport.X(place.lon);
        const int y = viewport.Y(place.lat);
        if (style.placesInsideOnly && !(x > viewport.left && x < viewport.right() &&
                                        y > viewport.top && y < viewport.bottom())) {
            continue;
        }
        canvas.setBrushColor(kRed);
        canvas.ellipse(x - r, y - r, x + r, y + r);
        canvas.setBrushColor(kWhite);
        const int width = canvas.textWidth(place.name);
        const QRect right(x + r, y - r, width, lineHeight);
        const QRect left(x - r - width, y - r, width, lineHeight);
        for (const QRect& box : {right, left}) {
            if (!isFree(box)) continue;
            canvas.textOut(box.left(), box.top(), place.name);
            taken.push_back(box);
            break;
        }
    }
}

void DrawRingsAndGrid(Canvas& canvas, const Viewport& viewport, const LayerStyle& style) {
    canvas.setPenColor(style.ringColor);
    canvas.setPenWidth(style.lineWidth);
    const RingsAndGrid marks = RingsAndGridFor(viewport.side);
    const int cx = viewport.left + marks.cx;
    const int cy = viewport.top + marks.cx;
    for (int r : marks.radii) {
        canvas.arc(cx - r, cy - r, cx + r, cy + r, cx + r, cy + r, cx + r, cy + r);
    }
    for (int offset : marks.lines) {
        canvas.moveTo(viewport.left + offset, viewport.top);
        canvas.lineTo(viewport.left + offset, viewport.bottom());
    }
    for (int offset : marks.lines) {
        canvas.moveTo(viewport.left, viewport.top + offset);
        canvas.lineTo(viewport.right(), viewport.top + offset);
    }
}

void DrawSquareFrame(Canvas& canvas, const Viewport& viewport, const LayerStyle& style) {
    if (style.frameWidth <= 0) return;
    canvas.setPenColor(style.frameColor);
    canvas.setPenWidth(style.frameWidth);
    canvas.setBrushStyle(BrushStyle::Clear);
    // One pixel further right and down: the grid's last lines lie on
    // right() and bottom() themselves, and the frame goes round them.
    canvas.rectangle(viewport.left, viewport.top, viewport.right() + 1, viewport.bottom() + 1);
}

void DrawMapBackground(BitmapLayer& mapLayer, const DisplayState& state,
                       const std::string& startDir, MapProjection& view, MapResourceCache& cache) {
    const std::vector<Outline>* outlines =
        cache.outlines(CountryBinPath(startDir), CountryIndPath(startDir));
    if (outlines == nullptr) return;

    const int side = mapLayer.width();
    const Viewport viewport =
        Viewport::Square(side, state.viewLon, state.viewLat, state.viewHalfExtentKm);
    view = viewport.projection;

    const LayerStyle style = LayerStyle::Screen();
    Canvas canvas(mapLayer.image, mapLayer.state);
    // The white square keeps the pen of the previous drawing as its rim:
    // black at first, then blue.
    canvas.setBrushColor(kWhite);
    canvas.setPenWidth(style.lineWidth);
    canvas.rectangle(0, 0, side, side);
    DrawOutlines(canvas, viewport, style, *outlines);
    if (const std::vector<Place>* places = cache.places(PlacesPath(startDir))) {
        DrawPlaces(canvas, viewport, style, *places);
    }
    DrawRingsAndGrid(canvas, viewport, style);
}

void UpdateMapBackground(ViewerState& viewer) {
    const DisplayState& d = viewer.display;
    const std::string& startDir = viewer.config.startDir;
    MapResourceCache& cache = viewer.mapCache;
    // Asking the cache first reads whatever changed on disk, which the read
    // count then shows.
    MapBackgroundStamp now;
    now.drawn = cache.outlines(CountryBinPath(startDir), CountryIndPath(startDir)) != nullptr;
    cache.places(PlacesPath(startDir));
    now.viewLat = d.viewLat;
    now.viewLon = d.viewLon;
    now.halfExtentKm = d.viewHalfExtentKm;
    now.side = viewer.MapLayer.width();
    now.pens = viewer.MapLayer.state;
    now.resourceReads = cache.reads();
    now.ratio = viewer.MapLayer.ratio();
    if (now.drawn && now == viewer.mapDrawnFor) {
        viewer.view =
            Viewport::Square(now.side, d.viewLon, d.viewLat, d.viewHalfExtentKm).projection;
        return;
    }
    DrawMapBackground(viewer.MapLayer, d, startDir, viewer.view, cache);
    viewer.mapDrawnFor = now;
}

}  // namespace kalvera
