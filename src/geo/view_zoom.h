#pragma once
// Zooming about a point: the new view centre that keeps a geographic point
// at the same pixel of the picture when the half extent changes.

namespace kalvera {

// The centre (lat, lon) of a side x side view of `halfExtentKm` in which
// (pointLat, pointLon) falls on pixel (x, y). `centreLat` and `centreLon`
// come in as the old centre and go out as the new one.
void CentreKeepingPoint(float side, float x, float y, float pointLat, float pointLon,
                        float halfExtentKm, float& centreLat, float& centreLon);

}  // namespace kalvera
