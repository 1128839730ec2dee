#pragma once
// Where a map square lies on whatever it is drawn on: its top-left corner and
// side in device pixels, and the projection of degrees onto it. The window's
// bitmaps have their square at (0, 0); the printed page has it below the
// header lines; a frame or a map export may put it anywhere.

#include "geo/map_projection.h"
#include "geo/pixel_math.h"

namespace kalvera {

struct Viewport {
    int left = 0;
    int top = 0;
    int side = 0;
    MapProjection projection;  // side x side, relative to (left, top)

    // A square of `side` pixels showing `halfExtentKm` around (lon0, lat0).
    static Viewport Square(int side, float lon0, float lat0, float halfExtentKm, int left = 0,
                           int top = 0) {
        const auto s = static_cast<float>(side);
        return {left, top, side, MapProjection::Init(s, s, lon0, lat0, halfExtentKm)};
    }
    // An existing projection (its width is taken as the side) placed at (left, top).
    static Viewport Of(const MapProjection& projection, int left = 0, int top = 0) {
        return {left, top, TruncPixel(projection.width), projection};
    }

    int right() const { return left + side; }
    int bottom() const { return top + side; }

    // Device pixel of a longitude or latitude: the projected position
    // truncated toward zero, then moved by the corner. Not clipped.
    int X(float lon) const { return left + TruncPixel(projection.LonToX(lon)); }
    int Y(float lat) const { return top + TruncPixel(projection.LatToY(lat)); }
    // Degrees under a device pixel.
    float Lon(int x) const { return projection.XToLon(static_cast<float>(x - left)); }
    float Lat(int y) const { return projection.YToLat(static_cast<float>(y - top)); }
};

}  // namespace kalvera
