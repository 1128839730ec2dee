// GeoTIFF, GeoJSON and GeoPackage exports read back through GDAL as a GIS
// program reads them.
#include "output/map_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "output/layer_quantity.h"
#include "output/map_georef.h"
#include "output/map_test_support.h"
#include "output/output_test_support.h"
#include "products/derived_products.h"
#include "render/readout.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

using testing::OpenWithGdal;
using testing::SourceWith;
using testing::TempDir;

TEST(MapFormat, ChosenByTheSuffixInAnyCase) {
    const struct {
        const char* path;
        MapFormat format;
    } rows[] = {{"a.tif", MapFormat::GeoTiff},  {"A.TIFF", MapFormat::GeoTiff},
                {"a.Kmz", MapFormat::Kmz},      {"a.GeoJSON", MapFormat::GeoJson},
                {"a.json", MapFormat::GeoJson}, {"a.gpkg", MapFormat::GeoPackage},
                {"a.png", MapFormat::None},     {"tif", MapFormat::None},
                {"dir.tif/a", MapFormat::None}};
    for (const auto& row : rows) EXPECT_EQ(MapFormatOf(row.path), row.format) << row.path;
}

TEST(GeoTiff, HoldsPhysicalValuesWithNodataOnTheGridSquare) {
    const struct {
        int layer;
        int32_t raw;
        double expected;
        const char* description;  // the units named once
    } rows[] = {{3, 45, 22.5, "Отр. 3 - 4 км., dBZ"},
                {21, 5000, 5000.0, "Верх.граница, m"},
                {22, 7, 7.0, "Погода, code"},
                {kLayerVil, 125, 12.5, "VIL, кг/м²"},
                {3, kNoDataCell, kNoDataValue, "Отр. 3 - 4 км., dBZ"}};
    TempDir dir;
    for (const auto& row : rows) {
        const auto source = SourceWith(row.layer, {{10, 20, row.raw}});
        const std::string path = dir.file("grid.tif");
        std::string error;
        ASSERT_TRUE(WriteMapFile(*source, path, error)) << error;
        const auto dataset = OpenWithGdal(path);
        ASSERT_TRUE(dataset);
        GDALRasterBand* band = dataset->GetRasterBand(1);
        float value = 0.0f;
        // Row 10 from the south is row 89 of the north-up image.
        ASSERT_EQ(band->RasterIO(GF_Read, 20, 89, 1, 1, &value, 1, 1, GDT_Float32, 0, 0), CE_None);
        EXPECT_DOUBLE_EQ(value, row.expected) << row.layer << " " << row.raw;
        int hasNodata = 0;
        EXPECT_EQ(band->GetNoDataValue(&hasNodata), kNoDataValue);
        EXPECT_TRUE(hasNodata);
        EXPECT_EQ(std::string(band->GetUnitType()), UnitsOf(row.layer));
        EXPECT_STREQ(band->GetDescription(), row.description);
        double transform[6];
        ASSERT_EQ(dataset->GetGeoTransform(transform), CE_None);
        const GeoBox box = GridSquareOf(testing::kSiteLat, testing::kSiteLon);
        EXPECT_DOUBLE_EQ(transform[0], box.west);
        EXPECT_DOUBLE_EQ(transform[3], box.north);
        EXPECT_NEAR(transform[0] + 100 * transform[1], box.east, 1e-9);
        EXPECT_NEAR(transform[3] + 100 * transform[5], box.south, 1e-9);
        EXPECT_EQ(std::string(dataset->GetMetadataItem("TERM")), "12.00");
        EXPECT_EQ(std::string(dataset->GetMetadataItem("SITE")), "27612");
        EXPECT_EQ(std::string(dataset->GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE")),
                  "DEFLATE");
    }
}

// What gdallocationinfo -wgs84 reads at a point.
std::string LocationValue(const std::string& path, double lat, double lon) {
    char args[96];
    std::snprintf(args, sizeof args, " -valonly -wgs84 %.9f %.9f 2>&1", lon, lat);
    std::string out = testing::CommandOutput("gdallocationinfo " + testing::Quoted(path) + args);
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
    return out;
}

TEST(GeoTiff, APointWellInsideACellReadsTheCellTheViewerShowsThere) {
    if (!testing::HaveTool("gdallocationinfo")) GTEST_SKIP() << "gdallocationinfo is missing";
    auto source = SourceWith(21, {});
    for (int i = 0; i < kGridCells; ++i) source->grid.values[static_cast<size_t>(i)] = i;
    TempDir dir;
    const std::string path = dir.file("grid.tif");
    std::string error;
    ASSERT_TRUE(WriteMapFile(*source, path, error)) << error;

    const GeoBox box = GridSquareOf(testing::kSiteLat, testing::kSiteLon);
    const double cellLon = (box.east - box.west) / kGridSide;
    const double cellLat = (box.north - box.south) / kGridSide;
    DisplayState state;
    state.siteLat = testing::kSiteLat;
    state.siteLon = testing::kSiteLon;
    state.gridCols = state.gridRows = kGridSide;
    // Corners, edges and the middle, each a tenth of a cell in from the edges.
    for (const int row : {0, 49, 99}) {
        for (const int col : {0, 50, 99}) {
            for (const double inside : {0.11, 0.89}) {
                const double lat = box.south + (row + inside) * cellLat;
                const double lon = box.west + (col + 1.0 - inside) * cellLon;
                const int32_t viewer = GridValueAt(source->grid, state, static_cast<float>(lat),
                                                   static_cast<float>(lon));
                EXPECT_EQ(viewer, row * kGridSide + col);
                EXPECT_EQ(LocationValue(path, lat, lon), std::to_string(viewer))
                    << "row " << row << " col " << col << " at " << inside;
            }
        }
    }
}

// The number of polygons of each class that hold the centre of a cell.
int ClassesCovering(OGRLayer& layer, int row, int col, int k) {
    const GeoBox box = GridSquareOf(testing::kSiteLat, testing::kSiteLon);
    OGRPoint centre(box.west + (col + 0.5) * (box.east - box.west) / kGridSide,
                    box.south + (row + 0.5) * (box.north - box.south) / kGridSide);
    int count = 0;
    layer.ResetReading();
    for (auto& feature : layer) {
        if (feature->GetFieldAsInteger("class") == k &&
            feature->GetGeometryRef()->Contains(&centre)) {
            ++count;
        }
    }
    return count;
}

TEST(ClassPolygons, OutlineTheCellsAtOrAboveEachClassWithItsLabel) {
    // Reflectivity 12 dBZ (class 3) beside 27 dBZ (class 6); a lone cell at
    // class 1 elsewhere; no data and zero make nothing.
    const auto source = SourceWith(
        3, {{40, 40, 24}, {40, 41, 54}, {41, 41, 54}, {90, 5, 2}, {60, 60, kNoDataCell}});
    TempDir dir;
    for (const char* name : {"classes.geojson", "classes.gpkg"}) {
        std::string error;
        ASSERT_TRUE(WriteMapFile(*source, dir.file(name), error)) << error;
        const auto dataset = OpenWithGdal(dir.file(name));
        ASSERT_TRUE(dataset) << name;
        OGRLayer* layer = dataset->GetLayer(0);
        ASSERT_NE(layer, nullptr);
        ASSERT_TRUE(layer->GetSpatialRef());
        EXPECT_STREQ(layer->GetSpatialRef()->GetAuthorityCode(nullptr), "4326");
        const struct {
            int row, col, k, polygons;
        } rows[] = {{40, 40, 1, 1}, {40, 40, 3, 1}, {40, 40, 4, 0}, {41, 41, 6, 1}, {41, 41, 7, 0},
                    {90, 5, 1, 1},  {90, 5, 2, 0},  {60, 60, 1, 0}, {0, 0, 1, 0}};
        for (const auto& row : rows) {
            EXPECT_EQ(ClassesCovering(*layer, row.row, row.col, row.k), row.polygons)
                << name << " row " << row.row << " col " << row.col << " class " << row.k;
        }
        layer->SetAttributeFilter("class = 6");
        for (auto& feature : *layer) {
            EXPECT_STREQ(feature->GetFieldAsString("label"), "26-30");
            EXPECT_DOUBLE_EQ(feature->GetFieldAsDouble("min_value"), 25.0) << name;
            EXPECT_DOUBLE_EQ(feature->GetFieldAsDouble("max_value"), 29.5) << name;
            EXPECT_STREQ(feature->GetFieldAsString("units"), "dBZ");
        }
    }
}

TEST(ClassBounds, AreTheValuesEachClassHolds) {
    const struct {
        int layer, k;
        double min;
        std::optional<double> max;
    } rows[] = {
        {3, 1, 0.5, 4.5},  {3, 11, 50.0, 54.5},      {3, 12, 55.0, 59.5},
        {3, 19, 90.0, {}}, {21, 1, 1.0, 999.0},      {21, 19, 18000, {}},
        {22, 5, 5.0, 5.0}, {kLayerVil, 1, 0.1, 0.9}, {kLayerVil, 19, 70, {}},
    };
    for (const auto& row : rows) {
        const ClassBounds bounds = ClassBoundsOf(row.layer, row.k);
        EXPECT_DOUBLE_EQ(bounds.min, row.min) << row.layer << " class " << row.k;
        EXPECT_EQ(bounds.max, row.max) << row.layer << " class " << row.k;
        // The lowest value, stored, falls in the class.
        EXPECT_EQ(LegendClassOf(row.layer, static_cast<int32_t>(std::lround(
                                               bounds.min / PhysicalValue(row.layer, 1)))),
                  row.k);
    }
}

TEST(MapFile, ACompositeKeepsNoDataApartFromNothingDetected) {
    // Three cells: none covered, covered with nothing, covered with echo.
    auto source = SourceWith(1, {});
    source->composite =
        GridValues{RadarGrid::Regular(30.0f, 50.0f, 0.5f, 0.25f, 1, 3), {kNoDataCell, 0, 80}};
    source->compositeSites = {{"27612", 55.6f, 37.7f}};
    source->compositeMethod = "max";
    TempDir dir;
    std::string error;
    const std::string tif = dir.file("c.tif"), json = dir.file("c.geojson");
    ASSERT_TRUE(WriteMapFile(*source, tif, error)) << error;
    ASSERT_TRUE(WriteMapFile(*source, json, error)) << error;
    auto raster = OpenWithGdal(tif, GDAL_OF_RASTER);
    ASSERT_TRUE(raster);
    double transform[6];
    raster->GetGeoTransform(transform);
    EXPECT_DOUBLE_EQ(transform[0], 30.0);
    EXPECT_DOUBLE_EQ(transform[3], 50.25);
    float cells[3];
    ASSERT_EQ(
        raster->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, 3, 1, cells, 3, 1, GDT_Float32, 0, 0),
        CE_None);
    EXPECT_EQ(cells[0], kNoDataValue);
    EXPECT_EQ(cells[1], 0.0f);
    EXPECT_EQ(cells[2], 40.0f);
    EXPECT_STREQ(raster->GetMetadataItem("SITES"), "27612");
    // Class 0 is the covered area: two cells, the nodata one left out.
    auto vector = OpenWithGdal(json, GDAL_OF_VECTOR);
    ASSERT_TRUE(vector);
    double coveredWidth = 0.0;
    for (auto& feature : *vector->GetLayer(0)) {
        if (feature->GetFieldAsInteger("class") != 0) continue;
        OGREnvelope box;
        feature->GetGeometryRef()->getEnvelope(&box);
        coveredWidth += box.MaxX - box.MinX;
    }
    EXPECT_DOUBLE_EQ(coveredWidth, 1.0);
}

