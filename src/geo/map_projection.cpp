#include "geo/map_projection.h"

#include <algorithm>
#include <cmath>

#include "common/domain_constants.h"

namespace kalvera {

MapProjection MapProjection::Init(float width, float height, float lon0, float lat0,
                                  float halfExtentKm) {
    MapProjection p;
    p.width = width;
    p.height = height;
    p.lat0 = lat0;
    p.lon0 = lon0;
    p.margin = 0.0f;
    p.dLat = static_cast<float>(static_cast<double>(halfExtentKm) * 180.0 * kLatDegPerKmFactor);
    p.latMin = lat0 - p.dLat;
    p.latMax = lat0 + p.dLat;
    p.dLon =
        static_cast<float>(180.0 * static_cast<double>(halfExtentKm) /
                           (std::cos(static_cast<double>(lat0) * kPi / 180.0) * kHalfEquatorKm));
    p.halfWidth = width * 0.5f;
    p.halfHeight = height * 0.5f;
    p.lonMin = lon0 - p.dLon;
    p.lonMax = lon0 + p.dLon;
    p.lonSpan = p.lonMax - p.lonMin;
    p.latSpan = p.latMax - p.latMin;
    return p;
}

void MapProjection::InitBounds(float w, float h, float west, float east, float south, float north) {
    width = w;
    height = h;
    lonMin = west;
    lonMax = east;
    latMin = south;
    latMax = north;
    lonSpan = east - west;
    latSpan = north - south;
    margin = 0.0f;
}

float MapProjection::LonToX(float lon) const {
    const double east = static_cast<double>(lonMax) - lon0;
    return static_cast<float>(((static_cast<double>(lon) - lon0) / east + 1.0) * halfWidth);
}

float MapProjection::LatToY(float lat) const {
    const double north = static_cast<double>(latMax) - lat0;
    return static_cast<float>((1.0 - (static_cast<double>(lat) - lat0) / north) * halfHeight);
}

float MapProjection::XToLon(float x) const {
    return static_cast<float>((static_cast<double>(x) - margin) * lonSpan /
                                  (static_cast<double>(width) - 2.0 * margin) +
                              lonMin);
}

float MapProjection::YToLat(float y) const {
    return static_cast<float>((static_cast<double>(margin) - y) * latSpan /
                                  (static_cast<double>(height) - 2.0 * margin) +
                              latMax);
}

float LonNear(float lon, float reference) {
    const double east = static_cast<double>(lon) - reference;
    if (!(std::abs(east) > 180.0) || !std::isfinite(east)) return lon;
    return static_cast<float>(lon - 360.0 * std::round(east / 360.0));
}

double LonInRange(double lon) {
    if (!(std::abs(lon) > 180.0) || !std::isfinite(lon)) return lon;
    return lon - 360.0 * std::round(lon / 360.0);
}

void MapProjection::RangeAzimuth(float lat, float lon, float& azimuthDeg, float& rangeKm) const {
    // The short way round: a point across the antimeridian is east or west
    // of the centre as it is on the ground.
    lon = LonNear(lon, lon0);
    // Every intermediate is rounded to single precision: the readout the
    // operators are used to depends on it.
    const float a = static_cast<float>((1.0 - lat / 90.0) * kPi / 2.0);
    const float b = static_cast<float>((1.0 - lat0 / 90.0) * kPi / 2.0);
    const float d = static_cast<float>((static_cast<double>(lon) - lon0) * kPi / 2.0 / 90.0);
    const double ca = std::cos(static_cast<double>(a)), sa = std::sin(static_cast<double>(a));
    const double cb = std::cos(static_cast<double>(b)), sb = std::sin(static_cast<double>(b));
    const double cd = std::cos(static_cast<double>(d));
    float c = static_cast<float>(ca * cb + sa * sb * cd);
    c = std::clamp(c, -1.0f, 1.0f);
    rangeKm = static_cast<float>(std::acos(static_cast<double>(c)) * kEarthRadiusKm);
    float s = static_cast<float>(std::sqrt(1.0 - static_cast<double>(c) * c));
    if (s == 0.0f) {
        azimuthDeg = 0.0f;
        return;
    }
    const bool west = lon - lon0 < 0.0f;
    if (west) s = -s;
    double q = (ca * sb - sa * cb * cd) / s;
    q = std::clamp(q, -1.0, 1.0);
    double azimuth = std::acos(q) * 180.0 / kPi;
    if (west) azimuth += 180.0;
    azimuthDeg = static_cast<float>(azimuth);
}

DegMinValue DegMin(float value) {
    DegMinValue result;
    double magnitude = value;
    if (!(magnitude == magnitude)) return result;  // NaN shows as 0.0
    if (magnitude < 0.0) {
        result.negative = true;
        magnitude = -magnitude;
    }
    magnitude = std::min(magnitude, 65535.0);
    const double whole = std::trunc(magnitude);
    result.degrees = static_cast<uint16_t>(whole);
    result.minutes = static_cast<uint16_t>(std::trunc((magnitude - whole) * 60.0));
    if (result.degrees == 0 && result.minutes == 0) result.negative = false;
    return result;
}

std::string DegMinText(float value) {
    const DegMinValue dm = DegMin(value);
    std::string text = dm.negative ? "-" : "";
    text += std::to_string(dm.degrees);
    text += '.';
    text += std::to_string(dm.minutes);
    return text;
}

}  // namespace kalvera
