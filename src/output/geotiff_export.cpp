// The grid as a GeoTIFF: one Float32 band of physical values, north row first.

#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <gdal_utils.h>

#include <vector>

#include "nowcast/extrapolation.h"
#include "output/gdal_session.h"
#include "output/layer_quantity.h"
#include "output/map_export.h"
#include "output/map_georef.h"
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
    if (source.composite) {
        std::string sites;
        for (const MosaicSite& site : source.compositeSites) {
            sites += (sites.empty() ? "" : ",") + site.code;
        }
        dataset.SetMetadataItem("SITES", sites.c_str());
        dataset.SetMetadataItem("METHOD", source.compositeMethod.c_str());
    }
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
    const GridValues cells = source.Cells();
    const int columns = cells.grid.columns();
    const int rows = cells.grid.rows();
    GDALDataset* dataset = driver ? driver->Create(memory.path(name).c_str(), columns, rows, 1,
                                                   GDT_Float32, const_cast<char**>(options))
                                  : nullptr;
    if (!dataset) {
        error = GdalQuiet::LastReason("GDAL has no GeoTIFF driver");
        return std::nullopt;
    }
    GeoTransform transform = GeoTransformOf(GridBoxOf(cells.grid), columns, rows);
    dataset->SetGeoTransform(transform.data());
    dataset->SetProjection(Wgs84Wkt().c_str());
    Describe(*dataset, source);
    std::vector<float> values = NorthUpCells<float>(cells, [&](int32_t raw) {
        return static_cast<float>(PhysicalValue(source.layerCode, raw));
    });
    const CPLErr written = dataset->GetRasterBand(1)->RasterIO(
        GF_Write, 0, 0, columns, rows, values.data(), columns, rows, GDT_Float32, 0, 0);
    GDALClose(dataset);
    // The compressed strips are written at the close, which reports nothing
    // itself; a failure there shows only as the library's last error.
    if (written != CE_None || CPLGetLastErrorType() >= CE_Failure) {
        error = GdalQuiet::LastReason("the GeoTIFF could not be encoded");
        return std::nullopt;
    }
    return memory.read(name);
}

std::optional<std::string> WarpGeoTiff(const std::string& tiff, const std::string& srs,
                                       std::string& error) {
    GdalQuiet quiet;
    OGRSpatialReference target;
    if (target.SetFromUserInput(srs.c_str()) != OGRERR_NONE) {
        error = "GDAL does not know the spatial reference '" + srs + "'";
        return std::nullopt;
    }
    MemoryDir memory;
    const std::string in = memory.path("in.tif");
    VSILFILE* file = VSIFOpenL(in.c_str(), "wb");
    const bool stored =
        file != nullptr && VSIFWriteL(tiff.data(), 1, tiff.size(), file) == tiff.size();
    if (file != nullptr) VSIFCloseL(file);
    GDALDatasetH source = stored ? GDALOpen(in.c_str(), GA_ReadOnly) : nullptr;
    if (source == nullptr) {
        error = GdalQuiet::LastReason("the GeoTIFF could not be read back for warping");
        return std::nullopt;
    }
    // Nearest neighbour keeps every value one the grid holds; the nodata
    // value marks what lies outside it in the new grid too.
    const char* const arguments[] = {"-t_srs",     srs.c_str(), "-r",   "near",
                                     "-of",        "GTiff",     "-co",  "COMPRESS=DEFLATE",
                                     "-dstnodata", "-9999",     nullptr};
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(const_cast<char**>(arguments), nullptr);
    int usageError = 0;
    GDALDatasetH warped = options ? GDALWarp(memory.path("out.tif").c_str(), nullptr, 1, &source,
                                             options, &usageError)
                                  : nullptr;
    if (options) GDALWarpAppOptionsFree(options);
    const bool made = warped != nullptr;
    if (warped) GDALClose(warped);
    GDALClose(source);
    if (!made || CPLGetLastErrorType() >= CE_Failure) {
        error = GdalQuiet::LastReason("GDAL could not warp the grid into " + srs);
        return std::nullopt;
    }
    return memory.read("out.tif");
}

}  // namespace kalvera
