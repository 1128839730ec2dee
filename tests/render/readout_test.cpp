// The header's value cells for a point: the grid value there, azimuth and
// range from the view centre, and the coordinates in degrees and minutes.

#include "render/readout.h"

#include <gtest/gtest.h>

#include <limits>

namespace kalvera {
namespace {

constexpr int kSide = 700;
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

// A 100 x 100 grid around 55 N 37 E whose cell in row r (from the south) and
// column c (from the west) holds r * 1000 + c; the view centred on the site.
class ReadoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.gridCols = state.gridRows = 100;
        state.siteLat = 55.0f;
        state.siteLon = 37.0f;
        state.layerCode = 3;
        for (int row = 0; row < 100; ++row)
            for (int column = 0; column < 100; ++column)
                picture.values[row * 100 + column] = row * 1000 + column;
        grid = MapProjection::Init(kSide, kSide, 37.0f, 55.0f, 200.0f);
    }
    int valueAt(float lat, float lon) const { return GridValueAt(picture, state, lat, lon); }
    float cellLat(int row) const { return grid.latMin + (row + 0.5f) * grid.latSpan / 100.0f; }
    float cellLon(int col) const { return grid.lonMin + (col + 0.5f) * grid.lonSpan / 100.0f; }
    Readout at(float lat, float lon) const { return ReadoutAt(grid, picture, state, lat, lon); }

    DisplayState state;
    RadarPicture picture;
    MapProjection grid;
};

TEST_F(ReadoutTest, CellsCountRowsFromTheSouthAndColumnsFromTheWest) {
    EXPECT_EQ(valueAt(cellLat(0), cellLon(0)), 0);
    EXPECT_EQ(valueAt(cellLat(0), cellLon(99)), 99);
    EXPECT_EQ(valueAt(cellLat(99), cellLon(0)), 99000);
    EXPECT_EQ(valueAt(cellLat(42), cellLon(17)), 42017);
    EXPECT_EQ(valueAt(55.0f, 37.0f), 50050);
}

TEST_F(ReadoutTest, OutsideTheSquareWithoutAGridOrForNoNumberGives65535) {
    EXPECT_EQ(valueAt(grid.latMax + 0.01f, 37.0f), kOutsideGrid);
    EXPECT_EQ(valueAt(55.0f, grid.lonMin - 0.01f), kOutsideGrid);
    EXPECT_EQ(valueAt(55.0f, grid.lonMax + 0.01f), kOutsideGrid);
    // Just south of the square is outside, not row -1 truncated to 0.
    EXPECT_EQ(valueAt(grid.latMin - 0.001f, cellLon(5)), kOutsideGrid);
    EXPECT_EQ(valueAt(kNan, 37.0f), kOutsideGrid);
    EXPECT_EQ(valueAt(55.0f, kNan), kOutsideGrid);
    EXPECT_EQ(valueAt(1e30f, -1e30f), kOutsideGrid);
    EXPECT_EQ(GridValueAt(picture, DisplayState{}, 0.0f, 0.0f), kOutsideGrid);
}

// A forecast frame's cells the extrapolation could not fill are no data,
// never a value; an observation's picture reads its values as they are.
TEST_F(ReadoutTest, AForecastsNoDataCellReadsAsNoData) {
    picture.values[42 * 100 + 17] = kOutsideGrid;
    const float lat = cellLat(42), lon = cellLon(17);
    EXPECT_EQ(ReadoutAt(grid, picture, state, lat, lon, true).value, "нет данных");
    EXPECT_EQ(ReadoutAt(grid, picture, state, lat, lon, false).value, "65535");
    EXPECT_EQ(ReadoutAt(grid, picture, state, cellLat(42), cellLon(18), true).value, "42018");
}

