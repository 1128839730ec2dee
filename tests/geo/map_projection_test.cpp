#include "geo/map_projection.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

MapProjection Moscowish() {
    return MapProjection::Init(640.0f, 640.0f, 37.0f, 55.0f, 200.0f);
}

TEST(MapProjectionInit, HalfExtentsInDegreesFollowTheTwoEarthRadii) {
    const MapProjection p = Moscowish();
    EXPECT_NEAR(p.dLat, 1.80267f, 5e-5f);
    EXPECT_NEAR(p.dLon, 3.13233f, 5e-5f);
    EXPECT_FLOAT_EQ(p.latMin, p.lat0 - p.dLat);
    EXPECT_FLOAT_EQ(p.latMax, p.lat0 + p.dLat);
    EXPECT_FLOAT_EQ(p.lonMin, p.lon0 - p.dLon);
    EXPECT_FLOAT_EQ(p.lonMax, p.lon0 + p.dLon);
    EXPECT_FLOAT_EQ(p.lonSpan, p.lonMax - p.lonMin);
    EXPECT_FLOAT_EQ(p.latSpan, p.latMax - p.latMin);
    EXPECT_FLOAT_EQ(p.halfWidth, 320.0f);
    EXPECT_FLOAT_EQ(p.margin, 0.0f);
}

TEST(MapProjectionInit, TakesLongitudeBeforeLatitude) {
    const MapProjection p = MapProjection::Init(100.0f, 100.0f, 30.0f, 60.0f, 50.0f);
    EXPECT_FLOAT_EQ(p.lon0, 30.0f);
    EXPECT_FLOAT_EQ(p.lat0, 60.0f);
}

TEST(MapProjectionInit, BoundsOnlyLeaveTheCentreAlone) {
    MapProjection p = Moscowish();
    p.InitBounds(100.0f, 100.0f, 10.0f, 20.0f, 10.0f, 20.0f);
    EXPECT_FLOAT_EQ(p.width, 100.0f);
    EXPECT_FLOAT_EQ(p.lonMin, 10.0f);
    EXPECT_FLOAT_EQ(p.latMax, 20.0f);
    EXPECT_FLOAT_EQ(p.lonSpan, 10.0f);
    EXPECT_FLOAT_EQ(p.lat0, 55.0f);
    EXPECT_FLOAT_EQ(p.halfWidth, 320.0f);
}

TEST(MapProjectionMapping, CentreMapsToTheMiddleAndBack) {
    const MapProjection p = Moscowish();
    EXPECT_FLOAT_EQ(p.LonToX(37.0f), 320.0f);
    EXPECT_FLOAT_EQ(p.LatToY(55.0f), 320.0f);
    EXPECT_NEAR(p.XToLon(320.0f), 37.0f, 1e-5f);
    EXPECT_NEAR(p.YToLat(320.0f), 55.0f, 1e-5f);
}

TEST(MapProjectionMapping, EdgesMapToTheSidesNorthUp) {
    const MapProjection p = Moscowish();
    EXPECT_NEAR(p.LonToX(p.lonMin), 0.0f, 1e-3f);
    EXPECT_NEAR(p.LonToX(p.lonMax), 640.0f, 1e-3f);
    EXPECT_NEAR(p.LatToY(p.latMax), 0.0f, 1e-3f);
    EXPECT_NEAR(p.LatToY(p.latMin), 640.0f, 1e-3f);
    // Outside the bounds nothing is clipped.
    EXPECT_GT(p.LonToX(p.lonMax + 1.0f), 640.0f);
    EXPECT_LT(p.LatToY(p.latMax + 1.0f), 0.0f);
}

TEST(MapProjectionMapping, InverseUndoesForward) {
    const MapProjection p = Moscowish();
    for (float lon : {34.0f, 36.5f, 39.9f}) EXPECT_NEAR(p.XToLon(p.LonToX(lon)), lon, 1e-4f);
    for (float lat : {53.3f, 55.0f, 56.7f}) EXPECT_NEAR(p.YToLat(p.LatToY(lat)), lat, 1e-4f);
}

struct RangeCase {
    const char* name;
    float lat, lon;
    float azimuth, range;
};

class RangeAzimuthFromCentre : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeAzimuthFromCentre, MatchesTheReadoutFigures) {
    const RangeCase& c = GetParam();
    float azimuth = -1.0f, range = -1.0f;
    Moscowish().RangeAzimuth(c.lat, c.lon, azimuth, range);
    if (c.azimuth >= 0.0f) {
        EXPECT_NEAR(azimuth, c.azimuth, 0.006f) << c.name;
    }
    if (c.range >= 0.0f) {
        EXPECT_NEAR(range, c.range, 0.006f) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Points, RangeAzimuthFromCentre,
                         ::testing::Values(RangeCase{"east", 55.0f, 38.0f, 89.59f, 63.86f},
                                           RangeCase{"north", 56.0f, 37.0f, 0.0f, 111.31f},
                                           RangeCase{"south", 54.0f, 37.0f, 180.0f, -1.0f},
                                           RangeCase{"west", 55.0f, 36.0f, 270.41f, 63.86f},
                                           RangeCase{"centre", 55.0f, 37.0f, 0.0f, 0.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RangeAzimuth, SinglePrecisionCosineGivesTheFamiliarRange) {
    // Rounding the cosine to a 32-bit float before the arccosine is what makes
    // one degree of longitude at 55 N read 63.86 km and not 63.85 km.
    float azimuth = 0.0f, range = 0.0f;
    Moscowish().RangeAzimuth(55.0f, 38.0f, azimuth, range);
    EXPECT_GT(range, 63.855f);
}

TEST(RangeAzimuth, AntipodeHasNoAzimuth) {
    const MapProjection p = MapProjection::Init(100.0f, 100.0f, 0.0f, 0.0f, 100.0f);
    float azimuth = -1.0f, range = 0.0f;
    p.RangeAzimuth(0.0f, 180.0f, azimuth, range);
    EXPECT_FLOAT_EQ(azimuth, 0.0f);
    EXPECT_NEAR(range, 20037.5f, 1.0f);
}

TEST(DegMinDisplay, SplitsDegreesAndMinutes) {
    const DegMinValue dm = DegMin(55.75f);
    EXPECT_FALSE(dm.negative);
    EXPECT_EQ(dm.degrees, 55);
    EXPECT_EQ(dm.minutes, 45);
    EXPECT_EQ(DegMinText(55.75f), "55.45");
    EXPECT_EQ(DegMinText(37.0f), "37.0");
    EXPECT_EQ(DegMinText(37.0f + 5.0f / 60.0f + 1e-4f), "37.5");  // minutes are not padded
}

TEST(DegMinDisplay, NegativeCoordinatesKeepTheirSignApart) {
    const DegMinValue dm = DegMin(-5.5f);
    EXPECT_TRUE(dm.negative);
    EXPECT_EQ(dm.degrees, 5);
    EXPECT_EQ(dm.minutes, 30);
    EXPECT_EQ(DegMinText(-5.5f), "-5.30");
    EXPECT_EQ(DegMinText(-0.25f), "-0.15");
    EXPECT_EQ(DegMinText(-0.001f), "0.0");  // nothing left to be negative
}

TEST(DegMinDisplay, DoesNotDependOnAProjection) {
    EXPECT_EQ(DegMinText(179.999f), "179.59");
    EXPECT_EQ(DegMinText(0.0f), "0.0");
}

}  // namespace
}  // namespace kalvera
