#include "decode/element_decoder.h"

#include <cmath>

#include "decode/descriptor_tables.h"

namespace kalvera {

float decodeElement(BitCursor& cursor, const DescriptorTriple& descriptor) {
    float result = 0.0f;
    ElementEntry entry;
    lookupElement(descriptor.x, descriptor.y, entry);
    switch (entry.kind) {
        case 'A':
            // Character data is stepped over: no caller shows it.
            copyBytes(cursor, entry.width / 8, nullptr, 0);
            break;
        case 'C':
            result = static_cast<float>(readBits(cursor, entry.width));
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
