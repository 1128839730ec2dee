#include "decode/bit_cursor.h"

#include <algorithm>
#include <climits>

namespace kalvera {

BitCursor placeCursor(std::span<const uint8_t> message, int32_t dataOffset) {
    BitCursor cursor;
    cursor.message = message.data();
    cursor.messageLength = static_cast<int32_t>(message.size());
    cursor.bytePosition = dataOffset;
    return cursor;
}

namespace {

uint32_t byteAt(const BitCursor& cursor) {
    const int32_t p = cursor.bytePosition;
    return p >= 0 && p < cursor.messageLength ? cursor.message[p] : 0u;
}

}  // namespace

int32_t readBitsSlow(BitCursor& cursor, int32_t n) {
    // Takes up to a byte at a time; the result and the final position equal
    // reading one bit after another.
    uint32_t result = 0;
    while (n > 0) {
        const int32_t left = 8 - cursor.bitIndex;
        const int32_t take = n < left ? n : left;
        const uint32_t bits = (byteAt(cursor) >> (left - take)) & ((1u << take) - 1u);
        result = (result << take) | bits;
        n -= take;
        if (take == left) {
            cursor.bitIndex = 0;
            ++cursor.bytePosition;
            ++cursor.bytesConsumed;
        } else {
            cursor.bitIndex = static_cast<uint8_t>(cursor.bitIndex + take);
        }
    }
    return static_cast<int32_t>(result);
}

void skipBits(BitCursor& cursor, int64_t n) {
    if (n <= 0) return;
    const int64_t bits = cursor.bitIndex + n;
    // Far past the end every position reads as zero; the clamp only keeps the
    // counters from wrapping.
    const int64_t bytes = std::min<int64_t>(bits >> 3, INT32_MAX - int64_t{cursor.bytePosition});
    cursor.bytePosition += static_cast<int32_t>(bytes);
    cursor.bytesConsumed += static_cast<int32_t>(bytes);
    cursor.bitIndex = static_cast<uint8_t>(bits & 7);
}

void copyBytes(BitCursor& cursor, int32_t k, char* text, size_t textSize) {
    if (k <= 0) return;
    size_t written = 0;
    bool stopped = text == nullptr || textSize == 0;
    for (int32_t i = 0; i < k && !stopped; ++i) {
        const int32_t p = cursor.bytePosition + i;
        const uint8_t byte = p >= 0 && p < cursor.messageLength ? cursor.message[p] : 0;
        if (byte == 0 || written + 1 >= textSize) {
            stopped = true;
        } else {
            text[written++] = static_cast<char>(byte);
        }
    }
    if (text && textSize > 0) text[written] = '\0';
    cursor.bytePosition += k;
    cursor.bytesConsumed += k;
}

}  // namespace kalvera
