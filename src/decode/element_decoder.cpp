#include <cmath>

#include "decode/bit_cursor.h"
#include "decode/descriptor_tables.h"

namespace kalvera {

float decodeElement(BitCursor& cursor, const DescriptorTriple& descriptor) {
    char text[kTextSize] = {};
    float result = 0.0f;
    ElementEntry entry;
    lookupElement(descriptor.x, descriptor.y, entry);
    switch (entry.kind) {
        case 'A':
            copyBytes(cursor, entry.width / 8, text, sizeof text);
            break;
        case 'C':
            result = static_cast<float>(readBits(cursor, entry.width));
            lookupCodeMeaning(descriptor.x, descriptor.y, static_cast<int32_t>(result), text);
            break;
        case 'N':
        case 'D':
        case 'm': {
            const float raw = static_cast<float>(readBits(cursor, entry.width));
            const float sum = raw + static_cast<float>(entry.reference);
            result = static_cast<float>(sum * std::pow(10.0, -entry.scale));
            break;
        }
        default:
            break;
    }
    return result;
}

}  // namespace kalvera
