#pragma once
// A term's layer with known cells, and GDAL reads of what the map exports
// wrote, for the map export tests.

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <memory>
#include <string>

#include "output/map_source.h"

namespace kalvera::testing {

constexpr float kSiteLat = 55.65f;
constexpr float kSiteLon = 37.77f;

// Every cell 0 except those given as {row from the south, column, value}.
inline std::unique_ptr<MapSource> SourceWith(int layerCode,
                                             std::initializer_list<std::array<int, 3>> cells) {
    auto source = std::make_unique<MapSource>();
    source->layerCode = layerCode;
    source->siteLat = kSiteLat;
    source->siteLon = kSiteLon;
    source->siteCode = "27612";
    source->siteName = "Москва";
    source->dayName = "261207";
    source->termText = "12.00";
    for (uint32_t k = 0; k < source->palette.size(); ++k) source->palette[k] = k * 0x070503;
    for (const auto& [row, col, value] : cells) {
        source->grid.values[static_cast<size_t>(row * kGridSide + col)] = value;
    }
    return source;
}

struct GdalCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using OpenedDataset = std::unique_ptr<GDALDataset, GdalCloser>;

inline OpenedDataset OpenWithGdal(const std::string& path,
                                  unsigned kinds = GDAL_OF_RASTER | GDAL_OF_VECTOR) {
    GDALAllRegister();
    return OpenedDataset(GDALDataset::Open(path.c_str(), kinds | GDAL_OF_READONLY));
}

}  // namespace kalvera::testing
