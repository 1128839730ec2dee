// The Google Earth file read back as Google Earth and GDAL read it.
#include <cpl_minixml.h>
#include <gtest/gtest.h>

#include "common/date_time.h"
#include "output/map_export.h"
#include "output/map_georef.h"
#include "output/map_images.h"
#include "output/map_test_support.h"
#include "output/output_test_support.h"

namespace kalvera {
namespace {

using testing::OpenWithGdal;

class Kmz : public ::testing::Test {
  protected:
    void SetUp() override {
        source = testing::SourceWith(22, {{10, 20, 7}});
        std::string error;
        ASSERT_TRUE(WriteMapFile(*source, path, error)) << error;
    }
    std::string entry(const std::string& name) const { return "/vsizip/" + path + "/" + name; }

    testing::TempDir dir;
    const std::string path = dir.file("map.kmz");
    std::unique_ptr<MapSource> source;
};

TEST_F(Kmz, TheOverlayLiesOnTheGridSquare) {
    CPLXMLNode* kml = CPLParseXMLFile(entry("doc.kml").c_str());
    ASSERT_NE(kml, nullptr);
    const GeoBox box = GridSquareOf(testing::kSiteLat, testing::kSiteLon);
    const struct {
        const char* bound;
        double expected;
    } rows[] = {{"north", box.north}, {"south", box.south}, {"east", box.east}, {"west", box.west}};
    for (const auto& row : rows) {
        const std::string key = std::string("=kml.Document.GroundOverlay.LatLonBox.") + row.bound;
        EXPECT_NEAR(std::stod(CPLGetXMLValue(kml, key.c_str(), "nan")), row.expected, 1e-8)
            << row.bound;
    }
    EXPECT_STREQ(CPLGetXMLValue(kml, "=kml.Document.GroundOverlay.Icon.href", ""), "overlay.png");
    EXPECT_STREQ(CPLGetXMLValue(kml, "=kml.Document.ScreenOverlay.Icon.href", ""), "legend.png");
    EXPECT_STREQ(CPLGetXMLValue(kml, "=kml.Document.GroundOverlay.TimeStamp.when", ""),
                 "2026-12-07T12:00:00Z");
    CPLDestroyXMLNode(kml);
}

TEST(KmzNearTheAntimeridian, TheBoxKeepsItsLongitudesInRange) {
    for (const float siteLon : {179.5f, -179.5f}) {
        auto source = testing::SourceWith(22, {{10, 20, 7}});
        source->siteLon = siteLon;
        testing::TempDir dir;
        const std::string path = dir.file("map.kmz");
        std::string error;
        ASSERT_TRUE(WriteMapFile(*source, path, error)) << error;
        CPLXMLNode* kml = CPLParseXMLFile(("/vsizip/" + path + "/doc.kml").c_str());
        ASSERT_NE(kml, nullptr);
        const auto bound = [kml](const char* name) {
            const std::string key = std::string("=kml.Document.GroundOverlay.LatLonBox.") + name;
            return std::stod(CPLGetXMLValue(kml, key.c_str(), "nan"));
        };
        const double east = bound("east"), west = bound("west");
        EXPECT_LE(std::abs(east), 180.0) << siteLon;
        EXPECT_LE(std::abs(west), 180.0) << siteLon;
        // The box spans the antimeridian: its east edge reads less than its west.
        EXPECT_LT(east, west) << siteLon;
        const GeoBox box = GridSquareOf(testing::kSiteLat, siteLon);
        EXPECT_NEAR(west - east, 360.0 - (box.east - box.west), 1e-6) << siteLon;
        CPLDestroyXMLNode(kml);
    }
}

TEST_F(Kmz, TheSiteIsAPlacemark) {
    const auto dataset = OpenWithGdal(path, GDAL_OF_VECTOR);
    ASSERT_TRUE(dataset && dataset->GetLayerCount() == 1);
    int sites = 0;
    for (auto& feature : *dataset->GetLayer(0)) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (!geometry || wkbFlatten(geometry->getGeometryType()) != wkbPoint) continue;
        ++sites;
        EXPECT_STREQ(feature->GetFieldAsString("Name"), "Москва");
        EXPECT_NEAR(geometry->toPoint()->getX(), testing::kSiteLon, 1e-6);
        EXPECT_NEAR(geometry->toPoint()->getY(), testing::kSiteLat, 1e-6);
    }
    EXPECT_EQ(sites, 1);
}

// Pixel (x, y) of the overlay, a paletted PNG, as red, green, blue, alpha.
std::array<int, 4> OverlayPixel(GDALDataset& overlay, int x, int y) {
    GByte index = 0;
    GDALRasterBand* band = overlay.GetRasterBand(1);
    const GDALColorTable* table = band->GetColorTable();
    if (!table || band->RasterIO(GF_Read, x, y, 1, 1, &index, 1, 1, GDT_Byte, 0, 0) != CE_None) {
        return {-1, -1, -1, -1};
    }
    const GDALColorEntry* colour = table->GetColorEntry(index);
    return {colour->c1, colour->c2, colour->c3, colour->c4};
}

TEST_F(Kmz, CellsInPaletteColoursAndTransparentElsewhere) {
    const auto centre = [](int cell) { return cell * kOverlayCellPixels + kOverlayCellPixels / 2; };
    const int side = kGridSide * kOverlayCellPixels;
    // A phenomenon code, and an echo top low enough for palette entry 0, which
    // is black and must not turn transparent.
    const struct { int layer, value, entry; } rows[] = {{22, 7, 7}, {21, 500, 0}};
    for (const auto& row : rows) {
        const auto cells = testing::SourceWith(row.layer, {{10, 20, row.value}});
        std::string error;
        ASSERT_TRUE(WriteMapFile(*cells, path, error)) << error;
        const auto overlay = OpenWithGdal(entry("overlay.png"), GDAL_OF_RASTER);
        ASSERT_TRUE(overlay);
        ASSERT_EQ(overlay->GetRasterXSize(), side);
        const uint32_t colour = cells->palette[static_cast<size_t>(row.entry)];
        const std::array<int, 4> expected{static_cast<int>(colour & 0xFF),
                                          static_cast<int>((colour >> 8) & 0xFF),
                                          static_cast<int>((colour >> 16) & 0xFF), 255};
        // Row 10 from the south, column 20; its eastern neighbour is empty.
        EXPECT_EQ(OverlayPixel(*overlay, centre(20), side - 1 - centre(10)), expected) << row.layer;
        EXPECT_EQ(OverlayPixel(*overlay, centre(21), side - 1 - centre(10))[3], 0) << row.layer;
    }
    EXPECT_TRUE(OpenWithGdal(entry("legend.png"), GDAL_OF_RASTER));
}

// Each cell is a whole block of kOverlayCellPixels, as in the GeoTIFF of the
// same grid square: a chequerboard of two codes read back block by block.
TEST_F(Kmz, OverlayCellsAreWholePixelBlocks) {
    auto chequered = testing::SourceWith(22, {});
    for (int i = 0; i < kGridSide; ++i) {
        for (int j = 0; j < kGridSide; ++j) {
            chequered->grid.values[static_cast<size_t>(i * kGridSide + j)] = (i + j) % 2 ? 7 : 3;
        }
    }
    std::string error;
    ASSERT_TRUE(WriteMapFile(*chequered, path, error)) << error;
    const auto overlay = OpenWithGdal(entry("overlay.png"), GDAL_OF_RASTER);
    ASSERT_TRUE(overlay);
    const int side = kGridSide * kOverlayCellPixels;
    std::vector<GByte> pixels(static_cast<size_t>(side) * side);
    ASSERT_EQ(overlay->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, side, side, pixels.data(), side,
                                                  side, GDT_Byte, 0, 0),
              CE_None);
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * side + x]; };
    int wrong = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int row = kGridSide - 1 - y / kOverlayCellPixels, column = x / kOverlayCellPixels;
            // Cells of one parity share a colour, which the other parity lacks.
            wrong += at(x, y) != at((row + column) % 2 * kOverlayCellPixels, side - 1);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(at(0, side - 1), at(kOverlayCellPixels, side - 1));
}

