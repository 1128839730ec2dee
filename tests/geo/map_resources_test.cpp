#include "geo/map_resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "common/temp_dir.h"
#include "render/map_files.h"

namespace kalvera {
namespace {

using testing::IndexBytes;
using testing::PointBytes;
using testing::TempDir;

std::string Bin(const TempDir& d) {
    return d.str() + "/res/country.bin";
}
std::string Ind(const TempDir& d) {
    return d.str() + "/res/country.ind";
}

TEST(OutlineFiles, ReadsEveryOutlineInIndexOrder) {
    TempDir dir;
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}, {{54, 36}, {54, 37}, {55, 36}}});
    std::vector<Outline> outlines;
    ASSERT_TRUE(ReadOutlines(Bin(dir), Ind(dir), outlines));
    ASSERT_EQ(outlines.size(), 2u);
    ASSERT_EQ(outlines[0].size(), 2u);
    EXPECT_FLOAT_EQ(outlines[0][1].lat, 56.0f);
    EXPECT_FLOAT_EQ(outlines[0][1].lon, 38.0f);
    ASSERT_EQ(outlines[1].size(), 3u);
    EXPECT_FLOAT_EQ(outlines[1][2].lon, 36.0f);
}

TEST(OutlineFiles, OutlineRunningPastTheEndKeepsThePointsThatAreThere) {
    TempDir dir;
    dir.write("res/country.bin", PointBytes({{50, 30}, {51, 31}, {52, 32}}) + "abc");
    dir.write("res/country.ind", IndexBytes({{10, 8}}));
    std::vector<Outline> outlines;
    ASSERT_TRUE(ReadOutlines(Bin(dir), Ind(dir), outlines));
    ASSERT_EQ(outlines.size(), 1u);
    ASSERT_EQ(outlines[0].size(), 2u);
    EXPECT_FLOAT_EQ(outlines[0][0].lat, 51.0f);
    EXPECT_FLOAT_EQ(outlines[0][1].lon, 32.0f);
}

TEST(OutlineFiles, HostileRecordsYieldEmptyOutlinesNotReads) {
    TempDir dir;
    dir.write("res/country.bin", PointBytes({{50, 30}}));
    dir.write("res/country.ind",
              IndexBytes({{-5, 0}, {1, -8}, {2147483647, 0}, {1, 2147483000}, {1, 0}}) +
                  std::string(20, '\0'));  // a trailing partial record is not one
    std::vector<Outline> outlines;
    ASSERT_TRUE(ReadOutlines(Bin(dir), Ind(dir), outlines));
    ASSERT_EQ(outlines.size(), 5u);
    EXPECT_TRUE(outlines[0].empty());
    EXPECT_TRUE(outlines[1].empty());
    EXPECT_EQ(outlines[2].size(), 1u);
    EXPECT_TRUE(outlines[3].empty());
    EXPECT_EQ(outlines[4].size(), 1u);
}

TEST(OutlineFiles, EmptyIndexMeansNoOutlinesMissingFileMeansFailure) {
    TempDir dir;
    dir.write("res/country.bin", PointBytes({{50, 30}}));
    dir.write("res/country.ind", "");
    std::vector<Outline> outlines;
    EXPECT_TRUE(ReadOutlines(Bin(dir), Ind(dir), outlines));
    EXPECT_TRUE(outlines.empty());
    EXPECT_FALSE(ReadOutlines(Bin(dir), dir.str() + "/res/none.ind", outlines));
    EXPECT_FALSE(ReadOutlines(dir.str() + "/res/none.bin", Ind(dir), outlines));
}

TEST(OutlineFiles, ParsingBytesMatchesReadingFiles) {
    TempDir dir;
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}, {{54, 36}}});
    std::vector<Outline> fromFiles, fromBytes;
    ASSERT_TRUE(ReadOutlines(Bin(dir), Ind(dir), fromFiles));
    ParseOutlines(testing::ReadAll(Ind(dir)), testing::ReadAll(Bin(dir)), fromBytes);
    ASSERT_EQ(fromBytes.size(), fromFiles.size());
    for (size_t i = 0; i < fromFiles.size(); ++i) {
        ASSERT_EQ(fromBytes[i].size(), fromFiles[i].size());
        for (size_t k = 0; k < fromFiles[i].size(); ++k) {
            EXPECT_EQ(fromBytes[i][k].lat, fromFiles[i][k].lat);
            EXPECT_EQ(fromBytes[i][k].lon, fromFiles[i][k].lon);
        }
    }
}

TEST(PlaceFile, ReadsNameLatitudeLongitudeOverAndOver) {
    TempDir dir;
    const std::string path = dir.write("res/punkt.txt", "Moscow 55.75 37.62 Tver\n56.86\n35.9");
    std::vector<Place> places;
    ASSERT_TRUE(ReadPlaces(path, places));
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].name, "Moscow");
    EXPECT_FLOAT_EQ(places[0].lat, 55.75f);
    EXPECT_FLOAT_EQ(places[0].lon, 37.62f);
    EXPECT_EQ(places[1].name, "Tver");
    EXPECT_FLOAT_EQ(places[1].lon, 35.9f);
}

