// The resource files in data/ that every start directory gets, read with the
// viewer's own readers.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "geo/map_resources.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

std::string DataPath(const char* name) {
    return std::string(KALVERA_SOURCE_DIR) + "/data/" + name;
}

TEST(ShippedResources, OutlinesCoverTheRegionAndStayInsideTheirFile) {
    std::vector<Outline> outlines;
    ASSERT_TRUE(ReadOutlines(DataPath("country.bin"), DataPath("country.ind"), outlines));
    ASSERT_GT(outlines.size(), 50u);
    const std::string ind = testing::ReadWholeFile(DataPath("country.ind"));
    ASSERT_EQ(ind.size() % 32, 0u);
    ASSERT_EQ(ind.size() / 32, outlines.size());
    size_t points = 0;
    bool reachesNorth = false, reachesSouth = false, reachesWest = false, reachesEast = false;
    for (const Outline& o : outlines) {
        ASSERT_GE(o.size(), 2u);
        points += o.size();
        for (const GeoPoint& p : o) {
            // Cropped to 42..72 N, 14..66 E, with one point past the edge at most.
            ASSERT_TRUE(p.lat > 38.0f && p.lat < 76.0f && p.lon > 10.0f && p.lon < 70.0f)
                << p.lat << " " << p.lon;
            reachesNorth |= p.lat > 70.0f;
            reachesSouth |= p.lat < 45.0f;
            reachesWest |= p.lon < 20.0f;
            reachesEast |= p.lon > 60.0f;
        }
    }
    // Every point of country.bin belongs to exactly one outline.
    EXPECT_EQ(points * 8, std::filesystem::file_size(DataPath("country.bin")));
    EXPECT_TRUE(reachesNorth && reachesSouth && reachesWest && reachesEast);
}

TEST(ShippedResources, PlacesAreSixtyTownsOfTheRegionWithUsableNames) {
    std::vector<Place> places;
    ASSERT_TRUE(ReadPlaces(DataPath("punkt.txt"), places));
    EXPECT_GE(places.size(), 60u);
    std::map<std::string, Place> byName;
    for (const Place& p : places) {
        EXPECT_TRUE(byName.emplace(p.name, p).second) << p.name << " twice";
        EXPECT_TRUE(p.lat >= 45.0f && p.lat <= 70.0f && p.lon >= 20.0f && p.lon <= 60.0f) << p.name;
    }
    // Windows-1251 names: one byte a letter, at most 15, no UTF-8 in the file.
    const std::string bytes = testing::ReadWholeFile(DataPath("punkt.txt"));
    std::istringstream lines(bytes);
    std::string name;
    float lat = 0, lon = 0;
    while (lines >> name >> lat >> lon) EXPECT_LE(name.size(), 15u) << name;
    EXPECT_EQ(bytes.find("\xD0\x9C"), std::string::npos) << "UTF-8 text in a Windows-1251 file";
    // The file ends without a line break, so its last place is not read twice.
    EXPECT_FALSE(std::isspace(static_cast<unsigned char>(bytes.back())));
    EXPECT_NEAR(byName["Москва"].lat, 55.76, 0.02);
    EXPECT_NEAR(byName["Москва"].lon, 37.62, 0.02);
    EXPECT_NEAR(byName["Санкт-Петербург"].lat, 59.94, 0.02);
    EXPECT_NEAR(byName["Казань"].lon, 49.11, 0.02);
}

TEST(ShippedResources, PaletteRunsFromWhiteThroughAReadableRamp) {
    const std::string bytes = testing::ReadWholeFile(DataPath("colors.bin"));
    ASSERT_EQ(bytes.size(), 128u);
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < 128; i += 4) {
        uint32_t c = 0;
        for (int k = 3; k >= 0; --k) c = (c << 8) | static_cast<uint8_t>(bytes[i + k]);
        colours.push_back(c);
    }
    EXPECT_EQ(colours[0], 0x00FFFFFFu);
    auto lightness = [](uint32_t c) {
        return 0.3 * (c & 0xFF) + 0.59 * ((c >> 8) & 0xFF) + 0.11 * ((c >> 16) & 0xFF);
    };
    std::set<uint32_t> ramp;
    for (int i = 0; i < 32; ++i) EXPECT_EQ(colours[i] >> 24, 0u) << "entry " << i;
    for (int i = 1; i <= 19; ++i) {
        EXPECT_TRUE(ramp.insert(colours[i]).second) << "entry " << i << " repeats";
        EXPECT_NE(colours[i], 0x00FFFFFFu) << "entry " << i << " vanishes on white";
        // The legend writes its labels in black on the boxes.
        EXPECT_GT(lightness(colours[i]), 90.0) << "entry " << i << " hides its black label";
    }
    // Faint echo is light.
    EXPECT_GT(lightness(colours[1]), 200.0);
}

TEST(ShippedResources, SiteNamesFitTheirField) {
    std::istringstream in(testing::ReadWholeFile(DataPath("towns.txt")));
    std::string code, name;
    while (in >> code >> name) EXPECT_LE(name.size(), 15u) << code;
}

}  // namespace
}  // namespace kalvera
