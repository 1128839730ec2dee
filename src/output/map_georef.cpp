#include "output/map_georef.h"

#include <ogr_spatialref.h>

#include <cmath>

#include "geo/radar_grid.h"

namespace kalvera {

GeoBox GridSquareOf(float siteLat, float siteLon) {
    return BoxOf(RadarGrid::AroundSite(siteLon, siteLat));
}

GeoBox BoxOf(const RadarGrid& grid) {
    GeoBox box;
    box.west = grid.lonMin();
    box.south = grid.latMin();
    box.east = box.west + grid.columns() * static_cast<double>(grid.cellLon());
    box.north = box.south + grid.rows() * static_cast<double>(grid.cellLat());
    return box;
}

GeoBox ViewSquareOf(const MapProjection& view) {
    return {view.lonMin, view.latMin, view.lonMax, view.latMax};
}

bool IsPlaceable(const GeoBox& box) {
    for (const double bound : {box.west, box.south, box.east, box.north}) {
        if (!std::isfinite(bound)) return false;
    }
    return box.west < box.east && box.south < box.north && box.south >= -90.0 &&
           box.north <= 90.0 && box.east - box.west <= 360.0;
}

GeoTransform GeoTransformOf(const GeoBox& box, int cols, int rows) {
    return {box.west, (box.east - box.west) / cols,   0.0, box.north,
            0.0,      -(box.north - box.south) / rows};
}

OGRSpatialReference Wgs84Srs() {
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

std::string Wgs84Wkt(bool esri) {
    const OGRSpatialReference srs = Wgs84Srs();
    char* wkt = nullptr;
    const char* const options[] = {esri ? "FORMAT=WKT1_ESRI" : "FORMAT=WKT1", nullptr};
    srs.exportToWkt(&wkt, options);
    std::string text = wkt ? wkt : "";
    CPLFree(wkt);
    return text;
}

}  // namespace kalvera