TEST(MapFile, AGeoTiffWarpsIntoAnotherGridOrRefusesAnUnknownOne) {
    const auto source = SourceWith(1, {{50, 50, 60}});
    TempDir dir;
    std::string error;
    const std::string laea = dir.file("laea.tif");
    ASSERT_TRUE(WriteMapFile(*source, laea, error, "EPSG:3035")) << error;
    auto raster = OpenWithGdal(laea, GDAL_OF_RASTER);
    ASSERT_TRUE(raster);
    EXPECT_EQ(std::string(raster->GetSpatialRef()->GetAttrValue("PROJECTION") ?: ""),
              "Lambert_Azimuthal_Equal_Area");
    int hasNoData = 0;
    EXPECT_EQ(raster->GetRasterBand(1)->GetNoDataValue(&hasNoData), kNoDataValue);
    const std::string kept = dir.file("kept.tif");
    testing::WriteWholeFile(kept, "old");
    EXPECT_FALSE(WriteMapFile(*source, kept, error, "EPSG:0"));
    EXPECT_NE(error.find("EPSG:0"), std::string::npos) << error;
    EXPECT_EQ(testing::ReadWholeFile(kept), "old");
}

TEST(MapFile, AFailureNamesTheFileAndLeavesTheTargetAsItWas) {
    TempDir dir;
    const std::string existing = dir.file("old.tif");
    testing::WriteWholeFile(existing, "old");
    const auto source = SourceWith(3, {{1, 1, 40}});
    auto offTheEarth = SourceWith(3, {});
    offTheEarth->siteLat = 95.0f;
    const struct {
        const MapSource* source;
        std::string path;
    } rows[] = {{source.get(), dir.file("no-such-dir/a.tif")},
                {source.get(), dir.file("a.bmp")},
                {offTheEarth.get(), existing}};
    for (const auto& row : rows) {
        std::string error;
        EXPECT_FALSE(WriteMapFile(*row.source, row.path, error));
        EXPECT_NE(error.find(row.path), std::string::npos) << error;
    }
    EXPECT_EQ(testing::ReadWholeFile(existing), "old");
    EXPECT_EQ(testing::CountFiles(dir.path()), 1u);
}

TEST(MapFile, AWriteCutShortLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.file("grid.gpkg");
    testing::WriteWholeFile(path, "old");
    const auto source = SourceWith(3, {{1, 1, 40}});
    std::string error;
    {
        testing::FileSizeLimit limit(1000);
        EXPECT_FALSE(WriteMapFile(*source, path, error));
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(testing::ReadWholeFile(path), "old");
    EXPECT_EQ(testing::CountFiles(dir.path()), 1u);
}

}  // namespace
}  // namespace kalvera
