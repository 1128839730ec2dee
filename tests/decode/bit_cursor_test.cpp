// Reading section 4 bit by bit, fast, and never outside the message.

#include "decode/bit_cursor.h"

#include <gtest/gtest.h>

#include <random>

#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::view;

// The plain rule: one bit at a time through the mask table.
int32_t referenceReadBits(BitCursor& c, int32_t n) {
    static constexpr uint8_t kMask[8] = {128, 64, 32, 16, 8, 4, 2, 1};
    uint32_t result = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint8_t byte = c.bytePosition < c.messageLength ? c.message[c.bytePosition] : 0;
        if ((byte & kMask[c.bitIndex]) && i < 32) result |= 1u << i;
        if (c.bitIndex == 7) {
            c.bitIndex = 0;
            ++c.bytePosition;
            ++c.bytesConsumed;
        } else {
            ++c.bitIndex;
        }
    }
    return static_cast<int32_t>(result);
}

TEST(BitReading, EightBitsAtByteStartReturnTheByte) {
    const Bytes m{0xA5, 0x3C};
    BitCursor c = placeCursor(view(m), 0);
    EXPECT_EQ(readBits(c, 8), 0xA5);
    EXPECT_EQ(c.bytePosition, 1);
    EXPECT_EQ(c.bitIndex, 0);
    EXPECT_EQ(c.bytesConsumed, 1);
}

TEST(BitReading, ReadAcrossAByteBoundary) {
    const Bytes m{0b00000010, 0b10000000};
    BitCursor c = placeCursor(view(m), 0);
    readBits(c, 6);
    EXPECT_EQ(c.bitIndex, 6);
    EXPECT_EQ(readBits(c, 3), 0b101);
    EXPECT_EQ(c.bytePosition, 1);
    EXPECT_EQ(c.bitIndex, 1);
}

TEST(BitReading, ZeroWidthReadsNothing) {
    const Bytes m{0xFF};
    BitCursor c = placeCursor(view(m), 0);
    readBits(c, 3);
    EXPECT_EQ(readBits(c, 0), 0);
    EXPECT_EQ(readBits(c, -5), 0);
    EXPECT_EQ(c.bitIndex, 3);
    EXPECT_EQ(c.bytePosition, 0);
}

TEST(BitReading, PastTheEndYieldsZeroBitsAndKeepsCounting) {
    const Bytes m{0xFF, 0xFF};
    BitCursor c = placeCursor(view(m), 1);
    EXPECT_EQ(readBits(c, 12), 0xFF0);
    EXPECT_EQ(readBits(c, 31), 0);
    EXPECT_EQ(c.bytePosition, 1 + 43 / 8);
    EXPECT_EQ(c.bitIndex, 43 % 8);
    BitCursor beyond = placeCursor(view(m), 100);
    EXPECT_EQ(readBits(beyond, 16), 0);
}

TEST(BitReading, WholeBytePathMatchesBitByBitRule) {
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

TEST(ByteCopy, CopiesWholeBytesAndKeepsTheBitIndex) {
    const Bytes m{0xFF, 'A', 'B', 'C', 'D', 'E', 0x01};
    BitCursor c = placeCursor(view(m), 0);
    readBits(c, 3);
    readBits(c, 5);
    readBits(c, 2);
    char text[16] = "garbage";
    copyBytes(c, 5, text, sizeof text);
    // The cursor stood on byte 1 at bit 2: the copy starts at that byte.
    EXPECT_STREQ(text, "ABCDE");
    EXPECT_EQ(c.bytePosition, 6);
    EXPECT_EQ(c.bitIndex, 2);
    EXPECT_EQ(c.bytesConsumed, 6);
}

TEST(ByteCopy, StopsCopyingAtZeroButMovesTheFullCount) {
    const Bytes m{'A', 'B', 0, 'C', 'D'};
    BitCursor c = placeCursor(view(m), 0);
    char text[16];
    copyBytes(c, 5, text, sizeof text);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(c.bytePosition, 5);
}

TEST(ByteCopy, NeverWritesPastTheTextOrReadsPastTheMessage) {
    const Bytes m{'A', 'B', 'C', 'D', 'E', 'F'};
    BitCursor c = placeCursor(view(m), 2);
    char text[4] = {'x', 'x', 'x', 'x'};
    copyBytes(c, 255, text, 3);
    EXPECT_STREQ(text, "CD");
    EXPECT_EQ(text[3], 'x');
    EXPECT_EQ(c.bytePosition, 257);
    copyBytes(c, 10, nullptr, 0);
    EXPECT_EQ(c.bytePosition, 267);
}

}  // namespace
}  // namespace kalvera
