// The header's value cells for a point: the grid value there, azimuth and
// range from the view centre, and the coordinates in degrees and minutes.

#include "render/readout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalvera {
namespace {

constexpr int kSide = 700;

class ReadoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.gridCols = 100;
        state.gridRows = 100;
        state.siteLat = 55.0f;
        state.siteLon = 37.0f;
        state.layerCode = 3;
        for (int row = 0; row < 100; ++row) {
            for (int column = 0; column < 100; ++column) {
                picture.values[row * 100 + column] = row * 1000 + column;
            }
        }
        grid = MapProjection::Init(kSide, kSide, state.siteLon, state.siteLat, 200.0f);
        view = MapProjection::Init(kSide, kSide, 37.0f, 55.0f, 200.0f);
    }

    // Centre of a grid cell in degrees.
    float cellLat(int row) const { return grid.latMin + (row + 0.5f) * grid.latSpan / 100.0f; }
    float cellLon(int column) const {
        return grid.lonMin + (column + 0.5f) * grid.lonSpan / 100.0f;
    }

    DisplayState state;
    RadarPicture picture;
    MapProjection grid;
    MapProjection view;
};

TEST_F(ReadoutTest, CellsCountRowsFromTheSouthAndColumnsFromTheWest) {
    EXPECT_EQ(GridValueAt(picture, state, kSide, cellLat(0), cellLon(0)), 0);
    EXPECT_EQ(GridValueAt(picture, state, kSide, cellLat(0), cellLon(99)), 99);
    EXPECT_EQ(GridValueAt(picture, state, kSide, cellLat(99), cellLon(0)), 99000);
    EXPECT_EQ(GridValueAt(picture, state, kSide, cellLat(42), cellLon(17)), 42017);
    EXPECT_EQ(GridValueAt(picture, state, kSide, 55.0f, 37.0f), 50050);
}

TEST_F(ReadoutTest, OutsideTheRadarSquareGives65535) {
    EXPECT_EQ(GridValueAt(picture, state, kSide, grid.latMax + 0.01f, 37.0f), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, state, kSide, grid.latMin - 0.01f, 37.0f), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, state, kSide, 55.0f, grid.lonMin - 0.01f), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, state, kSide, 55.0f, grid.lonMax + 0.01f), kOutsideGrid);
    // Just inside the south-western corner is still a cell, not -1 truncated to 0.
    EXPECT_EQ(GridValueAt(picture, state, kSide, grid.latMin - 0.001f, cellLon(5)), kOutsideGrid);
}

TEST_F(ReadoutTest, NoGridYetOrAPointThatIsNoNumberGives65535) {
    DisplayState fresh;
    EXPECT_EQ(GridValueAt(picture, fresh, kSide, 0.0f, 0.0f), kOutsideGrid);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(GridValueAt(picture, state, kSide, nan, 37.0f), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, state, kSide, 55.0f, nan), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, state, kSide, 1e30f, -1e30f), kOutsideGrid);
}

TEST_F(ReadoutTest, AtTheViewCentreAzimuthAndRangeAreZero) {
    const Readout readout = ReadoutAt(view, picture, state, kSide, 55.0f, 37.0f);
    EXPECT_EQ(readout.value, "50050");
    EXPECT_EQ(readout.azimuth, "0");
    EXPECT_EQ(readout.range, "0");
    EXPECT_EQ(readout.lat, "55.0");
    EXPECT_EQ(readout.lon, "37.0");
}

TEST_F(ReadoutTest, AzimuthAndRangeAreRoundedUp) {
    const Readout east = ReadoutAt(view, picture, state, kSide, 55.0f, 38.0f);
    EXPECT_EQ(east.azimuth, "90");  // 89.59
    EXPECT_EQ(east.range, "64");    // 63.86
    const Readout west = ReadoutAt(view, picture, state, kSide, 55.0f, 36.0f);
    EXPECT_EQ(west.azimuth, "271");  // 270.41
    const Readout south = ReadoutAt(view, picture, state, kSide, 54.0f, 37.0f);
    EXPECT_EQ(south.azimuth, "180");
    EXPECT_EQ(south.range, "112");  // 111.31
}