// Azimuth and range are rounded up; coordinates show degrees point minutes,
// a southern or western point with its minus and positive parts.
TEST_F(ReadoutTest, ColumnsForPointsAroundTheView) {
    struct Row {
        const char* name;
        float lat, lon;
        std::string Readout::*column;
        const char* text;
    };
    const Row rows[] = {
        {"centre value", 55.0f, 37.0f, &Readout::value, "50050"},
        {"centre azimuth", 55.0f, 37.0f, &Readout::azimuth, "0"},
        {"centre range", 55.0f, 37.0f, &Readout::range, "0"},
        {"centre lat", 55.0f, 37.0f, &Readout::lat, "55.0"},
        {"centre lon", 55.0f, 37.0f, &Readout::lon, "37.0"},
        {"east azimuth 89.59", 55.0f, 38.0f, &Readout::azimuth, "90"},
        {"east range 63.86", 55.0f, 38.0f, &Readout::range, "64"},
        {"west azimuth 270.41", 55.0f, 36.0f, &Readout::azimuth, "271"},
        {"south azimuth", 54.0f, 37.0f, &Readout::azimuth, "180"},
        {"south range 111.31", 54.0f, 37.0f, &Readout::range, "112"},
        {"outside value", 57.5f, 37.0f, &Readout::value, "65535"},
        {"outside azimuth", 57.5f, 37.0f, &Readout::azimuth, "0"},
        {"outside lat", 57.5f, 37.0f, &Readout::lat, "57.30"},
        {"minutes lat", 55.75f, 37.5f, &Readout::lat, "55.45"},
        {"minutes lon", 55.75f, 37.5f, &Readout::lon, "37.30"},
        {"southern lat", -5.5f, -0.25f, &Readout::lat, "-5.30"},
        {"western lon", -5.5f, -0.25f, &Readout::lon, "-0.15"},
    };
    for (const Row& row : rows) EXPECT_EQ(at(row.lat, row.lon).*row.column, row.text) << row.name;
}

TEST_F(ReadoutTest, RangeFollowsAPannedCentreNotTheSite) {
    const MapProjection panned = MapProjection::Init(kSide, kSide, 38.0f, 55.0f, 200.0f);
    const Readout readout = ReadoutAt(panned, picture, state, 55.0f, 38.0f);
    EXPECT_EQ(readout.range, "0");
    EXPECT_EQ(readout.value, std::to_string(valueAt(55.0f, 38.0f)));
}

TEST_F(ReadoutTest, WeatherLayerNamesTheCodeOrShowsNothing) {
    state.layerCode = 22;
    picture.values[50 * 100 + 50] = 3;
    EXPECT_EQ(at(55.0f, 37.0f).value, "Осадки слабые");
    EXPECT_EQ(at(57.5f, 37.0f).value, "");
    EXPECT_EQ(ValueText(22, 0), "");
    EXPECT_EQ(ValueText(22, 1), "Ci - As");
    EXPECT_EQ(ValueText(22, 19), "торнадо");
    EXPECT_EQ(ValueText(22, 20), "");
    EXPECT_EQ(ValueText(22, -1), "");
    EXPECT_EQ(ValueText(21, 12500), "12500");
    EXPECT_EQ(ValueText(0, -5), "-5");
}

TEST(CeilingText, RoundsUpAndNeverShowsMinusZero) {
    EXPECT_EQ(CeilingText(-0.0f), "0");
    EXPECT_EQ(CeilingText(89.01f), "90");
    EXPECT_EQ(CeilingText(90.0f), "90");
    EXPECT_EQ(CeilingText(kNan), "0");
}

// A legend 728 pixels high: 19 boxes of 38 and 6 rows below the last whole box.
TEST(LegendEntry, BoxesFromTheTopAndNothingOutsideTheLegend) {
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 900, 0), 19);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 37), 19);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 38), 18);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 721), 1);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 722), 0);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 728), 0);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 899, 10), -1);
    EXPECT_EQ(LegendEntryAt(900, 0, 728, 950, 729), -1);
    EXPECT_EQ(LegendEntryAt(900, 0, 18, 950, 5), -1);
}

TEST(LegendEntry, AnyHeightStaysWithinTheLegendEntries) {
    for (int height : {19, 20, 100, 260, 360, 361, 1000}) {
        for (int y = -5; y <= height; ++y) {
            const int entry = LegendEntryAt(0, 0, height, 10, y);
            ASSERT_TRUE(entry >= 0 && entry <= 19) << height << " " << y << ": " << entry;
        }
    }
}

}  // namespace
}  // namespace kalvera
