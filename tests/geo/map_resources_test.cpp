#include "geo/map_resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "render/map_files.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

// "lat lon,lat lon|" per outline and "name lat lon|" per place.
std::string Listed(const std::vector<Outline>& outlines) {
    std::ostringstream out;
    for (const Outline& outline : outlines) {
        for (const GeoPoint& p : outline) out << p.lat << ' ' << p.lon << ',';
        out << '|';
    }
    return out.str();
}
std::string Listed(const std::vector<Place>& places) {
    std::ostringstream out;
    for (const Place& p : places) out << p.name << ' ' << p.lat << ' ' << p.lon << '|';
    return out.str();
}

class MapFiles : public ::testing::Test {
  protected:
    bool read() { return ReadOutlines(bin, ind, outlines); }
    testing::TempDir dir;
    const std::string bin = dir.str() + "/res/country.bin";
    const std::string ind = dir.str() + "/res/country.ind";
    std::vector<Outline> outlines;
};

TEST_F(MapFiles, OutlinesAreReadInIndexOrderAlikeFromFilesAndBytes) {
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}, {{54, 36}, {54, 37}, {55, 36}}});
    ASSERT_TRUE(read());
    EXPECT_EQ(Listed(outlines), "55 37,56 38,|54 36,54 37,55 36,|");
    std::vector<Outline> parsed;
    ParseOutlines(testing::ReadWholeFile(ind), testing::ReadWholeFile(bin), parsed);
    EXPECT_EQ(Listed(parsed), Listed(outlines));
}

TEST_F(MapFiles, AnOutlineRunningPastTheEndKeepsThePointsThatAreThere) {
    testing::WriteOutlines(dir, {{{50, 30}, {51, 31}, {52, 32}}});
    dir.write("res/country.bin", testing::ReadWholeFile(bin).substr(0, 19));
    ASSERT_TRUE(read());
    EXPECT_EQ(Listed(outlines), "50 30,51 31,|");
}

TEST_F(MapFiles, AnEmptyIndexHoldsNoOutlinesAMissingFileFails) {
    testing::WriteOutlines(dir, {});
    ASSERT_TRUE(read());
    EXPECT_TRUE(outlines.empty());
    EXPECT_FALSE(ReadOutlines(bin, dir.str() + "/res/none.ind", outlines));
    EXPECT_FALSE(ReadOutlines(dir.str() + "/res/none.bin", ind, outlines));
}

TEST(PlaceFile, IsScannedAsNameLatitudeLongitudeOverAndOver) {
    const struct {
        const char* name;
        const char* text;
        const char* places;
    } rows[] = {
        {"any blanks between", "Moscow 55.75 37.62 Tver\n56.86\n35.9",
         "Moscow 55.75 37.62|Tver 56.86 35.9|"},
        {"a trailing line break repeats the last place", "A 1 2\nB 3 4\n", "A 1 2|B 3 4|B 3 4|"},
        {"a field that is no number keeps the last value and is the next name", "A 1 2 B x 5 C 7 8",
         "A 1 2|B 1 2|x 5 2|C 7 8|"},
        {"signs, exponents and a number cut short", "A +5.5 -3e1 B 7x 8",
         "A 5.5 -30|B 7 -30|x 8 -30|"},
        {"blank lines only", "\n\n", ""},
    };
    for (const auto& row : rows) {
        std::vector<Place> places;
        ParsePlaces(row.text, places);
        EXPECT_EQ(Listed(places), row.places) << row.name;
    }
}

TEST(PlaceFile, NamesComeFromWindows1251AndAMissingFileFails) {
    testing::TempDir dir;
    std::vector<Place> places;
    // "Москва" in Windows-1251.
    ASSERT_TRUE(ReadPlaces(dir.write("p.txt", "\xCC\xEE\xF1\xEA\xE2\xE0 55.7 37.6"), places));
    EXPECT_EQ(Listed(places), "Москва 55.7 37.6|");
    EXPECT_FALSE(ReadPlaces(dir.str() + "/none.txt", places));
}

TEST_F(MapFiles, TheCacheReadsAgainOnlyWhenAFileChangesOrVanishes) {
    const std::string placesPath = dir.write("res/punkt.txt", "A 1 2");
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}});
    MapResourceCache cache;
    ASSERT_NE(cache.outlines(bin, ind), nullptr);
    ASSERT_NE(cache.outlines(bin, ind), nullptr);
    EXPECT_EQ(cache.reads(), 1);
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}, {57, 39}}});
    const auto* changed = cache.outlines(bin, ind);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(cache.reads(), 2);
    EXPECT_EQ(Listed(*changed), "55 37,56 38,57 39,|");
    std::filesystem::remove(ind);
    EXPECT_EQ(cache.outlines(bin, ind), nullptr);
    ASSERT_NE(cache.places(placesPath), nullptr);
    dir.write("res/punkt.txt", "B 3 4");
    const auto written = std::filesystem::last_write_time(placesPath);
    std::filesystem::last_write_time(placesPath, written + std::chrono::seconds(5));
    ASSERT_NE(cache.places(placesPath), nullptr);
    EXPECT_EQ(cache.places(placesPath)->front().name, "B") << "same size, new time";
}

}  // namespace
}  // namespace kalvera
