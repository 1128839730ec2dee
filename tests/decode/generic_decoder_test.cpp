// The generic product: walking the descriptor list and the replicated image.

#include "decode/generic_decoder.h"

#include <gtest/gtest.h>

#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;
using List = std::vector<bufr::Descriptor>;

constexpr auto decodeGeneric = testing::decodeInto;

// A message with the given descriptors over hand-written fields (value, bits);
// every one starts with the five characters of 0 01 018.
Bytes handWritten(const List& descriptors, const std::vector<std::pair<uint64_t, int>>& fields) {
    bufr::MessageOptions options;
    options.descriptors = descriptors;
    bufr::BitWriter w;
    w.putText("ABCDE", 5);
    for (auto [value, bits] : fields) w.put(value, bits);
    w.padToByte();
    return bufr::buildMessage({}, w.bytes(), options);
}

bufr::GenericProduct oneRun(uint32_t value, uint16_t length, int width = 7) {
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.valueWidth = width;
    p.groups.push_back({length, value, {}});
    return p;
}

struct ValueCase {
    const char* name;
    int layer;
    const char* site;
    int width;
    uint32_t raw;
    uint8_t widthY;
    uint8_t scaleY;
    List descriptors;  // empty: the writer's own list
    int32_t value;
};

TEST(GenericImage, LayerSiteAndOperatorsDecideTheValue) {
    // clang-format off
    const ValueCase cases[] = {
        {"echo tops in metres", 21, "", 4, 5, 0, 0, {}, 5000},
        {"phenomena codes", 22, "", 5, 19, 0, 0, {}, 19},
        {"reflectivity at 26063", 3, "26063", 7, 100, 0, 0, {}, 100},
        {"reflectivity elsewhere", 3, "26061", 7, 100, 0, 0, {}, 36},
        {"negative result truncates toward zero", 0, "", 7, 3, 0, 129, {}, -6},
        {"scale up by ten", 0, "26063", 7, 7, 0, 127, {}, 70},
        {"width operator widens", 0, "26063", 8, 200, 129, 0, {}, 200},
        {"all ones at 7 bits is a value", 3, "26061", 7, 127, 0, 0, {}, 63},
        {"all ones at 8 bits is a value", 3, "26061", 8, 255, 129, 0, {}, 191},
        {"all ones at 9 bits is no data", 3, "26061", 9, 511, 130, 0, {}, 65535},
        {"below all ones at 9 bits is a value", 3, "26061", 9, 510, 130, 0, {}, 446},
        {"echo tops all ones at 9 bits is no data", 21, "", 9, 511, 133, 129, {}, 65535},
        {"echo tops in hundreds of metres", 21, "", 9, 95, 133, 129, {}, 9500},
        {"operators outside the group or with Y zero", 0, "26063", 7, 9, 0, 0,
         {{0, 1, 18}, {3, 1, 11}, {3, 1, 12}, {2, 1, 130}, {0, 5, 2}, {0, 6, 2}, {1, 3, 0},
          {2, 1, 0}, {2, 2, 0}, {0, 21, 1}, {2, 2, 127}},
         9},
        {"later operator overrides earlier", 0, "26063", 7, 9, 0, 0,
         {{0, 1, 18}, {3, 1, 11}, {3, 1, 12}, {0, 5, 2}, {0, 6, 2}, {1, 3, 0}, {2, 2, 126},
          {2, 2, 127}, {0, 21, 1}},
         90},
    };
    // clang-format on
    for (const ValueCase& c : cases) {
        bufr::GenericProduct p = oneRun(c.raw, 2, c.width);
        p.widthOperatorY = c.widthY;
        p.scaleOperatorY = c.scaleY;
        bufr::MessageOptions options;
        if (!c.descriptors.empty()) options.descriptors = c.descriptors;
        RadarPicture picture;
        DisplayState state;
        state.layerCode = c.layer;
        state.siteCode = c.site;
        const Bytes message =
            bufr::buildMessage(bufr::genericDescriptors(p), bufr::encodeGenericData(p), options);
        EXPECT_EQ(decodeGeneric(message, picture, state), 2) << c.name;
        EXPECT_EQ(picture.values[1], c.value) << c.name;
    }
}

