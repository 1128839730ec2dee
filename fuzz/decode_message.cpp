// Arbitrary bytes through the message search, the section parser and both
// decoders. The first byte picks the layer and site the generic decoder sees.

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/display_state.h"
#include "common/domain_constants.h"
#include "common/radar_picture.h"
#include "decode/bit_cursor.h"
#include "decode/generic_decoder.h"
#include "decode/picture_loader.h"
#include "decode/radar_image_decoder.h"

namespace {

kalvera::DisplayState stateFor(uint8_t selector) {
    kalvera::DisplayState state;
    const int32_t layers[] = {0, 3, kalvera::kLayerEchoTops, kalvera::kLayerWeather};
    state.layerCode = layers[selector & 3];
    state.siteCode = (selector & 4) ? kalvera::kNoReferenceSite : "26061";
    state.recentre = (selector & 8) ? 1 : 0;
    return state;
}

// Runs both decoders straight over the bytes, with a descriptor list taken
// from their head, so that the decoders see hostile data even when the
// framing would have rejected it.
void decodeRaw(std::span<const uint8_t> bytes, kalvera::RadarPicture& picture, uint8_t selector) {
    kalvera::DisplayState state = stateFor(selector);
    kalvera::BitCursor cursor = kalvera::placeCursor(bytes, 0);
    kalvera::decodeRadarImage(cursor, picture, state);

    kalvera::DescriptorList list;
    const size_t count = std::min<size_t>(bytes.size() / 2, kalvera::kMaxDescriptors);
    for (size_t i = 0; i < count; ++i) {
        list[i] = {static_cast<uint8_t>(bytes[2 * i] >> 6),
                   static_cast<uint8_t>(bytes[2 * i] & 0x3F), bytes[2 * i + 1]};
    }
    kalvera::BitCursor data = kalvera::placeCursor(bytes, static_cast<int32_t>(2 * count));
    kalvera::decodeDescriptors(data, std::span<const kalvera::DescriptorTriple>(list.data(), count),
                               picture, state);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static kalvera::RadarPicture picture;
    static kalvera::MessageBuffer buffer;
    const std::span<const uint8_t> bytes(data, size);
    const uint8_t selector = size > 0 ? data[0] : 0;

    int64_t offset = 0;
    for (int messages = 0; messages < 4; ++messages) {
        kalvera::MessageLocation where;
        const int32_t length = kalvera::readMessage(bytes, offset, buffer, &where);
        if (where.start < 0) break;
        if (length > 0) {
            kalvera::DisplayState state = stateFor(selector);
            kalvera::decodeMessage(std::span<const uint8_t>(buffer.data(), length), picture, state);
        }
        offset = where.start + 1;
    }
    decodeRaw(bytes, picture, selector);
    return 0;
}
