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

bool isKnownElement(const DescriptorTriple& d) {
    ElementEntry entry;
    lookupElement(d.x, d.y, entry);
    return entry.kind != 'X';
}

bool isKnownSequence(const DescriptorTriple& d) {
    for (int32_t i = 0; i < sequenceTableSize(); ++i) {
        const DescriptorTriple key = sequenceTableKey(i);
        if (key.x == d.x && key.y == d.y) return true;
    }
    return false;
}

TEST(TableWalk, EverySequenceExpandsOnlyToKnownDescriptors) {
    ASSERT_EQ(sequenceTableSize(), 11);
    for (int32_t i = 0; i < sequenceTableSize(); ++i) {
        const DescriptorTriple key = sequenceTableKey(i);
        DescriptorList list{};
        int32_t count = 0;
        expandSequence(key.x, key.y, list, count);
        EXPECT_GT(count, 0);
        for (int32_t k = 0; k < count; ++k) {
            const DescriptorTriple& d = list[k];
            if (d.f == 0) {
                EXPECT_TRUE(isKnownElement(d)) << int(d.x) << " " << int(d.y);
            } else if (d.f == 3) {
                EXPECT_TRUE(isKnownSequence(d)) << int(d.x) << " " << int(d.y);
            } else if (d.f == 1) {
                EXPECT_LT(k + d.x, count) << "replication runs past its sequence";
            }
        }
    }
}

TEST(TableWalk, EveryElementHasANameAndAWidthThatFitsItsKind) {
    ASSERT_EQ(elementTableSize(), 75);
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
        if (entry.kind == 'A') {
            EXPECT_EQ(entry.width % 8, 0) << entry.name;
        }
    }
}

TEST(TableWalk, NestedSequencesExpandWhenMet) {
    DescriptorList list{};
    int32_t count = 0;
    expandSequence(11, 1, list, count);
    ASSERT_EQ(count, 9);
    EXPECT_EQ(list[0].f, 3);
    EXPECT_EQ(list[0].x, 1);
    EXPECT_EQ(list[0].y, 51);
    DescriptorList inner{};
    int32_t innerCount = 0;
    expandSequence(1, 51, inner, innerCount);
    ASSERT_EQ(innerCount, 6);
    int sequences = 0;
    for (int32_t i = 0; i < innerCount; ++i) sequences += inner[i].f == 3;
    EXPECT_EQ(sequences, 3);
}

TEST(TableWalk, UnknownSequenceWritesNothing) {
    DescriptorList list{};
    list[0] = {0, 9, 9};
    int32_t count = 0;
    expandSequence(1, 2, list, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list[0].x, 9);
}

TEST(ElementLookup, ListedRowsCarryTheirFields) {
    ElementEntry e;
    lookupElement(5, 2, e);
    EXPECT_STREQ(e.name, "Latitude (coarse accuracy)");
    EXPECT_EQ(e.kind, 'D');
    EXPECT_EQ(e.scale, 2);
    EXPECT_EQ(e.reference, -9000);
    EXPECT_EQ(e.width, 15);
    lookupElement(31, 1, e);
    EXPECT_STREQ(e.name, "Delayed descriptorsiptor replication factor");
    lookupElement(1, 19, e);
    EXPECT_EQ(e.kind, 'A');
    EXPECT_EQ(e.width, 256);
}