TEST_F(ReadoutTest, RangeAndAzimuthFollowAPannedCentreNotTheSite) {
    const MapProjection panned = MapProjection::Init(kSide, kSide, 38.0f, 55.0f, 200.0f);
    const Readout readout = ReadoutAt(panned, picture, state, kSide, 55.0f, 38.0f);
    EXPECT_EQ(readout.range, "0");
    EXPECT_EQ(readout.value, std::to_string(GridValueAt(picture, state, kSide, 55.0f, 38.0f)));
}

TEST_F(ReadoutTest, OutsideTheSquareTheCoordinatesAreStillShown) {
    const Readout readout = ReadoutAt(view, picture, state, kSide, 57.5f, 37.0f);
    EXPECT_EQ(readout.value, "65535");
    EXPECT_EQ(readout.azimuth, "0");
    EXPECT_EQ(readout.lat, "57.30");
    EXPECT_FALSE(readout.range.empty());
}

TEST_F(ReadoutTest, WeatherLayerNamesTheCodeOrShowsNothing) {
    state.layerCode = 22;
    picture.values[50 * 100 + 50] = 3;
    EXPECT_EQ(ReadoutAt(view, picture, state, kSide, 55.0f, 37.0f).value, "Осадки слабые");
    EXPECT_EQ(ReadoutAt(view, picture, state, kSide, 57.5f, 37.0f).value, "");
    EXPECT_EQ(ValueText(22, 0), "");
    EXPECT_EQ(ValueText(22, 1), "Ci - As");
    EXPECT_EQ(ValueText(22, 16), "шквал  слабый");
    EXPECT_EQ(ValueText(22, 19), "торнадо");
    EXPECT_EQ(ValueText(22, 20), "");
    EXPECT_EQ(ValueText(22, -1), "");
    EXPECT_EQ(ValueText(21, 12500), "12500");
    EXPECT_EQ(ValueText(0, -5), "-5");
}

TEST_F(ReadoutTest, CoordinatesShowDegreesPointMinutes) {
    EXPECT_EQ(ReadoutAt(view, picture, state, kSide, 55.75f, 37.5f).lat, "55.45");
    EXPECT_EQ(ReadoutAt(view, picture, state, kSide, 55.75f, 37.5f).lon, "37.30");
    // A southern or western point keeps its minus and positive parts.
    const Readout southWest = ReadoutAt(view, picture, state, kSide, -5.5f, -0.25f);
    EXPECT_EQ(southWest.lat, "-5.30");
    EXPECT_EQ(southWest.lon, "-0.15");
}

TEST(CeilingText, RoundsUpAndNeverShowsMinusZero) {
    EXPECT_EQ(CeilingText(0.0f), "0");
    EXPECT_EQ(CeilingText(-0.0f), "0");
    EXPECT_EQ(CeilingText(89.01f), "90");
    EXPECT_EQ(CeilingText(90.0f), "90");
    EXPECT_EQ(CeilingText(359.5f), "360");
    EXPECT_EQ(CeilingText(std::numeric_limits<float>::quiet_NaN()), "0");
}

}  // namespace
}  // namespace kalvera

namespace kalvera {
namespace {

TEST(LegendEntry, TopBoxIsNineteenAndBottomRowsZero) {
    // 728 pixels high: 19 boxes of 38, and 6 rows below the last whole box.
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 900, 0), 19);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 37), 19);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 38), 18);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 721), 1);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 722), 0);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 728), 0);
}

TEST(LegendEntry, AnyHeightStaysWithinTheLegendEntries) {
    for (int height : {19, 20, 100, 260, 360, 361, 1000}) {
        for (int y = -5; y <= height; ++y) {
            const int entry = LegendEntryAt(0, 0, height, 10, y);
            EXPECT_GE(entry, 0) << height << " " << y;
            EXPECT_LE(entry, 19) << height << " " << y;
        }
    }
}

TEST(LegendEntry, LeftOfOrBelowTheLegendOrTooLowIsNoEntry) {
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 899, 10), -1);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 729), -1);
    EXPECT_EQ(LegendEntryAt(900, 0, 18, 950, 5), -1);
}

}  // namespace
}  // namespace kalvera
