#include "output/map_export.h"

#include <algorithm>
#include <cctype>

#include "common/replace_file.h"
#include "output/gdal_session.h"
#include "output/map_georef.h"

namespace kalvera {

namespace {

bool EndsWith(const std::string& path, const std::string& suffix) {
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), path.rbegin(), [](char wanted, char given) {
        return std::tolower(static_cast<unsigned char>(given)) == wanted;
    });
}

}  // namespace

MapFormat MapFormatOf(const std::string& path) {
    if (EndsWith(path, ".tif") || EndsWith(path, ".tiff")) return MapFormat::GeoTiff;
    if (EndsWith(path, ".kmz")) return MapFormat::Kmz;
    if (EndsWith(path, ".geojson") || EndsWith(path, ".json")) return MapFormat::GeoJson;
    if (EndsWith(path, ".gpkg")) return MapFormat::GeoPackage;
    return MapFormat::None;
}

bool WriteMapFile(const MapSource& source, const std::string& path, std::string& error) {
    error.clear();
    const MapFormat format = MapFormatOf(path);
    if (format == MapFormat::None) {
        error = "Cannot write " + path + ": the suffix names no map format";
        return false;
    }
    if (!IsPlaceable(GridSquareOf(source.siteLat, source.siteLon))) {
        error = "Cannot write " + path + ": the site position (" + std::to_string(source.siteLat) +
                ", " + std::to_string(source.siteLon) + ") gives no grid square on the earth";
        return false;
    }
    std::optional<std::string> bytes;
    switch (format) {
        case MapFormat::GeoTiff:
            bytes = EncodeGeoTiff(source, error);
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
                  const std::string& path, std::string& error) {
    const std::unique_ptr<MapSource> source = LoadMapSource(config, at, layerCode, error);
    return source && WriteMapFile(*source, path, error);
}

}  // namespace kalvera
