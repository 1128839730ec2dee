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

std::optional<std::string> EncodeMapFile(const MapSource& source, MapFormat format,
                                         std::string& error, const std::string& srs) {
    error.clear();
    if (!IsPlaceable(GridBoxOf(source.Cells().grid))) {
        error = "the site position (" + std::to_string(source.siteLat) + ", " +
                std::to_string(source.siteLon) + ") gives no grid square on the earth";
        return std::nullopt;
    }
    switch (format) {
        case MapFormat::GeoTiff: {
            std::optional<std::string> bytes = EncodeGeoTiff(source, error);
            if (bytes && !srs.empty()) bytes = WarpGeoTiff(*bytes, srs, error);
            return bytes;
        }
        case MapFormat::Kmz:
            return EncodeKmz(source, error);
        case MapFormat::GeoJson:
            return EncodeClassPolygons(source, "GeoJSON", error);
        case MapFormat::GeoPackage:
            return EncodeClassPolygons(source, "GPKG", error);
        case MapFormat::None:
            break;
    }
    error = "the suffix names no map format";
    return std::nullopt;
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
    const std::optional<std::string> bytes = EncodeMapFile(source, format, error, srs);
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