TEST(PlaceFile, TrailingLineBreakRepeatsTheLastPlaceAtTheSameSpot) {
    TempDir dir;
    const std::string path = dir.write("res/punkt.txt", "A 1 2\nB 3 4\n");
    std::vector<Place> places;
    ASSERT_TRUE(ReadPlaces(path, places));
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[2].name, "B");
    EXPECT_FLOAT_EQ(places[2].lat, 3.0f);
    EXPECT_FLOAT_EQ(places[2].lon, 4.0f);
}

TEST(PlaceFile, MismatchedFieldKeepsThePreviousValueAndIsReadAsTheNextName) {
    TempDir dir;
    const std::string path = dir.write("res/punkt.txt", "A 1 2 B x 5 C 7 8");
    std::vector<Place> places;
    ASSERT_TRUE(ReadPlaces(path, places));
    // B keeps A's latitude and longitude, then "x" is a name with 5 and C's
    // latitude... as a scanner would read it.
    ASSERT_GE(places.size(), 3u);
    EXPECT_EQ(places[1].name, "B");
    EXPECT_FLOAT_EQ(places[1].lat, 1.0f);
    EXPECT_FLOAT_EQ(places[1].lon, 2.0f);
    EXPECT_EQ(places[2].name, "x");
    EXPECT_FLOAT_EQ(places[2].lat, 5.0f);
}

TEST(PlaceFile, SignsExponentsAndGarbageAfterANumber) {
    std::vector<Place> places;
    ParsePlaces("A +5.5 -3e1 B 7x 8", places);
    ASSERT_GE(places.size(), 2u);
    EXPECT_FLOAT_EQ(places[0].lat, 5.5f);
    EXPECT_FLOAT_EQ(places[0].lon, -30.0f);
    // "7x": the number takes 7, the "x" is left for the longitude, which
    // keeps the previous value, and then becomes the next name.
    EXPECT_EQ(places[1].name, "B");
    EXPECT_FLOAT_EQ(places[1].lat, 7.0f);
    EXPECT_FLOAT_EQ(places[1].lon, -30.0f);
    ASSERT_GE(places.size(), 3u);
    EXPECT_EQ(places[2].name, "x");
    EXPECT_FLOAT_EQ(places[2].lat, 8.0f);
}

TEST(PlaceFile, EmptyFileHasNoPlacesAndNamesComeFromWindows1251) {
    TempDir dir;
    std::vector<Place> places;
    ASSERT_TRUE(ReadPlaces(dir.write("res/empty.txt", "\n\n"), places));
    EXPECT_TRUE(places.empty());
    // "Москва" in Windows-1251.
    ASSERT_TRUE(
        ReadPlaces(dir.write("res/punkt.txt", "\xCC\xEE\xF1\xEA\xE2\xE0 55.7 37.6"), places));
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0].name, "Москва");
    EXPECT_FALSE(ReadPlaces(dir.str() + "/res/none.txt", places));
}

TEST(MapResourceCacheTest, ReadsOnceAndAgainWhenAFileChanges) {
    TempDir dir;
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}});
    MapResourceCache cache;
    const auto* first = cache.outlines(Bin(dir), Ind(dir));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(cache.outlines(Bin(dir), Ind(dir)), nullptr);
    EXPECT_EQ(cache.reads(), 1);

    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}, {57, 39}}});
    const auto* changed = cache.outlines(Bin(dir), Ind(dir));
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(cache.reads(), 2);
    ASSERT_EQ(changed->size(), 1u);
    EXPECT_EQ((*changed)[0].size(), 3u);
}

TEST(MapResourceCacheTest, SameSizeNewTimeIsReadAgain) {
    TempDir dir;
    const std::string path = dir.write("res/punkt.txt", "A 1 2");
    MapResourceCache cache;
    ASSERT_NE(cache.places(path), nullptr);
    dir.write("res/punkt.txt", "B 3 4");
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    const auto* places = cache.places(path);
    ASSERT_NE(places, nullptr);
    EXPECT_EQ(places->front().name, "B");
}

TEST(MapResourceCacheTest, AVanishedFileIsMissingAgain) {
    TempDir dir;
    testing::WriteOutlines(dir, {{{55, 37}, {56, 38}}});
    MapResourceCache cache;
    ASSERT_NE(cache.outlines(Bin(dir), Ind(dir)), nullptr);
    std::filesystem::remove(Ind(dir));
    EXPECT_EQ(cache.outlines(Bin(dir), Ind(dir)), nullptr);
}

}  // namespace
}  // namespace kalvera
