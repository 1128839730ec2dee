#include "decode/radar_image_decoder.h"

#include <array>
#include <cmath>

namespace kalvera {

namespace {

// 10 to the power of minus `scale`, times (raw + reference).
double scaledValue(int32_t raw, int32_t scale, int32_t reference) {
    return std::pow(10.0, -scale) * (static_cast<double>(raw) + reference);
}

void skipFields(BitCursor& cursor, std::initializer_list<int32_t> widths) {
    for (int32_t width : widths) readBits(cursor, width);
}

void readSitePosition(BitCursor& cursor, DisplayState& state) {
    float lat[4];
    float lon[4];
    for (int i = 0; i < 4; ++i) {
        lat[i] = static_cast<float>(scaledValue(readBits(cursor, 15), 2, -9000));
        lon[i] = static_cast<float>(scaledValue(readBits(cursor, 16), 2, -18000));
    }
    // The product's own convention: latitude from corners 1 and 4 only.
    state.siteLat = 0.5f * (lat[0] + lat[3]);
    state.siteLon = 0.25f * (lon[0] + lon[1] + lon[2] + lon[3]);
    CentreOnSiteIfAsked(state);
}

}  // namespace

int32_t decodeRadarImage(BitCursor& cursor, RadarPicture& picture, DisplayState& state) {
    skipFields(cursor, {7, 10, 12, 4, 6, 5, 6});
    readSitePosition(cursor, state);
    skipFields(cursor, {16, 16, 12, 12, 3, 4, 17, 9, 12, 7});

    std::array<int32_t, 256> classes{};
    const int32_t classCount = readBits(cursor, 8);
    for (int32_t i = 1; i <= classCount; ++i) classes[i] = readBits(cursor, 7);

    int32_t p = 0;
    const int32_t rows = readBits(cursor, 16);
    for (int32_t r = 0; r < rows; ++r) {
        if (cursor.bytePosition >= cursor.messageLength) {
            // Past the end every row reads as empty: stepped over at once
            // rather than up to 65535 times one field at a time.
            skipBits(cursor, int64_t{rows - r} * (12 + 8));
            break;
        }
        readBits(cursor, 12);
        const int32_t segments = readBits(cursor, 8);
        for (int32_t s = 0; s < segments; ++s) {
            const int32_t runs = readBits(cursor, 8);
            for (int32_t u = 0; u < runs; ++u) {
                const int32_t length = readBits(cursor, 16);
                if (!FillCells(picture, p, length, classes[readBits(cursor, 8)])) return p;
            }
            const int32_t singles = readBits(cursor, 8);
            for (int32_t k = 0; k < singles; ++k) {
                if (!FillCells(picture, p, 1, readBits(cursor, 8))) return p;
            }
        }
    }
    return p;
}

}  // namespace kalvera