TEST(GenericImage, WholeResultsStayWholeWhenScaledDown) {
    RadarPicture picture;
    DisplayState state;
    state.siteCode = "26063";
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.scaleOperatorY = 129;
    for (uint32_t v = 0; v < 128; v += 10) p.groups.push_back({1, v, {}});
    const int32_t count = decodeGeneric(bufr::writeGenericMessage(p), picture, state);
    EXPECT_EQ(count, 13);
    for (int32_t i = 0; i < count; ++i) EXPECT_EQ(picture.values[i], i) << i;
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

TEST(GenericImage, HostileOperatorsStayBounded) {
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

struct WalkCase {
    const char* name;
    List descriptors;
    std::vector<std::pair<uint64_t, int>> fields;
    int32_t count;
    float siteLat;
    float siteLon;  // 0: not in the message
};

TEST(GenericWalk, HandWrittenListsAreFollowedToTheirEnd) {
    // clang-format off
    const WalkCase cases[] = {
        // Latitude without longitude sets the site but never recentres.
        {"latitude alone", {{0, 1, 18}, {0, 5, 2}}, {{13000, 15}}, 0, 40.0f, 0.0f},
        // 2 05 010 moves ten whole bytes and keeps the bit index at 4.
        {"character insertion",
         {{0, 1, 18}, {0, 2, 3}, {2, 5, 10}, {0, 5, 2}},
         {{0b1010, 4}, {~0ull, 40}, {~0ull, 40}, {13000, 15}},
         0, 40.0f, 0.0f},
        // 3 13 009 = 0 21 001, 1 01 000, 0 31 001, 0 21 001: the image (one group,
        // a run of three of 36) starts after one value, then 0 05 002 follows.
        {"replication inside a sequence",
         {{0, 1, 18}, {3, 13, 9}, {0, 5, 2}},
         {{99, 7}, {1, 16}, {3, 16}, {100, 7}, {0, 16}, {15000, 15}},
         3, 60.0f, 0.0f},
        // Nothing after the replication is read.
        {"descriptors after the replication",
         {{0, 1, 18}, {1, 2, 0}, {0, 31, 2}, {0, 21, 1}, {0, 5, 2}},
         {{1, 16}, {1, 16}, {100, 7}, {0, 16}, {13000, 15}},
         1, 0.0f, 0.0f},
        {"no replication", {{0, 1, 18}, {3, 1, 23}, {0, 3, 1}}, {{13000, 15}, {21000, 16}}, 0,
         40.0f, 30.0f},
    };
    // clang-format on
    for (const WalkCase& c : cases) {
        RadarPicture picture;
        picture.values.fill(4);
        DisplayState state;
        state.viewLat = 1.0f;
        EXPECT_EQ(decodeGeneric(handWritten(c.descriptors, c.fields), picture, state), c.count)
            << c.name;
        EXPECT_EQ(picture.values[c.count], 4) << c.name;
        if (c.count > 0) {
            EXPECT_EQ(picture.values[c.count - 1], 36) << c.name;
        }
        EXPECT_FLOAT_EQ(state.siteLat, c.siteLat) << c.name;
        EXPECT_FLOAT_EQ(state.siteLon, c.siteLon) << c.name;
        const bool moved = c.siteLon != 0.0f;  // only a whole position moves the view
        EXPECT_FLOAT_EQ(state.viewLat, moved ? c.siteLat : 1.0f) << c.name;
        EXPECT_EQ(state.recentre, moved ? 1 : 0) << c.name;
    }
}

}  // namespace
}  // namespace kalvera
