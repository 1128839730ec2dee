#include "output/map_georef.h"

#include <ogr_spatialref.h>

#include <cmath>

#include "common/radar_picture.h"
#include "render/picture_render.h"

namespace kalvera {

GeoBox GridSquareOf(float siteLat, float siteLon) {
    // The side in pixels does not move the bounds; any will do.
    const MapProjection grid =
        MapProjection::Init(100.0f, 100.0f, siteLon, siteLat, kGridHalfExtentKm);
    const float cellLon = grid.lonSpan / static_cast<float>(kGridSide);
    const float cellLat = grid.latSpan / static_cast<float>(kGridSide);
    GeoBox box;
    box.west = grid.lonMin;
    box.south = grid.latMin;
    box.east = box.west + kGridSide * static_cast<double>(cellLon);
    box.north = box.south + kGridSide * static_cast<double>(cellLat);
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

std::string Wgs84Wkt(bool esri) {
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    char* wkt = nullptr;
    const char* const options[] = {esri ? "FORMAT=WKT1_ESRI" : "FORMAT=WKT1", nullptr};
    srs.exportToWkt(&wkt, options);
    std::string text = wkt ? wkt : "";
    CPLFree(wkt);
    return text;
}

}  // namespace kalvera
