#include "geo/geodesy.h"

#include <algorithm>
#include <cmath>

namespace kalvera {

namespace {
constexpr double kRadians = kPi / 180.0;
}  // namespace

double KmPerDegreeLonAt(double latDeg) {
    return kKmPerDegreeLon * std::cos(latDeg * kRadians);
}

double GroundDistanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double dLat = (lat2 - lat1) * kRadians;
    const double dLon = (lon2 - lon1) * kRadians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRadians) * std::cos(lat2 * kRadians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2.0 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

double BearingDeg(double lat1, double lon1, double lat2, double lon2) {
    const double a = lat1 * kRadians, b = lat2 * kRadians;
    const double dLon = (lon2 - lon1) * kRadians;
    const double y = std::sin(dLon) * std::cos(b);
    const double x = std::cos(a) * std::sin(b) - std::sin(a) * std::cos(b) * std::cos(dLon);
    const double deg = std::atan2(y, x) / kRadians;
    return deg < 0.0 ? deg + 360.0 : deg;
}

}  // namespace kalvera
