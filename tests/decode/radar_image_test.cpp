// The fixed-layout product: site position from the corners and the run-length image.

#include <gtest/gtest.h>

#include "decode/picture_loader.h"
#include "decode/radar_image_decoder.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

int32_t decode(const bufr::FixedProduct& product, RadarPicture& picture, DisplayState& state) {
    return testing::decodeInto(bufr::writeFixedMessage(product), picture, state);
}

bufr::FixedProduct withRow(std::vector<bufr::FixedRun> runs, std::vector<uint8_t> singles = {}) {
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows.emplace_back();
    p.rows.back().segments.push_back({std::move(runs), std::move(singles)});
    return p;
}

TEST(FixedSitePosition, SinglePrecisionMeansOfTheCorners) {
    // Latitude from corners one and four, longitude from all four.
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.cornerLat = {6123, 6001, 5877, 5931};
    p.cornerLon = {2811, 3217, 3209, 2799};
    RadarPicture picture;
    DisplayState state;
    decode(p, picture, state);
    float lat[4];
    float lon[4];
    for (int i = 0; i < 4; ++i) {
        lat[i] = static_cast<float>(0.01 * (p.cornerLat[i]));
        lon[i] = static_cast<float>(0.01 * (p.cornerLon[i]));
    }
    EXPECT_EQ(state.siteLat, 0.5f * (lat[0] + lat[3]));
    EXPECT_EQ(state.siteLon, 0.25f * (lon[0] + lon[1] + lon[2] + lon[3]));
}

TEST(SitePosition, BothProductsMoveTheViewToThisSiteOnlyWhenRecentreIsClear) {
    bufr::FixedProduct fixedElsewhere = testing::smallFixedProduct();
    fixedElsewhere.cornerLat = {5100, 5100, 4900, 4900};
    bufr::GenericProduct genericElsewhere = testing::smallGenericProduct();
    genericElsewhere.latitudeRaw = 14000;
    const struct {
        Bytes elsewhere, here;
        float lat, lon;
    } products[] = {
        {bufr::writeFixedMessage(fixedElsewhere),
         bufr::writeFixedMessage(testing::smallFixedProduct()), 60.0f, 30.0f},
        {bufr::writeGenericMessage(genericElsewhere),
         bufr::writeGenericMessage(testing::smallGenericProduct()), 40.0f, 30.0f},
    };
    for (const auto& p : products) {
        RadarPicture picture;
        DisplayState state;
        state.viewLat = 55.0f;
        state.viewLon = 37.0f;
        state.recentre = 1;
        testing::decodeInto(p.elsewhere, picture, state);
        EXPECT_EQ(state.viewLat, 55.0f);
        EXPECT_EQ(state.viewLon, 37.0f);
        state.recentre = 0;
        testing::decodeInto(p.here, picture, state);
        EXPECT_FLOAT_EQ(state.siteLat, p.lat);
        EXPECT_FLOAT_EQ(state.viewLat, p.lat);
        EXPECT_FLOAT_EQ(state.viewLon, p.lon);
        EXPECT_EQ(state.recentre, 1);
    }
}

struct ImageCase {
    const char* name;
    bufr::FixedProduct product;
    int32_t count;
    std::vector<std::pair<int, int32_t>> cells;  // index, value; the grid starts at -1
};

TEST(FixedImage, RunsSinglesAndTheirLimits) {
    bufr::FixedProduct twoRows = withRow({{100, 2}});
    twoRows.rows.push_back(withRow({{3, 1}, {2, 0}, {2, 3}, {1, 255}}, {200, 7}).rows[0]);
    bufr::FixedProduct zeroCounts = withRow({{0, 1}, {2, 1}});
    zeroCounts.rows.insert(zeroCounts.rows.begin(), bufr::FixedRow{});
    // clang-format off
    const ImageCase cases[] = {
        // Runs take class values (index 0 and unlisted indices give 0), singles are raw.
        {"runs and singles", twoRows, 110,
         {{0, 70}, {99, 70}, {100, 40}, {102, 40}, {103, 0}, {105, 0}, {107, 0}, {108, 200},
          {109, 7}, {110, -1}}},
        {"half the rows", testing::filledFixed(50), 5000, {{4999, 40}, {5000, -1}, {9999, -1}}},
        {"runs past the grid end", withRow({{9990, 1}, {65535, 2}}, {1, 2, 3}), 10000,
         {{9989, 40}, {9999, 70}}},
        {"zero counts", zeroCounts, 2, {{1, 40}, {2, -1}}},
    };
    // clang-format on
    for (const ImageCase& c : cases) {
        RadarPicture picture;
        picture.values.fill(-1);
        DisplayState state;
        EXPECT_EQ(decode(c.product, picture, state), c.count) << c.name;
        for (auto [cell, value] : c.cells) EXPECT_EQ(picture.values[cell], value) << c.name << cell;
    }
}

TEST(FixedImage, DataEndingEarlyReadsAsZeroBits) {
    const Bytes data = bufr::encodeFixedData(testing::filledFixed(100));
    // 304 bits of header and class list, 16 of row count, then the first row
    // (12 + 8 + 8 + 24 + 8 bits) and the next row's number only.
    const Bytes cut(data.begin(), data.begin() + (304 + 16 + 60 + 12) / 8);
    RadarPicture picture;
    picture.values.fill(3);
    DisplayState state;
    BitCursor cursor = placeCursor(view(cut), 0);
    EXPECT_EQ(decodeRadarImage(cursor, picture, state), 100);
    EXPECT_EQ(picture.values[99], 40);
    EXPECT_EQ(picture.values[100], 3);
}

}  // namespace
}  // namespace kalvera
