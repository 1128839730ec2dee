// Legend classes as polygons: for each class, GDAL's polygonize outlines the
// contiguous cells at or above it, so the polygons of a higher class lie
// inside those of the lower ones, as filled contours do.

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/gdal_session.h"
#include "output/layer_quantity.h"
#include "output/map_export.h"
#include "output/map_georef.h"
#include "render/cell_layer.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// A one-band raster in memory, placed on the grid.
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

// What a class polygon says of its class: the palette's legend classes
// (min_value, max_value, in the layer's own units) or a table's (min, max, in
// the table's units).
struct ClassFields {
    std::string label;
    double min = 0.0;
    std::optional<double> max;
    std::string units;
};

// The class of a cell no data covers. A composite's covered cells, where
// nothing was detected too, make class 0 ("coverage"), apart from it.
constexpr GByte kNotCovered = 255;

struct ClassScheme {
    bool table = false;
    std::vector<ClassFields> classes;  // class k at k - 1
    // Class of each cell, north row first; 0 none, kNotCovered no data.
    std::vector<GByte> cells;
};

ClassScheme SchemeOf(const MapSource& source, const GridValues& grid) {
    ClassScheme scheme;
    const int layer = source.layerCode;
    if (source.table == nullptr) {
        for (int k = 1; k <= kLegendBoxes; ++k) {
            const ClassBounds bounds = ClassBoundsOf(layer, k);
            scheme.classes.push_back(
                {LegendLabel(layer, k), bounds.min, bounds.max, UnitsOf(layer)});
        }
        scheme.cells = NorthUpCells<GByte>(grid, [&](int32_t raw) {
            return raw == kNoDataCell ? kNotCovered : static_cast<GByte>(LegendClassOf(layer, raw));
        });
        return scheme;
    }
    const ColourTable& table = *source.table;
    scheme.table = true;
    const std::string units = table.units.empty() ? UnitsOf(layer) : table.units;
    const std::vector<ColourClass> classes = ClassesOf(table);
    // A byte per cell holds the class: a table of more classes keeps its
    // first 254, the rest counted with the last.
    const size_t kept = std::min<size_t>(classes.size(), kNotCovered - 1);
    for (size_t k = 0; k < kept; ++k) {
        scheme.classes.push_back({TableClassLabel(layer, classes[k]), classes[k].min,
                                  k + 1 < kept ? classes[k].max : std::nullopt, units});
    }
    scheme.cells = NorthUpCells<GByte>(grid, [&](int32_t raw) {
        if (raw == kNoDataCell) return kNotCovered;
        if (raw <= 0) return GByte{0};
        const int k = ClassIndexOf(table, TableValue(table, PhysicalValue(layer, raw)));
        return static_cast<GByte>(std::min<int>(k + 1, static_cast<int>(kept)));
    });
    return scheme;
}

// Outlines the cells of class `k` or above and adds them to `out` with the
// class, its legend label and the values the class holds; class 0 is the
// covered area, with no bounds.
bool AddClass(const ClassScheme& scheme, const std::vector<GByte>& classes, int k,
              GDALDataset& raster, GDALDataset& scratch, OGRSpatialReference& srs, OGRLayer& out) {
    std::vector<GByte> mask(classes.size());
    for (size_t i = 0; i < classes.size(); ++i) {
        mask[i] = classes[i] != kNotCovered && classes[i] >= k ? 1 : 0;
    }
    GDALRasterBand* band = raster.GetRasterBand(1);
    const int columns = raster.GetRasterXSize();
    const int rows = raster.GetRasterYSize();
    if (band->RasterIO(GF_Write, 0, 0, columns, rows, mask.data(), columns, rows, GDT_Byte, 0, 0) !=
        CE_None) {
        return false;
    }
    OGRLayer* cells =
        scratch.CreateLayer(("class" + std::to_string(k)).c_str(), &srs, wkbPolygon, nullptr);
    OGRFieldDefn value("value", OFTInteger);
    if (!cells || cells->CreateField(&value) != OGRERR_NONE) return false;
    // The band is its own mask: cells outside the class make no polygon.
    if (GDALPolygonize(band, band, cells, 0, nullptr, nullptr, nullptr) != CE_None) return false;
    static const ClassFields kCoverage{"coverage", 0.0, std::nullopt, ""};
    const ClassFields& fields = k == 0 ? kCoverage : scheme.classes[static_cast<size_t>(k - 1)];
    const char* minName = scheme.table ? "min" : "min_value";
    const char* maxName = scheme.table ? "max" : "max_value";
    for (auto& cell : *cells) {
        OGRFeature feature(out.GetLayerDefn());
        feature.SetField("class", k);
        feature.SetField("label", fields.label.c_str());
        feature.SetField(minName, fields.min);
        if (k == 0) {
            feature.SetFieldNull(feature.GetFieldIndex(minName));
            feature.SetFieldNull(feature.GetFieldIndex(maxName));
        } else if (fields.max) {
            feature.SetField(maxName, *fields.max);
        } else {
            feature.SetFieldNull(feature.GetFieldIndex(maxName));
        }
        feature.SetField("units", fields.units.c_str());
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
    const ClassScheme scheme = SchemeOf(source, cells);
    // The label is the legend's text; the bounds are what the class holds.
    OGRFieldDefn fields[] = {{"class", OFTInteger},
                             {"label", OFTString},
                             {scheme.table ? "min" : "min_value", OFTReal},
                             {scheme.table ? "max" : "max_value", OFTReal},
                             {"units", OFTString}};
    for (OGRFieldDefn& field : fields) {
        if (out->CreateField(&field) != OGRERR_NONE) return false;
    }
    // A site's square is covered throughout; a composite's is not.
    for (int k = source.composite ? 0 : 1; k <= static_cast<int>(scheme.classes.size()); ++k) {
        if (!AddClass(scheme, scheme.cells, k, *raster, *scratch, srs, *out)) return false;
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
