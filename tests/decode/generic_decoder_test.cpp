// The generic product: walking the descriptor list and the replicated image.

#include "decode/generic_decoder.h"

#include <gtest/gtest.h>

#include "decode/picture_loader.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

int32_t decodeGeneric(const Bytes& m, RadarPicture& picture, DisplayState& state) {
    PictureLoadReport report;
    EXPECT_TRUE(decodeMessage(view(m), picture, state, &report));
    EXPECT_TRUE(report.hasFirstDescriptor);
    return report.count;
}

bufr::GenericProduct oneRun(uint32_t value, uint16_t length, int width = 7) {
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.valueWidth = width;
    p.groups.push_back({length, value, {}});
    return p;
}

TEST(GenericSitePosition, CoarseLatitudeAndLongitudeSetTheSite) {
    RadarPicture picture;
    DisplayState state;
    state.recentre = 1;
    state.viewLat = 1.0f;
    decodeGeneric(bufr::writeGenericMessage(testing::smallGenericProduct()), picture, state);
    EXPECT_FLOAT_EQ(state.siteLat, 40.0f);
    EXPECT_FLOAT_EQ(state.siteLon, 30.0f);
    EXPECT_EQ(state.viewLat, 1.0f);
}

TEST(GenericSitePosition, RecentreUsesThisMessagesPosition) {
    RadarPicture picture;
    DisplayState state;
    state.recentre = 1;
    bufr::GenericProduct first = testing::smallGenericProduct();
    first.latitudeRaw = 14000;
    decodeGeneric(bufr::writeGenericMessage(first), picture, state);
    state.recentre = 0;
    decodeGeneric(bufr::writeGenericMessage(testing::smallGenericProduct()), picture, state);
    EXPECT_FLOAT_EQ(state.viewLat, 40.0f);
    EXPECT_FLOAT_EQ(state.viewLon, 30.0f);
    EXPECT_EQ(state.recentre, 1);
}

TEST(GenericSitePosition, LatitudeAloneDoesNotRecentre) {
    bufr::GenericProduct p = testing::smallGenericProduct();
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{{0, 1, 18}, {0, 5, 2}};
    Bytes data;
    {
        bufr::BitWriter w;
        w.putText("ABCDE", 5);
        w.put(13000, 15);
        w.padToByte();
        data = w.bytes();
    }
    RadarPicture picture;
    DisplayState state;
    state.viewLat = 1.0f;
    decodeGeneric(bufr::buildMessage({}, data, options), picture, state);
    EXPECT_FLOAT_EQ(state.siteLat, 40.0f);
    EXPECT_EQ(state.viewLat, 1.0f);
    EXPECT_EQ(state.recentre, 0);
}

TEST(GenericImage, LayerDecidesWidthScaleAndReference) {
    RadarPicture picture;
    DisplayState state;
    state.layerCode = 21;
    EXPECT_EQ(decodeGeneric(bufr::writeGenericMessage(oneRun(5, 10, 4)), picture, state), 10);
    EXPECT_EQ(picture.values[9], 5000);
    state.layerCode = 22;
    decodeGeneric(bufr::writeGenericMessage(oneRun(19, 10, 5)), picture, state);
    EXPECT_EQ(picture.values[0], 19);
    state.layerCode = 3;
    state.siteCode = "26063";
    decodeGeneric(bufr::writeGenericMessage(oneRun(100, 10)), picture, state);
    EXPECT_EQ(picture.values[0], 100);
    state.siteCode = "26061";
    decodeGeneric(bufr::writeGenericMessage(oneRun(100, 10)), picture, state);
    EXPECT_EQ(picture.values[0], 36);
}

TEST(GenericImage, ReferenceBelowZeroTruncatesTowardZero) {
    RadarPicture picture;
    DisplayState state;
    bufr::GenericProduct p = oneRun(3, 1);
    p.scaleOperatorY = 129;  // divide by ten: (3 - 64) / 10 = -6.1
    decodeGeneric(bufr::writeGenericMessage(p), picture, state);
    EXPECT_EQ(picture.values[0], -6);
}