// The term's own time, so that the same term gives the same bytes.
TEST_F(Kmz, EntriesCarryTheTermsTime) {
    const std::string iso = ValidTimeOf(*source);  // 2026-12-07T12:00:00Z
    ASSERT_GE(iso.size(), 19u);
    const int year = std::stoi(iso.substr(0, 4)), month = std::stoi(iso.substr(5, 2)),
              day = std::stoi(iso.substr(8, 2)), hour = std::stoi(iso.substr(11, 2));
    const std::string kmz = testing::ReadWholeFile(path);
    const std::string centralRecord("PK\x01\x02", 4);
    int entries = 0;
    for (size_t at = kmz.find(centralRecord); at != std::string::npos;
         at = kmz.find(centralRecord, at + 1)) {
        ++entries;
        const int dosTime = static_cast<unsigned char>(kmz[at + 12]) |
                            static_cast<unsigned char>(kmz[at + 13]) << 8;
        const int dosDate = static_cast<unsigned char>(kmz[at + 14]) |
                            static_cast<unsigned char>(kmz[at + 15]) << 8;
        EXPECT_EQ(1980 + (dosDate >> 9), year) << entries;
        EXPECT_EQ(dosDate >> 5 & 0x0F, month) << entries;
        EXPECT_EQ(dosDate & 0x1F, day) << entries;
        EXPECT_EQ(dosTime >> 11, hour) << entries;
    }
    EXPECT_EQ(entries, 3);
    std::string error;
    const std::string again = dir.file("again.kmz");
    ASSERT_TRUE(WriteMapFile(*source, again, error)) << error;
    EXPECT_EQ(testing::ReadWholeFile(again), kmz);
}

}  // namespace
}  // namespace kalvera
