#include "decode/generic_decoder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "decode/descriptor_tables.h"
#include "decode/element_decoder.h"

namespace kalvera {

namespace {

// The table nests four levels deep; anything deeper is not a real product.
constexpr int kMaxDepth = 8;

struct WalkState {
    bool latitudeSeen = false;
    bool longitudeSeen = false;
    int32_t written = 0;
};

struct ImageCoding {
    int32_t width = 7;
    double factor = 1.0;  // applied as a product when >= 1, else as a quotient
    bool divide = false;
    int32_t reference = 0;
};

ImageCoding imageCoding(std::span<const DescriptorTriple> list, int32_t position,
                        const DisplayState& state) {
    int32_t baseWidth = 7;
    int32_t scale = 0;
    int32_t reference = state.siteCode == kNoReferenceSite ? 0 : -64;
    if (state.layerCode == kLayerEchoTops) {
        baseWidth = 4;
        scale = -3;
        reference = 0;
    } else if (state.layerCode == kLayerWeather) {
        baseWidth = 5;
        reference = 0;
    }
    int32_t widthChange = 0;
    int32_t scaleChange = 0;
    const int32_t replicated = list[position].x;
    const int32_t size = static_cast<int32_t>(list.size());
    for (int32_t i = position + 1; i <= position + replicated && i < size; ++i) {
        const DescriptorTriple& d = list[i];
        if (d.f != 2 || d.y == 0) continue;
        if (d.x == 1) widthChange = d.y - 128;
        if (d.x == 2) scaleChange = d.y - 128;
    }
    ImageCoding coding;
    coding.width = baseWidth + widthChange;
    coding.reference = reference;
    const int32_t exponent = -scale - scaleChange;
    // Dividing by an exact power of ten keeps whole results whole (70 / 10 is 7,
    // where 70 * 0.1 need not be).
    coding.divide = exponent < 0;
    coding.factor = std::pow(10.0, exponent < 0 ? -exponent : exponent);
    return coding;
}

int32_t cellValue(const ImageCoding& coding, int32_t raw) {
    const double sum = static_cast<double>(raw) + coding.reference;
    const double value = coding.divide ? sum / coding.factor : sum * coding.factor;
    // Out-of-range products saturate rather than overflow the cell; in range,
    // the conversion truncates toward zero.
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

void readElement(BitCursor& cursor, const DescriptorTriple& d, DisplayState& state,
                 WalkState& walk) {
    const float value = decodeElement(cursor, d);
    if (d.x == 5 && d.y == 2) {
        state.siteLat = value;
        walk.latitudeSeen = true;
    } else if (d.x == 6 && d.y == 2) {
        state.siteLon = value;
        walk.longitudeSeen = true;
    }
    if (walk.latitudeSeen && walk.longitudeSeen) CentreOnSiteIfAsked(state);
}

void walk(BitCursor& cursor, std::span<const DescriptorTriple> list, RadarPicture& picture,
          DisplayState& state, WalkState& walkState, int depth) {
    const int32_t count = static_cast<int32_t>(list.size());
    for (int32_t i = 0; i < count; ++i) {
        const DescriptorTriple& d = list[i];
        switch (d.f) {
            case 0:
                readElement(cursor, d, state, walkState);
                break;
            case 1:
                walkState.written = decodeReplicatedImage(cursor, list, i, picture, state);
                return;
            case 2:
                if (d.x == 5) copyBytes(cursor, d.y, nullptr, 0);
                break;
            default: {
                if (depth >= kMaxDepth) break;
                DescriptorList expansion;
                int32_t expanded = 0;
                expandSequence(d.x, d.y, expansion, expanded);
                walk(cursor, std::span<const DescriptorTriple>(expansion.data(), expanded), picture,
                     state, walkState, depth + 1);
                break;
            }
        }
    }
}

}  // namespace

bool decodeDescriptors(BitCursor& cursor, std::span<const DescriptorTriple> list,
                       RadarPicture& picture, DisplayState& state, int32_t* written) {
    WalkState walkState;
    walk(cursor, list, picture, state, walkState, 0);
    if (written) *written = walkState.written;
    return true;
}

namespace {

// Raw values of up to 8 bits are converted once, into a table on the stack.
constexpr int32_t kTableWidth = 8;

// BUFR marks a missing value by setting every bit of it. The network's
// images are at most 8 bits wide and use every value (at 7 bits, 127 is
// 31.5 dBZ), so only wider ones read all ones as missing, where no value of
// any of the three products could need them: the cell then holds the grid's
// no-data value, 65535.
constexpr int32_t kMissingFromWidth = kTableWidth + 1;
constexpr int32_t kMissingCell = 65535;

class ValueConverter {
  public:
    explicit ValueConverter(const ImageCoding& coding) : coding_(coding) {
        tabled_ = coding.width >= 0 && coding.width <= kTableWidth;
        if (coding.width >= kMissingFromWidth && coding.width <= 31)
            missing_ = static_cast<int32_t>((uint32_t{1} << coding.width) - 1);
        if (!tabled_) return;
        for (int32_t raw = 0; raw < (1 << coding.width); ++raw)
            table_[raw] = cellValue(coding, raw);
    }
    int32_t operator()(int32_t raw) const {
        if (tabled_) return table_[raw & 0xFF];
        return raw == missing_ ? kMissingCell : cellValue(coding_, raw);
    }

  private:
    ImageCoding coding_;
    bool tabled_ = false;
    int32_t missing_ = -1;
    int32_t table_[1 << kTableWidth] = {};
};

}  // namespace

int32_t decodeReplicatedImage(BitCursor& cursor, std::span<const DescriptorTriple> list,
                              int32_t position, RadarPicture& picture, const DisplayState& state) {
    if (position < 0 || position >= static_cast<int32_t>(list.size())) return 0;
    const int32_t groups = readBits(cursor, 16);
    const ImageCoding coding = imageCoding(list, position, state);
    const ValueConverter convert(coding);
    int32_t p = 0;
    for (int32_t g = 0; g < groups; ++g) {
        if (cursor.bytePosition >= cursor.messageLength) {
            // Past the end every group reads as empty. A message cut short
            // inside the image would otherwise read up to 65535 of them one
            // field at a time; they are stepped over at once instead.
            skipBits(cursor, int64_t{groups - g} * (32 + std::max(coding.width, 0)));
            break;
        }
        const int32_t length = readBits(cursor, 16);
        if (!FillCells(picture, p, length, convert(readBits(cursor, coding.width)))) return p;
        const int32_t singles = readBits(cursor, 16);
        for (int32_t k = 0; k < singles; ++k) {
            if (!FillCells(picture, p, 1, convert(readBits(cursor, coding.width)))) return p;
        }
    }
    return p;
}

}  // namespace kalvera
