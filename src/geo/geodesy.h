#pragma once
// The Earth's size and the distances on it, for everything that turns degrees
// into kilometres: the projection, site squares, the composite, the nowcast,
// sections and the demo's weather. The sizes are those the radar squares are
// built with: longitudes on the equatorial radius, latitudes on the polar one,
// and ranges on the equatorial sphere.

#include "common/domain_constants.h"

namespace kalvera {

inline constexpr double kEarthRadiusKm = 6378.137;  // equatorial
inline constexpr double kPolarRadiusKm = 6356.777;
// Half the equator, in km: 20037.508342789242.
inline constexpr double kHalfEquatorKm = kPi * kEarthRadiusKm;
// Degrees of latitude per km, over 180: 1 / (pi * polar radius).
inline constexpr double kLatDegPerKmFactor = 1.0 / (kPi * kPolarRadiusKm);
// Km of one degree of latitude, and of longitude on the equator.
inline constexpr double kKmPerDegreeLat = kPi * kPolarRadiusKm / 180.0;
inline constexpr double kKmPerDegreeLon = kHalfEquatorKm / 180.0;

// Km of one degree of longitude at a latitude.
double KmPerDegreeLonAt(double latDeg);

// Great-circle distance in km on the equatorial sphere (haversine, double
// precision: the nearest-site rule compares distances closer than a float step).
double GroundDistanceKm(double lat1, double lon1, double lat2, double lon2);

// Initial bearing from the first point to the second, degrees clockwise from
// north in 0..360.
double BearingDeg(double lat1, double lon1, double lat2, double lon2);

}  // namespace kalvera
