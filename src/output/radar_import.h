#pragma once
// Other services' radar rasters brought onto a site's 100 x 100 grid: ODIM_H5
// IMAGE and COMP objects (through libhdf5) and single-band GeoTIFF rasters
// (through GDAL), each with its georeference and nominal time.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvera {

// One field of a source file in its own projection. Values run by rows from
// the top (north) row; NaN is no data, anything else the physical value
// (dBZ for reflectivity, metres for echo tops, the class for phenomena).
struct ImportField {
    int layerCode = 0;  // 1..10, 21 or 22
    int width = 0, height = 0;
    // GDAL's order: x0, dx, 0, y0, 0, dy for the outer corner of the top-left cell.
    std::array<double, 6> transform{};
    std::string srs;  // anything OGRSpatialReference::SetFromUserInput takes
    std::vector<double> values;
};

struct ImportSource {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;  // nominal time, UTC
    std::vector<ImportField> fields;
};

// False with the reason when the file is not one we can read.
bool ReadOdimSource(const std::string& path, ImportSource& source, std::string& error);
bool ReadGeoTiffSource(const std::string& path, ImportSource& source, std::string& error);
// By the file's first bytes: HDF5 or anything else GDAL opens.
bool ReadImportSource(const std::string& path, ImportSource& source, std::string& error);

// What an archive cell holds for no data.
constexpr int32_t kImportNoData = 65535;

// The field on the square around a site, as archive values (reflectivity in
// half dBZ, echo tops in metres, phenomena codes), each cell taking the source
// cell under its centre; cells the source does not cover, or covers with no
// data, hold kImportNoData. False with the reason when the projection is unknown.
bool ResampleToSite(const ImportField& field, double siteLat, double siteLon,
                    std::vector<int32_t>& cells, std::string& error);

}  // namespace kalvera
