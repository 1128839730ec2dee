#include "geo/view_zoom.h"

#include <gtest/gtest.h>

#include "geo/map_projection.h"

namespace kalvera {
namespace {

TEST(ViewZoom, ThePointUnderTheCursorStaysUnderIt) {
    const struct {
        const char* name;
        float x, y, fromKm, toKm;
    } rows[] = {
        {"in, north-east", 700.0f, 100.0f, 200.0f, 160.0f},
        {"out, south-west", 50.0f, 900.0f, 200.0f, 240.0f},
        {"at the centre", 500.0f, 500.0f, 40.0f, 400.0f},
        {"on the corner", 0.0f, 0.0f, 400.0f, 40.0f},
    };
    constexpr float kSide = 1000.0f;
    for (const auto& row : rows) {
        float lat = 60.0f, lon = 30.0f;
        const MapProjection before = MapProjection::Init(kSide, kSide, lon, lat, row.fromKm);
        const float pointLat = before.YToLat(row.y), pointLon = before.XToLon(row.x);
        CentreKeepingPoint(kSide, row.x, row.y, pointLat, pointLon, row.toKm, lat, lon);
        const MapProjection after = MapProjection::Init(kSide, kSide, lon, lat, row.toKm);
        EXPECT_NEAR(after.LonToX(pointLon), row.x, 0.05f) << row.name;
        EXPECT_NEAR(after.LatToY(pointLat), row.y, 0.05f) << row.name;
    }
}

}  // namespace
}  // namespace kalvera