TEST(GenericImage, WidthOperatorWidensValues) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = oneRun(200, 4, 8);
    p.widthOperatorY = 129;
    p.groups[0].singles = {255, 1};
    EXPECT_EQ(decodeGeneric(bufr::writeGenericMessage(p), picture, state), 6);
    EXPECT_EQ(picture.values[0], 200);
    EXPECT_EQ(picture.values[4], 255);
    EXPECT_EQ(picture.values[5], 1);
}

TEST(GenericImage, ScaleOperatorMultipliesByTen) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = oneRun(7, 2);
    p.scaleOperatorY = 127;
    decodeGeneric(bufr::writeGenericMessage(p), picture, state);
    EXPECT_EQ(picture.values[0], 70);
}

TEST(GenericImage, WholeResultsStayWholeWhenScaledDown) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.scaleOperatorY = 129;
    for (uint32_t v = 0; v < 128; v += 10) p.groups.push_back({1, v, {}});
    const int32_t count = decodeGeneric(bufr::writeGenericMessage(p), picture, state);
    for (int32_t i = 0; i < count; ++i) EXPECT_EQ(picture.values[i], i) << i;
}

TEST(GenericImage, OperatorsOutsideTheGroupOrWithYZeroChangeNothing) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = oneRun(9, 1);
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{
        {0, 1, 18}, {3, 1, 11}, {3, 1, 12}, {2, 1, 130}, {0, 5, 2},  {0, 6, 2},
        {1, 3, 0},  {2, 1, 0},  {2, 2, 0},  {0, 21, 1},  {2, 2, 127}};
    decodeGeneric(bufr::buildMessage({}, bufr::encodeGenericData(p), options), picture, state);
    EXPECT_EQ(picture.values[0], 9);
}

TEST(GenericImage, LaterOperatorOverridesEarlier) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = oneRun(9, 1);
    bufr::MessageOptions options;
    options.descriptors =
        std::vector<bufr::Descriptor>{{0, 1, 18}, {3, 1, 11},  {3, 1, 12},  {0, 5, 2}, {0, 6, 2},
                                      {1, 3, 0},  {2, 2, 126}, {2, 2, 127}, {0, 21, 1}};
    decodeGeneric(bufr::buildMessage({}, bufr::encodeGenericData(p), options), picture, state);
    EXPECT_EQ(picture.values[0], 90);
}

TEST(GenericImage, GroupsStopExactlyAtTheGridEnd) {
    RadarPicture picture;
    DisplayState state;
    bufr::GenericProduct p = oneRun(70, 9999);
    p.groups[0].singles = {71, 72, 73};
    p.groups.push_back({500, 1, {}});
    EXPECT_EQ(decodeGeneric(bufr::writeGenericMessage(p), picture, state), 10000);
    EXPECT_EQ(picture.values[9998], 6);
    EXPECT_EQ(picture.values[9999], 7);
}

TEST(GenericImage, GridRoundTripsThroughTheWriter) {
    std::array<int32_t, 10000> raw{};
    for (int i = 0; i < 10000; ++i) raw[i] = (i / 3 + i % 17) % 32;
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.valueWidth = 5;
    p.imageElement = {0, 21, 22};
    p.groups = bufr::runLengthGroups(raw);
    RadarPicture picture;
    DisplayState state;
    state.layerCode = 22;
    ASSERT_EQ(decodeGeneric(bufr::writeGenericMessage(p), picture, state), 10000);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(picture.values[i], raw[i]) << i;
}

TEST(GenericWalk, FieldWidthsOfTheUsualListAreRespected) {
    // 40 bits of name, 33 of date and time, 15 and 16 of position, then the image.
    bufr::GenericProduct p = oneRun(100, 1);
    const Bytes m = bufr::writeGenericMessage(p);
    DescriptorList list;
    int32_t count = 0;
    int32_t offset = 0;
    ASSERT_TRUE(parseSections(view(m), list, count, offset));
    BitCursor cursor = placeCursor(view(m), offset);
    RadarPicture picture;
    DisplayState state;
    int32_t written = -1;
    EXPECT_TRUE(decodeDescriptors(cursor, std::span(list.data(), count), picture, state, &written));
    EXPECT_EQ(written, 1);
    EXPECT_EQ(picture.values[0], 36);
    const int32_t bits = 40 + 33 + 15 + 16 + 16 + 16 + 7 + 16;
    EXPECT_EQ(cursor.bytePosition - offset, bits / 8);
    EXPECT_EQ(cursor.bitIndex, bits % 8);
}

