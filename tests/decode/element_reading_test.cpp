// Reading section 4: bits and bytes, never outside the message, and single
// elements through the compiled-in tables.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>

#include "bufr/bufr_writer.h"
#include "decode/bit_cursor.h"
#include "decode/descriptor_tables.h"
#include "decode/element_decoder.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

// The plain rule the fast reader must match: one bit at a time, zero past the end.
int32_t referenceReadBits(BitCursor& c, int32_t n) {
    uint32_t result = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint8_t byte = c.bytePosition < c.messageLength ? c.message[c.bytePosition] : 0;
        if (((byte << c.bitIndex) & 0x80) && i < 32) result |= 1u << i;
        if (++c.bitIndex == 8) {
            c.bitIndex = 0;
            ++c.bytePosition;
            ++c.bytesConsumed;
        }
    }
    return static_cast<int32_t>(result);
}

TEST(BitReading, WordReadsAndSkipsMatchTheBitByBitRuleInsideAndPastTheMessage) {
    std::mt19937 random(7);
    Bytes m(64);
    for (uint8_t& b : m) b = static_cast<uint8_t>(random());
    std::uniform_int_distribution<int32_t> width(0, 40);
    for (int trial = 0; trial < 200; ++trial) {
        BitCursor fast = placeCursor(view(m), trial % 5);
        BitCursor slow = fast;
        while (slow.bytePosition < 70) {
            const int32_t n = width(random);
            if (n % 4 == 0) {
                skipBits(fast, n);
                referenceReadBits(slow, n);
            } else {
                ASSERT_EQ(readBits(fast, n), referenceReadBits(slow, n)) << "width " << n;
            }
            ASSERT_EQ(fast.bytePosition, slow.bytePosition);
            ASSERT_EQ(fast.bitIndex, slow.bitIndex);
            ASSERT_EQ(fast.bytesConsumed, slow.bytesConsumed);
        }
    }
}

TEST(BitReading, NegativeWidthReadsNothingAndFarPastTheEndIsZero) {
    const Bytes m{0xFF, 0xFF};
    BitCursor c = placeCursor(view(m), 1);
    EXPECT_EQ(readBits(c, 3), 0b111);
    EXPECT_EQ(readBits(c, -5), 0);
    EXPECT_EQ(c.bitIndex, 3);
    BitCursor beyond = placeCursor(view(m), 100);
    EXPECT_EQ(readBits(beyond, 16), 0);
}

TEST(ByteCopy, StartsAtTheCurrentByteAndNeverOverrunsTextOrMessage) {
    Bytes m{0xFF, 'A', 'B', 'C', 'D', 'E', 0x01};
    BitCursor c = placeCursor(view(m), 0);
    readBits(c, 10);
    char text[16] = "garbage";
    copyBytes(c, 5, text, sizeof text);
    EXPECT_STREQ(text, "ABCDE");
    EXPECT_EQ(c.bytePosition, 6);
    EXPECT_EQ(c.bitIndex, 2);
    EXPECT_EQ(c.bytesConsumed, 6);
    // The text stops at a zero byte, but the cursor moves the full count.
    c = placeCursor(view(m = Bytes{'A', 'B', 0, 'C', 'D', 'E', 'F', 'G'}), 0);
    copyBytes(c, 5, text, sizeof text);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(c.bytePosition, 5);
    // Past the message end and beyond a three-byte text: nothing overruns.
    char small[4] = {'x', 'x', 'x', 'x'};
    copyBytes(c, 255, small, 3);
    EXPECT_STREQ(small, "EF");
    EXPECT_EQ(small[3], 'x');
    EXPECT_EQ(c.bytePosition, 260);
    copyBytes(c, 10, nullptr, 0);
    EXPECT_EQ(c.bytePosition, 270);
}

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
    // An unknown sequence writes nothing.
    DescriptorList list{};
    list[0] = {0, 9, 9};
    int32_t count = 0;
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
    ElementEntry e;
    lookupElement(31, 1, e);
    EXPECT_STREQ(e.name, "Delayed descriptorsiptor replication factor");  // as the table has it
    for (auto [x, y] : {std::pair{3, 1}, std::pair{1, 3}, std::pair{63, 255}, std::pair{9, 0}}) {
        e.width = 99;
        lookupElement(x, y, e);
        EXPECT_STREQ(e.name, "Undefined parameter");
        EXPECT_TRUE(e.kind == 'X' && e.width == 0 && e.scale == 0 && e.reference == 0) << x << y;
    }
}

TEST(CodeMeaning, ListedValuesGiveTheirTextOthersLeaveItAlone) {
    struct Row {
        int x, y, value;
        const char* text;
    };
    // clang-format off
    const Row rows[] = {
        {11, 31, 2, "Moderate, in cloud"},
        {21, 22, 10, "Thunderstorm, probability 30–70%"},
        {21, 22, 19, "Tornado"},
        {21, 22, 20, "unchanged"},  // just past the last listed value
        {21, 22, 31, "No data"},
        {30, 31, 11, "unchanged"},
        {2, 3, 1, "unchanged"},  // a class with tables, but not this element
        {21, 1, 0, "unchanged"},
        {1, 1, 0, "Undefined parameter"},  // a class without tables
    };
    // clang-format on
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
    // clang-format off
    const Row rows[] = {
        {{0, 5, 2}, 13000, 15, 40.0f},         {{0, 6, 2}, 21000, 16, 30.0f},
        {{0, 21, 1}, 100, 7, 36.0f},           {{0, 21, 21}, 5, 4, 5000.0f},
        {{0, 7, 7}, 1500, 17, 500.0f},         {{0, 11, 2}, 123, 12, 12.3f},
        {{0, 2, 3}, 0b1011, 4, 11.0f},         // code element without a table: its bits
        {{0, 1, 18}, 0x4142434445ull, 40, 0},  // characters move whole bytes
        {{0, 3, 1}, 0xFF, 0, 0},               // undefined element reads nothing
    };
    // clang-format on
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
