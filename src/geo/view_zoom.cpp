#include "geo/view_zoom.h"

#include <cmath>

#include "geo/map_projection.h"

namespace kalvera {

void CentreKeepingPoint(float side, float x, float y, float pointLat, float pointLon,
                        float halfExtentKm, float& centreLat, float& centreLon) {
    // The degrees per pixel depend on the centre's latitude, so the centre is
    // moved until the pixel shows the point; a few rounds reach float
    // precision.
    for (int round = 0; round < 6; ++round) {
        const MapProjection view =
            MapProjection::Init(side, side, centreLon, centreLat, halfExtentKm);
        const float lat = view.YToLat(y);
        const float lon = view.XToLon(x);
        if (!std::isfinite(lat) || !std::isfinite(lon)) return;
        centreLat += pointLat - lat;
        centreLon += pointLon - lon;
    }
}

}  // namespace kalvera
