#pragma once
// Kilometres of a grid's cells and the places of fractional cell positions,
// for grids of any size: a site's square or the composite. Positions count
// cells from the grid's south-western corner to cell centres, so cell (i, j)
// has its centre at row i, column j.

#include <cmath>

#include "common/domain_constants.h"
#include "geo/geodesy.h"
#include "geo/radar_grid.h"

namespace kalvera {

struct GridPosition {
    double row = 0.0;
    double column = 0.0;
};

struct LatLon {
    double lat = 0.0;
    double lon = 0.0;
};

// The size of one cell in km, east-west taken at the grid's middle latitude:
// at 4-km cells the change across a site's square is under 1 %.
struct GridScale {
    double dxKm = 0.0;
    double dyKm = 0.0;

    static GridScale Of(const RadarGrid& grid) {
        const double midLat = grid.latMin() + 0.5 * grid.rows() * grid.cellLat();
        return {grid.cellLon() * KmPerDegreeLonAt(midLat), grid.cellLat() * kKmPerDegreeLat};
    }
    double cellAreaKm2() const { return dxKm * dyKm; }
};

inline LatLon PlaceOf(const RadarGrid& grid, GridPosition at) {
    return {grid.latMin() + (at.row + 0.5) * grid.cellLat(),
            grid.lonMin() + (at.column + 0.5) * grid.cellLon()};
}

inline GridPosition PositionOf(const RadarGrid& grid, LatLon place) {
    return {(place.lat - grid.latMin()) / grid.cellLat() - 0.5,
            (place.lon - grid.lonMin()) / grid.cellLon() - 0.5};
}

}  // namespace kalvera
