#pragma once
// The local equirectangular mapping between degrees and picture pixels, with
// great-circle range and azimuth from its centre. Single-precision on purpose:
// the figures shown to the operator (63.86 km rather than 63.85) depend on the
// rounding of the intermediate values to 32-bit floats.

#include <cstdint>
#include <string>

#include "geo/geodesy.h"

namespace kalvera {

struct MapProjection {
    float lonSpan = 0.0f;
    float latSpan = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float margin = 0.0f;  // pixels kept free by the inverse mapping; always 0
    float latMin = 0.0f;
    float latMax = 0.0f;
    float lonMin = 0.0f;
    float lonMax = 0.0f;
    float lat0 = 0.0f;
    float lon0 = 0.0f;
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
    float dLat = 0.0f;  // half extent in degrees of latitude
    float dLon = 0.0f;  // half extent in degrees of longitude

    // Longitude before latitude, as everywhere in the projection.
    static MapProjection Init(float width, float height, float lon0, float lat0,
                              float halfExtentKm);
    // Bounds only; the centre and half extents stay as they were.
    void InitBounds(float width, float height, float lonMin, float lonMax, float latMin,
                    float latMax);

    // Pixel position relative to the picture's top-left corner; not clipped.
    float LonToX(float lon) const;
    float LatToY(float lat) const;
    float XToLon(float x) const;
    float YToLat(float y) const;

    // Azimuth (degrees clockwise from north, 0..360) and range (km) from the
    // centre (lat0, lon0) to the point.
    void RangeAzimuth(float lat, float lon, float& azimuthDeg, float& rangeKm) const;
};
static_assert(sizeof(MapProjection) == 15 * sizeof(float));

// The same meridian as `lon`, written within 180 degrees of `reference`: a
// point at -179.9 seen from a site at 179.5 lies at 180.1, just east of it.
// A longitude already within 180 degrees comes back as it is.
float LonNear(float lon, float reference);
// The same meridian written in -180..180.
double LonInRange(double lon);

// Whole degrees and whole minutes of a coordinate, for display. A negative
// coordinate keeps its sign apart, so both parts stay positive.
struct DegMinValue {
    bool negative = false;
    uint16_t degrees = 0;
    uint16_t minutes = 0;
};
DegMinValue DegMin(float value);
// "55.45" for 55.75; "-5.30" for -5.5; minutes are not padded ("55.5").
std::string DegMinText(float value);

}  // namespace kalvera
