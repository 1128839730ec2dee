#include "output/map_export.h"

#include "common/path_suffix.h"
#include "common/replace_file.h"
#include "output/gdal_session.h"
#include "output/map_georef.h"

namespace kalvera {

MapFormat MapFormatOf(const std::string& path) {
    if (HasSuffix(path, ".tif") || HasSuffix(path, ".tiff")) return MapFormat::GeoTiff;
    if (HasSuffix(path, ".kmz")) return MapFormat::Kmz;
    if (HasSuffix(path, ".geojson") || HasSuffix(path, ".json")) return MapFormat::GeoJson;
    if (HasSuffix(path, ".gpkg")) return MapFormat::GeoPackage;
    return MapFormat::None;
}

bool WriteMapFile(const MapSource& source, const std::string& path, std::string& error,
                  const std::string& srs) {
    error.clear();
    const MapFormat format = MapFormatOf(path);
    if (format == MapFormat::None) {
        error = "Cannot write " + path + ": the suffix names no map format";
        return false;
    }
    if (!IsPlaceable(GridBoxOf(source.Cells().grid))) {
        error = "Cannot write " + path + ": the site position (" + std::to_string(source.siteLat) +
                ", " + std::to_string(source.siteLon) + ") gives no grid square on the earth";
        return false;
    }
    std::optional<std::string> bytes;
    switch (format) {
        case MapFormat::GeoTiff:
            bytes = EncodeGeoTiff(source, error);
            if (bytes && !srs.empty()) bytes = WarpGeoTiff(*bytes, srs, error);
            break;
        case MapFormat::Kmz:
            bytes = EncodeKmz(source, error);
            break;
        case MapFormat::GeoJson:
            bytes = EncodeClassPolygons(source, "GeoJSON", error);
            break;
        case MapFormat::GeoPackage:
            bytes = EncodeClassPolygons(source, "GPKG", error);
            break;
        case MapFormat::None:
            break;
    }
    if (!bytes) {
        error = "Cannot make " + path + ": " + error;
        return false;
    }
    return ReplaceFileContents(path, *bytes, error);
}

bool WriteTermMap(const AppConfig& config, const DisplayState& at, int layerCode,
                  const std::string& path, std::string& error, const std::string& srs) {
    const std::unique_ptr<MapSource> source = LoadMapSource(config, at, layerCode, error);
    return source && WriteMapFile(*source, path, error, srs);
}

}  // namespace kalvera
