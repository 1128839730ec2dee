// The compiled-in tables and the rule that reads one element.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "bufr/bufr_writer.h"
#include "decode/bit_cursor.h"
#include "decode/descriptor_tables.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

TEST(TableWalk, EverySequenceExpandsOnlyToKnownDescriptors) {
    for (int32_t i = 0; i < sequenceTableSize(); ++i) {
        const DescriptorTriple key = sequenceTableKey(i);
        DescriptorList list{};
        int32_t count = 0;
        expandSequence(key.x, key.y, list, count);
        EXPECT_GT(count, 0);
        for (int32_t k = 0; k < count; ++k) {
            const DescriptorTriple& d = list[k];
            ElementEntry entry;
            lookupElement(d.x, d.y, entry);
            EXPECT_TRUE(d.f != 0 || entry.kind != 'X') << int(d.x) << " " << int(d.y);
            DescriptorList inner{};
            int32_t innerCount = 0;
            if (d.f == 3) expandSequence(d.x, d.y, inner, innerCount);
            EXPECT_TRUE(d.f != 3 || innerCount > 0) << int(d.x) << " " << int(d.y);
            EXPECT_TRUE(d.f != 1 || k + d.x < count) << "replication runs past its sequence";
        }
    }
    // Nested sequences stay as they are until they are met.
    DescriptorList list{};
    int32_t count = 0;
    expandSequence(11, 1, list, count);
    ASSERT_EQ(count, 9);
    EXPECT_EQ(list[0].f, 3);
    EXPECT_EQ(list[0].y, 51);
    // An unknown sequence writes nothing.
    list[0] = {0, 9, 9};
    count = 0;
    expandSequence(1, 2, list, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list[0].x, 9);
}

TEST(TableWalk, EveryElementHasANameAndAWidthThatFitsItsKind) {
    std::set<std::pair<int, int>> seen;
    for (int32_t i = 0; i < elementTableSize(); ++i) {
        const DescriptorTriple key = elementTableKey(i);
        EXPECT_TRUE(seen.insert({key.x, key.y}).second) << "duplicate " << int(key.x);
        ElementEntry entry;
        lookupElement(key.x, key.y, entry);
        EXPECT_GT(std::strlen(entry.name), 0u);
        EXPECT_NE(std::string(entry.name), "Undefined parameter");
        ASSERT_NE(std::string("NDmAC").find(entry.kind), std::string::npos) << entry.name;
        EXPECT_GT(entry.width, 0) << entry.name;
        EXPECT_LE(entry.width, entry.kind == 'A' ? 256 : 31) << entry.name;
        EXPECT_TRUE(entry.kind != 'A' || entry.width % 8 == 0) << entry.name;
    }
}

TEST(ElementLookup, UnknownClassOrRowIsUndefinedWithWidthZero) {
    ElementEntry listed;
    lookupElement(31, 1, listed);
    EXPECT_STREQ(listed.name, "Delayed descriptorsiptor replication factor");  // as the table has it
    for (auto [x, y] : {std::pair{3, 1}, std::pair{1, 3}, std::pair{63, 255}, std::pair{9, 0}}) {
        ElementEntry e;
        e.width = 99;
        lookupElement(x, y, e);
        EXPECT_STREQ(e.name, "Undefined parameter");
        EXPECT_EQ(e.kind, 'X');
        EXPECT_EQ(e.width, 0);
        EXPECT_EQ(e.scale, 0);
        EXPECT_EQ(e.reference, 0);
    }
}

TEST(CodeMeaning, ListedValuesGiveTheirTextOthersLeaveItAlone) {
    struct Row {
        int x, y, value;
        const char* text;
    };
    const Row rows[] = {
        {11, 31, 2, "Moderate, in cloud"},
        {11, 31, 15, "Missing value"},
        {21, 22, 10, "Thunderstorm, probability 30–70%"},
        {21, 22, 19, "Tornado"},
        {21, 22, 20, "unchanged"},  // just past the last listed value
        {21, 22, 31, "No data"},
        {2, 61, 4, "Reserved"},
        {8, 7, 15, "Missing value"},
        {29, 1, 4, "Scanning cone (radar)*"},
        {30, 31, 11, "unchanged"},
        {2, 3, 1, "unchanged"},  // a class with tables, but not this element
        {21, 1, 0, "unchanged"},
        {1, 1, 0, "Undefined parameter"},  // a class without tables
        {25, 9, 0, "Undefined parameter"},
    };
    for (const Row& r : rows) {
        char text[kTextSize] = "unchanged";
        lookupCodeMeaning(r.x, r.y, r.value, text);
        EXPECT_STREQ(text, r.text) << r.x << " " << r.y << " " << r.value;
    }
}

struct Decoded {
    float value;
    int32_t bytePosition;
    int32_t bitIndex;
};

Decoded decodeRaw(DescriptorTriple d, uint64_t raw, int width) {
    bufr::BitWriter w;
    w.put(raw, width);
    w.put(0, 64);
    const Bytes m = w.bytes();
    BitCursor c = placeCursor(view(m), 0);
    const float value = decodeElement(c, d);
    return {value, c.bytePosition, c.bitIndex};
}

TEST(ElementDecoding, ScalesReferencesAndWidthsApply) {
    struct Row {
        DescriptorTriple d;
        uint64_t raw;
        int width;
        float value;
    };
    const Row rows[] = {
        {{0, 5, 2}, 13000, 15, 40.0f},         {{0, 6, 2}, 21000, 16, 30.0f},
        {{0, 21, 1}, 100, 7, 36.0f},           {{0, 21, 21}, 5, 4, 5000.0f},
        {{0, 7, 7}, 1500, 17, 500.0f},         {{0, 11, 2}, 123, 12, 12.3f},
        {{0, 2, 3}, 0b1011, 4, 11.0f},         // code element without a table: its bits
        {{0, 1, 18}, 0x4142434445ull, 40, 0},  // characters move whole bytes
        {{0, 3, 1}, 0xFF, 0, 0},               // undefined element reads nothing
    };
    for (const Row& r : rows) {
        const Decoded got = decodeRaw(r.d, r.raw, r.width);
        EXPECT_FLOAT_EQ(got.value, r.value) << int(r.d.x) << " " << int(r.d.y);
        EXPECT_EQ(got.bytePosition * 8 + got.bitIndex, r.width) << int(r.d.x) << " " << int(r.d.y);
    }
}

TEST(ElementDecoding, ArithmeticIsSinglePrecision) {
    // (raw + reference) held as a float, times the power of ten, rounded to float.
    const float sum = static_cast<float>(12345) + static_cast<float>(-9000);
    EXPECT_EQ(decodeRaw({0, 5, 2}, 12345, 15).value, static_cast<float>(sum * 0.01));
    const uint32_t wide = (1u << 25) - 1;  // all ones: no missing-value test
    const float wideSum = static_cast<float>(wide) + static_cast<float>(-9000000);
    EXPECT_EQ(decodeRaw({0, 5, 1}, wide, 25).value, static_cast<float>(wideSum * 1e-5));
}

}  // namespace
}  // namespace kalvera
