#include "geo/map_projection.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

MapProjection Moscowish() {
    return MapProjection::Init(640.0f, 640.0f, 37.0f, 55.0f, 200.0f);
}

TEST(MapProjection, HalfExtentsFollowTheTwoEarthRadiiAroundTheCentreGivenLonFirst) {
    const MapProjection p = Moscowish();
    EXPECT_FLOAT_EQ(p.lon0, 37.0f);
    EXPECT_NEAR(p.dLat, 1.80267f, 5e-5f);
    EXPECT_NEAR(p.dLon, 3.13233f, 5e-5f);
    EXPECT_FLOAT_EQ(p.latMax, 55.0f + p.dLat);
    EXPECT_FLOAT_EQ(p.lonSpan, p.lonMax - p.lonMin);
    EXPECT_FLOAT_EQ(p.halfWidth, 320.0f);
}

TEST(MapProjection, BoundsAloneLeaveTheCentre) {
    MapProjection p = Moscowish();
    p.InitBounds(100.0f, 100.0f, 10.0f, 20.0f, 10.0f, 20.0f);
    EXPECT_FLOAT_EQ(p.width, 100.0f);
    EXPECT_FLOAT_EQ(p.lonMin, 10.0f);
    EXPECT_FLOAT_EQ(p.latMax, 20.0f);
    EXPECT_FLOAT_EQ(p.lonSpan, 10.0f);
    EXPECT_FLOAT_EQ(p.lat0, 55.0f);
    EXPECT_FLOAT_EQ(p.halfWidth, 320.0f);
}

TEST(MapProjection, MapsNorthUpEdgeToEdgeWithoutClippingAndBack) {
    const MapProjection p = Moscowish();
    EXPECT_FLOAT_EQ(p.LonToX(37.0f), 320.0f);
    EXPECT_FLOAT_EQ(p.LatToY(55.0f), 320.0f);
    EXPECT_NEAR(p.XToLon(320.0f), 37.0f, 1e-5f);
    EXPECT_NEAR(p.YToLat(320.0f), 55.0f, 1e-5f);
    EXPECT_NEAR(p.LonToX(p.lonMin), 0.0f, 1e-3f);
    EXPECT_NEAR(p.LatToY(p.latMax), 0.0f, 1e-3f);
    EXPECT_NEAR(p.LatToY(p.latMin), 640.0f, 1e-3f);
    EXPECT_GT(p.LonToX(p.lonMax + 1.0f), 640.0f);
    EXPECT_NEAR(p.XToLon(p.LonToX(39.9f)), 39.9f, 1e-4f);
    EXPECT_NEAR(p.YToLat(p.LatToY(53.3f)), 53.3f, 1e-4f);
}

TEST(MapProjection, RangeAndAzimuthFromTheCentre) {
    // Without rounding the cosine to a 32-bit float one degree of longitude
    // at 55 N would read 63.85 km.
    const struct {
        const char* name;
        float lat, lon, azimuth, range;
    } rows[] = {
        {"east", 55.0f, 38.0f, 89.59f, 63.86f}, {"north", 56.0f, 37.0f, 0.0f, 111.31f},
        {"south", 54.0f, 37.0f, 180.0f, -1.0f}, {"west", 55.0f, 36.0f, 270.41f, 63.86f},
        {"centre", 55.0f, 37.0f, 0.0f, 0.0f},
    };
    for (const auto& row : rows) {
        float azimuth = -1.0f, range = -1.0f;
        Moscowish().RangeAzimuth(row.lat, row.lon, azimuth, range);
        EXPECT_NEAR(azimuth, row.azimuth, 0.006f) << row.name;
        if (row.range >= 0.0f) {
            EXPECT_NEAR(range, row.range, 0.005f) << row.name;
        }
    }
    float azimuth = -1.0f, range = 0.0f;
    MapProjection::Init(100.0f, 100.0f, 0.0f, 0.0f, 100.0f)
        .RangeAzimuth(0.0f, 180.0f, azimuth, range);
    EXPECT_FLOAT_EQ(azimuth, 0.0f) << "the antipode has no azimuth";
    EXPECT_NEAR(range, 20037.5f, 1.0f);
}

TEST(DegMin, SplitsDegreesAndUnpaddedMinutesWithTheSignApart) {
    const DegMinValue dm = DegMin(55.75f);
    EXPECT_EQ(dm.degrees * 100 + dm.minutes, 5545);
    EXPECT_TRUE(DegMin(-5.5f).negative);
    EXPECT_EQ(DegMin(-5.5f).minutes, 30);
    const struct {
        float value;
        const char* text;
    } rows[] = {
        {55.75f, "55.45"},    {37.0f + 5.0f / 60.0f + 1e-4f, "37.5"},
        {179.999f, "179.59"}, {0.0f, "0.0"},
        {-5.5f, "-5.30"},     {-0.25f, "-0.15"},
        {-0.001f, "0.0"},
    };
    for (const auto& row : rows) EXPECT_EQ(DegMinText(row.value), row.text) << row.value;
}

}  // namespace
}  // namespace kalvera
