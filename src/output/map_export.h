#pragma once
// A term's layer as a file for GIS programs, Google Earth and web pages, the
// format chosen by the file's suffix. Each file is made whole in memory and
// then replaces the target in one step; a failure leaves the target as it was.

#include <optional>
#include <string>

#include "output/map_source.h"

namespace kalvera {

enum class MapFormat { None, GeoTiff, Kmz, GeoJson, GeoPackage };

// .tif/.tiff, .kmz, .geojson/.json, .gpkg, in any case; None otherwise.
MapFormat MapFormatOf(const std::string& path);

// Writes the source in the format of the path's suffix. False, with a reason
// that names the file, when the suffix names no map format, the site gives no
// grid square on the earth, or the file cannot be made or written.
// A GeoTIFF is warped into `srs` (an EPSG code, a PROJ string or any text
// GDAL takes) when one is given, nearest neighbour, keeping nodata apart.
bool WriteMapFile(const MapSource& source, const std::string& path, std::string& error,
                  const std::string& srs = {});

// The bytes of the file WriteMapFile writes, made in memory; nothing, with
// the reason, when the format is None, the site gives no grid square on the
// earth or the encoding fails. A GeoTIFF is warped into `srs` when given.
std::optional<std::string> EncodeMapFile(const MapSource& source, MapFormat format,
                                         std::string& error, const std::string& srs = {});

// Loads layer `layerCode` of the term that `at` names (see LoadMapSource)
// and writes it as `path`; false with the reason when either step fails.
bool WriteTermMap(const AppConfig& config, const DisplayState& at, int layerCode,
                  const std::string& path, std::string& error, const std::string& srs = {});

// The file's bytes, or nothing with the reason in `error`.
// The 100 x 100 grid in physical values, georeferenced, with nodata.
std::optional<std::string> EncodeGeoTiff(const MapSource& source, std::string& error);
// The GeoTIFF `tiff` warped by GDAL into `srs`, nearest neighbour.
std::optional<std::string> WarpGeoTiff(const std::string& tiff, const std::string& srs,
                                       std::string& error);
// Polygons of the cells at or above each legend class, through `driver`
// ("GeoJSON" or "GPKG").
std::optional<std::string> EncodeClassPolygons(const MapSource& source, const char* driver,
                                               std::string& error);
// A ground overlay of the cells, the legend and the site, zipped.
std::optional<std::string> EncodeKmz(const MapSource& source, std::string& error);

}  // namespace kalvera
