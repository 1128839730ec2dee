#pragma once
// The reading position in section 4. Reads never leave the message: bits past
// its end read as zero.

#include <cstddef>
#include <cstdint>
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

// Reads `n` bits as an unsigned number, most significant bit first. Widths of
// 1 to 31 are exact; wider reads keep the low 32 bits. n <= 0 reads nothing.
int32_t readBits(BitCursor& cursor, int32_t n);

// Copies `k` whole bytes into `text` (at most textSize - 1 of them, stopping at
// a zero byte, always terminated) and moves the byte position on by `k`; the
// bit index is unchanged. `text` may be null to skip the bytes.
void copyBytes(BitCursor& cursor, int32_t k, char* text, size_t textSize);

}  // namespace kalvera
