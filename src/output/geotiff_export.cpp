// The grid as a GeoTIFF: one Float32 band of physical values, north row first.

#include <gdal_priv.h>

#include <vector>

#include "output/gdal_session.h"
#include "output/layer_quantity.h"
#include "output/map_export.h"
#include "output/map_georef.h"
#include "nowcast/extrapolation.h"
#include "products/derived_products.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {

// The layer's title with its units, named once: VIL's title carries them.
std::string BandDescription(int layerCode) {
    if (layerCode == kLayerVil) return LayerTitle(layerCode);
    return LayerTitle(layerCode) + ", " + UnitsOf(layerCode);
}

void Describe(GDALDataset& dataset, const MapSource& source) {
    const std::string units = UnitsOf(source.layerCode);
    dataset.SetMetadataItem("SITE", source.siteCode.c_str());
    dataset.SetMetadataItem("SITE_NAME", source.siteName.c_str());
    dataset.SetMetadataItem("DAY", source.dayName.c_str());
    dataset.SetMetadataItem("TERM", source.termText.c_str());
    dataset.SetMetadataItem("TIME", ValidTimeOf(source).c_str());
    if (source.leadMinutes > 0) {
        // A forecast: TERM is the term it was made from, TIME the one it shows.
        dataset.SetMetadataItem("PRODUCT", "nowcast (extrapolation)");
        dataset.SetMetadataItem("BASE_TERM", source.termText.c_str());
        dataset.SetMetadataItem("BASE_TIME", IsoTimeOf(source.dayName, source.termText).c_str());
        dataset.SetMetadataItem("LEAD_MIN", std::to_string(source.leadMinutes).c_str());
        dataset.SetMetadataItem("SKILL", IsLowSkillLead(source.leadMinutes) ? "low" : "normal");
    }
    dataset.SetMetadataItem("LAYER", LayerName(source.layerCode).c_str());
    dataset.SetMetadataItem("UNITS", units.c_str());
    GDALRasterBand* band = dataset.GetRasterBand(1);
    band->SetDescription(BandDescription(source.layerCode).c_str());
    band->SetUnitType(units.c_str());
    band->SetNoDataValue(kNoDataValue);
}

}  // namespace

std::optional<std::string> EncodeGeoTiff(const MapSource& source, std::string& error) {
    GdalQuiet quiet;
    MemoryDir memory;
    const std::string name = "grid.tif";
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const char* const options[] = {"COMPRESS=DEFLATE", "PREDICTOR=3", nullptr};
    GDALDataset* dataset = driver ? driver->Create(memory.path(name).c_str(), kGridSide, kGridSide,
                                                   1, GDT_Float32, const_cast<char**>(options))
                                  : nullptr;
    if (!dataset) {
        error = GdalQuiet::LastReason("GDAL has no GeoTIFF driver");
        return std::nullopt;
    }
    GeoTransform transform =
        GeoTransformOf(GridSquareOf(source.siteLat, source.siteLon), kGridSide, kGridSide);
    dataset->SetGeoTransform(transform.data());
    dataset->SetProjection(Wgs84Wkt().c_str());
    Describe(*dataset, source);
    std::vector<float> values = NorthUpCells<float>(source.grid, [&](int32_t raw) {
        return static_cast<float>(PhysicalValue(source.layerCode, raw));
    });
    const CPLErr written =
        dataset->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, kGridSide, kGridSide, values.data(),
                                            kGridSide, kGridSide, GDT_Float32, 0, 0);
    GDALClose(dataset);
    // The compressed strips are written at the close, which reports nothing
    // itself; a failure there shows only as the library's last error.
    if (written != CE_None || CPLGetLastErrorType() >= CE_Failure) {
        error = GdalQuiet::LastReason("the GeoTIFF could not be encoded");
        return std::nullopt;
    }
    return memory.read(name);
}

}  // namespace kalvera