TEST(GenericWalk, CharacterInsertionSkipsWholeBytes) {
    bufr::MessageOptions options;
    options.descriptors =
        std::vector<bufr::Descriptor>{{0, 1, 18}, {0, 2, 3}, {2, 5, 10}, {0, 5, 2}};
    bufr::BitWriter w;
    w.putText("ABCDE", 5);
    w.put(0b1010, 4);
    w.putText("0123456789", 10);
    w.put(13000, 15);
    w.padToByte();
    const Bytes m = bufr::buildMessage({}, w.bytes(), options);
    RadarPicture picture;
    DisplayState state;
    decodeGeneric(m, picture, state);
    // 2 05 010 moves ten whole bytes and keeps the bit index at 4.
    EXPECT_FLOAT_EQ(state.siteLat, 40.0f);
}

TEST(GenericWalk, DescriptorsAfterTheReplicationAreNotRead) {
    bufr::GenericProduct p = oneRun(100, 1);
    std::vector<bufr::Descriptor> list = bufr::genericDescriptors(p);
    list.push_back({0, 5, 2});
    bufr::MessageOptions options;
    options.descriptors = list;
    Bytes data = bufr::encodeGenericData(p);
    data.insert(data.end(), 4, 0xFF);
    RadarPicture picture;
    DisplayState state;
    decodeGeneric(bufr::buildMessage({}, data, options), picture, state);
    EXPECT_FLOAT_EQ(state.siteLat, 40.0f);
}

TEST(GenericWalk, ReplicationInsideASequenceEndsOnlyTheSequence) {
    // 3 13 009 = 0 21 001, 1 01 000, 0 31 001, 0 21 001: the image starts after
    // one 7-bit value, then decoding resumes with 0 05 002.
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{{0, 1, 18}, {3, 13, 9}, {0, 5, 2}};
    bufr::BitWriter w;
    w.putText("ABCDE", 5);
    w.put(99, 7);
    w.put(1, 16);   // one group
    w.put(3, 16);   // run of three
    w.put(100, 7);  // 36 after the reference
    w.put(0, 16);
    w.put(15000, 15);
    w.padToByte();
    RadarPicture picture;
    DisplayState state;
    EXPECT_EQ(decodeGeneric(bufr::buildMessage({}, w.bytes(), options), picture, state), 3);
    EXPECT_EQ(picture.values[2], 36);
    EXPECT_FLOAT_EQ(state.siteLat, 60.0f);
}

TEST(GenericWalk, NoReplicationLeavesTheGridAlone) {
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{{0, 1, 18}, {3, 1, 23}, {0, 3, 1}};
    bufr::BitWriter w;
    w.putText("ABCDE", 5);
    w.put(13000, 15);
    w.put(21000, 16);
    w.padToByte();
    RadarPicture picture;
    picture.values.fill(4);
    DisplayState state;
    EXPECT_EQ(decodeGeneric(bufr::buildMessage({}, w.bytes(), options), picture, state), 0);
    EXPECT_EQ(picture.values[0], 4);
    EXPECT_FLOAT_EQ(state.siteLon, 30.0f);
}

TEST(GenericWalk, HostileOperatorsStayBounded) {
    // A width change of +127 and -128 and a scale change to the extremes.
    for (uint8_t widthY : {uint8_t{1}, uint8_t{255}}) {
        for (uint8_t scaleY : {uint8_t{1}, uint8_t{255}}) {
            bufr::GenericProduct p = testing::smallGenericProduct();
            p.widthOperatorY = widthY;
            p.scaleOperatorY = scaleY;
            p.valueWidth = widthY == 255 ? 134 : 0;
            p.groups.push_back({10, 1, {1, 2}});
            RadarPicture picture;
            DisplayState state;
            EXPECT_EQ(decodeGeneric(bufr::writeGenericMessage(p), picture, state), 12);
        }
    }
}

}  // namespace
}  // namespace kalvera
