// Legend classes as polygons: for each class, GDAL's polygonize outlines the
// contiguous cells at or above it, so the polygons of a higher class lie
// inside those of the lower ones, as filled contours do.

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <memory>
#include <vector>

#include "output/gdal_session.h"
#include "output/layer_quantity.h"
#include "output/map_export.h"
#include "output/map_georef.h"
#include "render/cell_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// A one-band raster in memory, placed on the grid square.
DatasetPtr ClassRaster(const GridValues& cells, const OGRSpatialReference& srs) {
    GDALDriver* mem = GetGDALDriverManager()->GetDriverByName("MEM");
    const int columns = cells.grid.columns();
    const int rows = cells.grid.rows();
    DatasetPtr raster(mem ? mem->Create("", columns, rows, 1, GDT_Byte, nullptr) : nullptr);
    if (!raster) return nullptr;
    GeoTransform transform = GeoTransformOf(GridBoxOf(cells.grid), columns, rows);
    raster->SetGeoTransform(transform.data());
    raster->SetSpatialRef(&srs);
    return raster;
}

// Outlines the cells of class `k` or above and adds them to `out` with the
// class, its legend label and the values the class holds. Class 0 is the
// area a composite covers (kCovered in `classes`): "nothing detected" there,
// against no data outside it.
constexpr GByte kNotCovered = 255;
bool AddClass(const MapSource& source, const std::vector<GByte>& classes, int k,
              GDALDataset& raster, GDALDataset& scratch, OGRSpatialReference& srs, OGRLayer& out) {
    std::vector<GByte> mask(classes.size());
    for (size_t i = 0; i < classes.size(); ++i) {
        mask[i] = classes[i] != kNotCovered && classes[i] >= k ? 1 : 0;
    }
    GDALRasterBand* band = raster.GetRasterBand(1);
    const int columns = raster.GetRasterXSize();
    const int rows = raster.GetRasterYSize();
    if (band->RasterIO(GF_Write, 0, 0, columns, rows, mask.data(), columns, rows, GDT_Byte, 0,
                       0) != CE_None) {
        return false;
    }
    OGRLayer* cells =
        scratch.CreateLayer(("class" + std::to_string(k)).c_str(), &srs, wkbPolygon, nullptr);
    OGRFieldDefn value("value", OFTInteger);
    if (!cells || cells->CreateField(&value) != OGRERR_NONE) return false;
    // The band is its own mask: cells outside the class make no polygon.
    if (GDALPolygonize(band, band, cells, 0, nullptr, nullptr, nullptr) != CE_None) return false;
    const std::string label(k == 0 ? "coverage" : LegendLabel(source.layerCode, k));
    const ClassBounds bounds = k == 0 ? ClassBounds{} : ClassBoundsOf(source.layerCode, k);
    const std::string units = UnitsOf(source.layerCode);
    for (auto& cell : *cells) {
        OGRFeature feature(out.GetLayerDefn());
        feature.SetField("class", k);
        feature.SetField("label", label.c_str());
        feature.SetField("min_value", bounds.min);
        if (k == 0) {
            feature.SetFieldNull(feature.GetFieldIndex("min_value"));
            feature.SetFieldNull(feature.GetFieldIndex("max_value"));
        } else if (bounds.max) {
            feature.SetField("max_value", *bounds.max);
        } else {
            feature.SetFieldNull(feature.GetFieldIndex("max_value"));
        }
        feature.SetField("units", units.c_str());
        feature.SetGeometry(cell->GetGeometryRef());
        if (out.CreateFeature(&feature) != OGRERR_NONE) return false;
    }
    return true;
}

bool WriteClasses(const MapSource& source, GDALDataset& target, OGRSpatialReference& srs,
                  bool geoJson) {
    const GridValues cells = source.Cells();
    DatasetPtr raster = ClassRaster(cells, srs);
    GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("Memory");
    DatasetPtr scratch(memory ? memory->Create("", 0, 0, 0, GDT_Unknown, nullptr) : nullptr);
    // Web maps expect GeoJSON's own rules: WGS 84 longitude/latitude and
    // outer rings counter-clockwise.
    const char* const rfc7946[] = {"RFC7946=YES", nullptr};
    OGRLayer* out = target.CreateLayer("radar", &srs, wkbPolygon,
                                       geoJson ? const_cast<char**>(rfc7946) : nullptr);
    if (!raster || !scratch || !out) return false;
    // The label is the legend's text; the bounds are what the class holds.
    OGRFieldDefn fields[] = {{"class", OFTInteger},
                             {"label", OFTString},
                             {"min_value", OFTReal},
                             {"max_value", OFTReal},
                             {"units", OFTString}};
    for (OGRFieldDefn& field : fields) {
        if (out->CreateField(&field) != OGRERR_NONE) return false;
    }
    const std::vector<GByte> classes = NorthUpCells<GByte>(cells, [&](int32_t raw) {
        return raw == kNoDataCell ? kNotCovered
                                  : static_cast<GByte>(LegendClassOf(source.layerCode, raw));
    });
    // A site's square is covered throughout; a composite's is not.
    for (int k = source.composite ? 0 : 1; k <= kLegendBoxes; ++k) {
        if (!AddClass(source, classes, k, *raster, *scratch, srs, *out)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> EncodeClassPolygons(const MapSource& source, const char* driverName,
                                               std::string& error) {
    GdalQuiet quiet;
    MemoryDir memory;
    const bool geoJson = std::string(driverName) == "GeoJSON";
    const std::string name = geoJson ? "classes.geojson" : "classes.gpkg";
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
    DatasetPtr target(driver
                          ? driver->Create(memory.path(name).c_str(), 0, 0, 0, GDT_Unknown, nullptr)
                          : nullptr);
    OGRSpatialReference srs = Wgs84Srs();
    bool ok = target && WriteClasses(source, *target, srs, geoJson);
    target.reset();
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    if (!ok) {
        error = GdalQuiet::LastReason(std::string("GDAL could not write ") + driverName);
        return std::nullopt;
    }
    return memory.read(name);
}

}  // namespace kalvera
