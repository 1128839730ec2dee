// Reading section 4 bit by bit, fast, and never outside the message.

#include "decode/bit_cursor.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(BitReading, WordReadsMatchTheBitByBitRuleInsideAndPastTheMessage) {
    std::mt19937 random(7);
    Bytes m(64);
    for (uint8_t& b : m) b = static_cast<uint8_t>(random());
    std::uniform_int_distribution<int32_t> width(0, 40);
    for (int trial = 0; trial < 200; ++trial) {
        BitCursor fast = placeCursor(view(m), trial % 5);
        BitCursor slow = fast;
        while (slow.bytePosition < 70) {
            const int32_t n = width(random);
            ASSERT_EQ(readBits(fast, n), referenceReadBits(slow, n)) << "width " << n;
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

}  // namespace
}  // namespace kalvera
