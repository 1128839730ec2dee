// The fixed-layout product: site position from the corners and the run-length image.

#include <gtest/gtest.h>

#include "decode/picture_loader.h"
#include "decode/radar_image_decoder.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

struct Decoded {
    bool ok = false;
    PictureLoadReport report;
};

Decoded decode(const bufr::FixedProduct& product, RadarPicture& picture, DisplayState& state) {
    Decoded d;
    const Bytes m = bufr::writeFixedMessage(product);
    d.ok = decodeMessage(view(m), picture, state, &d.report);
    return d;
}

bufr::FixedRow runRow(std::vector<bufr::FixedRun> runs, std::vector<uint8_t> singles = {}) {
    bufr::FixedRow row;
    row.segments.push_back({std::move(runs), std::move(singles)});
    return row;
}

TEST(FixedSitePosition, LatitudeFromCornersOneAndFourLongitudeFromAll) {
    RadarPicture picture;
    DisplayState state;
    state.recentre = 1;
    bufr::FixedProduct p = testing::smallFixedProduct();
    const Decoded d = decode(p, picture, state);
    ASSERT_TRUE(d.ok);
    EXPECT_FLOAT_EQ(state.siteLat, 60.0f);
    EXPECT_FLOAT_EQ(state.siteLon, 30.0f);

    p.cornerLat = {6000, 6200, 5800, 6000};
    decode(p, picture, state);
    EXPECT_FLOAT_EQ(state.siteLat, 60.0f);
}

TEST(FixedSitePosition, SumsAreSinglePrecision) {
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

TEST(FixedSitePosition, RecentreFlagDecidesWhetherTheViewMoves) {
    RadarPicture picture;
    DisplayState state;
    state.viewLat = 55.0f;
    state.viewLon = 37.0f;
    state.recentre = 1;
    decode(testing::smallFixedProduct(), picture, state);
    EXPECT_EQ(state.viewLat, 55.0f);
    EXPECT_EQ(state.viewLon, 37.0f);
    state.recentre = 0;
    decode(testing::smallFixedProduct(), picture, state);
    EXPECT_FLOAT_EQ(state.viewLat, 60.0f);
    EXPECT_FLOAT_EQ(state.viewLon, 30.0f);
    EXPECT_EQ(state.recentre, 1);
}

TEST(FixedScaledValue, PowerOfTenTimesSum) {
    EXPECT_DOUBLE_EQ(scaledValue(15000, 2, -9000), 60.0);
    EXPECT_DOUBLE_EQ(scaledValue(5, -3, 0), 5000.0);
    EXPECT_DOUBLE_EQ(scaledValue(0, 0, -64), -64.0);
}

TEST(FixedImage, RunsTakeClassValuesSinglesAreRaw) {
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows.push_back(runRow({{100, 2}}));
    p.rows.push_back(runRow({{3, 1}, {2, 0}, {2, 3}, {1, 255}}, {200, 7}));
    RadarPicture picture;
    picture.values.fill(-1);
    DisplayState state;
    const Decoded d = decode(p, picture, state);
    EXPECT_EQ(d.report.count, 110);
    for (int j = 0; j < 100; ++j) ASSERT_EQ(picture.values[j], 70) << j;
    const int32_t row1[] = {40, 40, 40, 0, 0, 0, 0, 0, 200, 7, -1};
    for (int j = 0; j < 11; ++j) EXPECT_EQ(picture.values[100 + j], row1[j]) << j;
}

TEST(FixedImage, ShortProductLeavesTheRestOfTheGridAlone) {
    std::array<int32_t, 10000> indices{};
    indices.fill(1);
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows = bufr::runLengthRows(indices);
    p.rows.resize(50);
    RadarPicture picture;
    picture.values.fill(9);
    DisplayState state;
    const Decoded d = decode(p, picture, state);
    EXPECT_EQ(d.report.count, 5000);
    EXPECT_EQ(picture.values[4999], 40);
    EXPECT_EQ(picture.values[5000], 9);
    EXPECT_EQ(picture.values[9999], 9);
}

TEST(FixedImage, OverlongRunsStopExactlyAtTheGridEnd) {
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows.push_back(runRow({{9990, 1}, {65535, 2}}, {1, 2, 3}));
    RadarPicture picture;
    DisplayState state;
    const Decoded d = decode(p, picture, state);
    EXPECT_EQ(d.report.count, 10000);
    EXPECT_EQ(picture.values[9989], 40);
    EXPECT_EQ(picture.values[9999], 70);
}

TEST(FixedImage, ZeroCountsAreEmptyLoops) {
    bufr::FixedProduct p = testing::smallFixedProduct();
    bufr::FixedRow empty;
    p.rows.push_back(empty);
    p.rows.push_back(runRow({{0, 1}, {2, 1}}));
    RadarPicture picture;
    picture.values.fill(5);
    DisplayState state;
    const Decoded d = decode(p, picture, state);
    EXPECT_EQ(d.report.count, 2);
    EXPECT_EQ(picture.values[1], 40);
    EXPECT_EQ(picture.values[2], 5);
}

TEST(FixedImage, GridRoundTripsThroughTheWriter) {
    std::array<int32_t, 10000> indices{};
    for (int i = 0; i < 10000; ++i) indices[i] = (i / 7 + i % 13) % 5;
    bufr::FixedProduct p;
    p.classValues = {10, 20, 30, 40};
    p.rows = bufr::runLengthRows(indices);
    RadarPicture picture;
    DisplayState state;
    const Decoded d = decode(p, picture, state);
    ASSERT_EQ(d.report.count, 10000);
    const int32_t classes[] = {0, 10, 20, 30, 40};
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(picture.values[i], classes[indices[i]]) << i;
}

TEST(FixedImage, DataEndingEarlyReadsAsZeroBits) {
    std::array<int32_t, 10000> indices{};
    indices.fill(2);
    bufr::FixedProduct p = testing::smallFixedProduct();
    p.rows = bufr::runLengthRows(indices);
    const Bytes data = bufr::encodeFixedData(p);
    // 304 bits of header and class list, 16 of row count, then the first row
    // (12 + 8 + 8 + 24 + 8 bits) and the next row's number only.
    const Bytes cut(data.begin(), data.begin() + (304 + 16 + 60 + 12) / 8);
    RadarPicture picture;
    picture.values.fill(3);
    DisplayState state;
    BitCursor cursor = placeCursor(view(cut), 0);
    EXPECT_EQ(decodeRadarImage(cursor, picture, state), 100);
    EXPECT_EQ(picture.values[99], 70);
    EXPECT_EQ(picture.values[100], 3);
}

}  // namespace
}  // namespace kalvera
