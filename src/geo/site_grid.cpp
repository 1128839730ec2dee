#include "geo/site_grid.h"

#include "geo/map_projection.h"

namespace kalvera {

namespace {
// A cell coordinate truncated toward zero, or -1 when it is no cell: NaN and
// far-off points must not reach an integer conversion.
int CellIndex(float position, int count) {
    if (!(position >= 0.0f) || position >= static_cast<float>(count)) return -1;
    return static_cast<int>(position);
}
}  // namespace

int GridCellAt(float siteLat, float siteLon, int cols, int rows, float lat, float lon) {
    if (cols <= 0 || rows <= 0) return -1;
    // The projection's bounds do not depend on its pixel size.
    const MapProjection grid =
        MapProjection::Init(1.0f, 1.0f, siteLon, siteLat, kSiteGridHalfExtentKm);
    const float cellLon = grid.lonSpan / static_cast<float>(cols);
    const float cellLat = grid.latSpan / static_cast<float>(rows);
    if (!(cellLon > 0.0f) || !(cellLat > 0.0f)) return -1;
    const int row = CellIndex((lat - grid.latMin) / cellLat, rows);
    const int column = CellIndex((lon - grid.lonMin) / cellLon, cols);
    if (row < 0 || column < 0) return -1;
    return row * cols + column;
}

}  // namespace kalvera