TEST(ElementLookup, UnknownClassOrRowIsUndefinedWithWidthZero) {
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

std::string meaning(int x, int y, int value) {
    char text[kTextSize] = "unchanged";
    lookupCodeMeaning(x, y, value, text);
    return text;
}

TEST(CodeMeaning, TablesGiveTheirTexts) {
    EXPECT_EQ(meaning(11, 31, 2), "Moderate, in cloud");
    EXPECT_EQ(meaning(11, 31, 15), "Missing value");
    EXPECT_EQ(meaning(21, 22, 10), "Thunderstorm, probability 30–70%");
    EXPECT_EQ(meaning(21, 22, 19), "Tornado");
    EXPECT_EQ(meaning(21, 22, 31), "No data");
    EXPECT_EQ(meaning(2, 61, 4), "Reserved");
    EXPECT_EQ(meaning(8, 4, 1), "Reserved");
    EXPECT_EQ(meaning(8, 7, 15), "Missing value");
    EXPECT_EQ(meaning(29, 1, 4), "Scanning cone (radar)*");
    EXPECT_EQ(meaning(30, 31, 14), "Other");
}

TEST(CodeMeaning, UnlistedValuesAndTablesLeaveTheTextAlone) {
    EXPECT_EQ(meaning(21, 22, 20), "unchanged");
    EXPECT_EQ(meaning(30, 31, 11), "unchanged");
    EXPECT_EQ(meaning(2, 3, 1), "unchanged");   // class 2, no table
    EXPECT_EQ(meaning(21, 1, 0), "unchanged");  // class 21, no table
    EXPECT_EQ(meaning(1, 1, 0), "Undefined parameter");
    EXPECT_EQ(meaning(25, 9, 0), "Undefined parameter");
}

float decodeRaw(DescriptorTriple d, uint64_t raw, int width, BitCursor* after = nullptr) {
    bufr::BitWriter w;
    w.put(raw, width);
    w.put(0, 64);
    static Bytes m;
    m = w.bytes();
    BitCursor c = placeCursor(view(m), 0);
    const float value = decodeElement(c, d);
    if (after) *after = c;
    return value;
}

TEST(ElementDecoding, ScalesAndReferencesApply) {
    EXPECT_FLOAT_EQ(decodeRaw({0, 5, 2}, 13000, 15), 40.0f);
    EXPECT_FLOAT_EQ(decodeRaw({0, 6, 2}, 21000, 16), 30.0f);
    EXPECT_FLOAT_EQ(decodeRaw({0, 21, 1}, 100, 7), 36.0f);
    EXPECT_FLOAT_EQ(decodeRaw({0, 21, 21}, 5, 4), 5000.0f);
    EXPECT_FLOAT_EQ(decodeRaw({0, 7, 7}, 1500, 17), 500.0f);
    EXPECT_FLOAT_EQ(decodeRaw({0, 11, 2}, 123, 12), 12.3f);
}

TEST(ElementDecoding, ArithmeticIsSinglePrecision) {
    // (raw + reference) held as a float, times the power of ten, rounded to float.
    const int32_t raw = 12345;
    const float sum = static_cast<float>(raw) + static_cast<float>(-9000);
    const float expected = static_cast<float>(sum * 0.01);
    EXPECT_EQ(decodeRaw({0, 5, 2}, raw, 15), expected);
    const uint32_t wide = (1u << 25) - 1;  // all ones: no missing-value test
    const float wideSum = static_cast<float>(wide) + static_cast<float>(-9000000);
    EXPECT_EQ(decodeRaw({0, 5, 1}, wide, 25), static_cast<float>(wideSum * 1e-5));
}

TEST(ElementDecoding, CodeElementWithoutTableReturnsItsBits) {
    BitCursor after;
    EXPECT_EQ(decodeRaw({0, 2, 3}, 0b1011, 4, &after), 11.0f);
    EXPECT_EQ(after.bitIndex, 4);
}

TEST(ElementDecoding, CharacterDataMovesWholeBytesAndReturnsZero) {
    BitCursor after;
    EXPECT_EQ(decodeRaw({0, 1, 18}, 0x4142434445ull, 40, &after), 0.0f);
    EXPECT_EQ(after.bytePosition, 5);
    EXPECT_EQ(after.bitIndex, 0);
}

TEST(ElementDecoding, UndefinedElementReadsNothing) {
    BitCursor after;
    EXPECT_EQ(decodeRaw({0, 3, 1}, 0xFF, 8, &after), 0.0f);
    EXPECT_EQ(after.bytePosition, 0);
    EXPECT_EQ(after.bitIndex, 0);
}

}  // namespace
}  // namespace kalvera
