#pragma once
// The reading position in section 4. Reads never leave the message: bits past
// its end read as zero.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace kalvera {

struct BitCursor {
    const uint8_t* message = nullptr;
    int32_t messageLength = 0;
    int32_t bytePosition = 0;   // from the first byte of the message
    uint8_t bitIndex = 0;       // 0 is the most significant bit
    int32_t bytesConsumed = 0;  // bytes moved past since the cursor was placed
};

BitCursor placeCursor(std::span<const uint8_t> message, int32_t dataOffset);

// Byte-at-a-time reading for the message tail and unusual widths.
int32_t readBitsSlow(BitCursor& cursor, int32_t n);

// Reads `n` bits as an unsigned number, most significant bit first. Widths of
// 1 to 31 are exact; wider reads keep the low 32 bits. n <= 0 reads nothing.
// Eight bytes are taken at once while they all lie inside the message.
inline int32_t readBits(BitCursor& cursor, int32_t n) {
    const int32_t p = cursor.bytePosition;
    if (n <= 0 || n > 32 || p < 0 || p > cursor.messageLength - 8) return readBitsSlow(cursor, n);
    uint64_t word;
    std::memcpy(&word, cursor.message + p, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    const uint32_t result = static_cast<uint32_t>((word << cursor.bitIndex) >> (64 - n));
    const int32_t bits = cursor.bitIndex + n;
    cursor.bytePosition += bits >> 3;
    cursor.bytesConsumed += bits >> 3;
    cursor.bitIndex = static_cast<uint8_t>(bits & 7);
    return static_cast<int32_t>(result);
}

// Moves the position on by `n` bits without reading them (n <= 0 does nothing).
void skipBits(BitCursor& cursor, int64_t n);

// Copies `k` whole bytes into `text` (at most textSize - 1 of them, stopping at
// a zero byte, always terminated) and moves the byte position on by `k`; the
// bit index is unchanged. `text` may be null to skip the bytes.
void copyBytes(BitCursor& cursor, int32_t k, char* text, size_t textSize);

}  // namespace kalvera
