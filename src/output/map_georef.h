#pragma once
// Where a picture lies on the earth, in the terms GIS programs use.
//
// The projection maps latitude and longitude each linearly onto the picture
// (the kilometres only size the box), so a map square and the radar grid are
// both plain latitude/longitude boxes cut into equal steps of degrees. That is
// exactly a north-up affine geotransform in WGS 84 geographic coordinates
// (EPSG:4326, longitude first); no custom projection is needed.

#include <ogr_spatialref.h>

#include <array>
#include <string>

#include "geo/map_projection.h"
#include "geo/radar_grid.h"

namespace kalvera {

struct GeoBox {
    double west = 0.0;
    double south = 0.0;
    double east = 0.0;
    double north = 0.0;
};

// GDAL's six numbers: origin x, pixel width, 0, origin y, 0, -pixel height.
using GeoTransform = std::array<double, 6>;

// The square of the 100 x 100 grid around a site, with its edges where the
// viewer puts the cells: the west and south bounds of the grid projection
// plus 100 cell steps, in the projection's single precision.
GeoBox GridSquareOf(float siteLat, float siteLon);

// The box any regular grid covers, worked out the same way: its west and
// south bounds plus its cell steps, in double precision.
GeoBox BoxOf(const RadarGrid& grid);

// The box a view projection covers.
GeoBox ViewSquareOf(const MapProjection& view);

// False for a box no GIS program can place: a bound that is not finite,
// latitudes beyond the poles, or no extent.
bool IsPlaceable(const GeoBox& box);

// North up, `cols` x `rows` pixels covering the box.
GeoTransform GeoTransformOf(const GeoBox& box, int cols, int rows);

// WGS 84 geographic coordinates (EPSG:4326), longitude first.
OGRSpatialReference Wgs84Srs();

// The same as WKT, longitude first as GIS files hold
// them. `esri` gives the dialect that .prj files beside images use.
std::string Wgs84Wkt(bool esri = false);

}  // namespace kalvera
