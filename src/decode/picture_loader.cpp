#include "decode/picture_loader.h"

#include "archive/day_archive.h"
#include "decode/bit_cursor.h"
#include "decode/generic_decoder.h"
#include "decode/radar_image_decoder.h"

namespace kalvera {

bool decodeMessage(std::span<const uint8_t> message, RadarPicture& picture, DisplayState& state,
                   PictureLoadReport* report) {
    PictureLoadReport local;
    PictureLoadReport& r = report ? *report : local;
    r = PictureLoadReport{};
    DescriptorList list;
    int32_t count = 0;
    int32_t dataOffset = 0;
    if (!parseSections(message, list, count, dataOffset)) return false;
    r.loaded = true;
    // A section 3 without descriptors has no first descriptor: nothing to decode.
    if (count == 0) return true;
    r.hasFirstDescriptor = true;
    r.firstDescriptor = list[0];
    BitCursor cursor = placeCursor(message, dataOffset);
    const DescriptorTriple& first = list[0];
    if (first.f == 0 && first.x == 1 && first.y == 18) {
        decodeDescriptors(cursor, std::span<const DescriptorTriple>(list.data(), count), picture,
                          state, &r.count);
    } else if (first.f == 3 && first.x == 1 && first.y == 1) {
        r.count = decodeRadarImage(cursor, picture, state);
    }
    return true;
}

bool loadPicture(int32_t offset, RadarPicture& picture, DisplayState& state,
                 PictureLoadReport& report) {
    report = PictureLoadReport{};
    MessageBuffer buffer;
    MessageLocation where;
    const int32_t length = readMessage(state.basePath, offset, buffer, &where);
    if (length == 0) return false;
    // Bytes after the offset may be skipped, but a message whose own start is
    // damaged must not be replaced by the next one: that would draw another
    // layer's picture as this one's and report success.
    if (where.start > offset && !state.indexPath.empty() &&
        RecordStartsWithin(state.indexPath, offset, where.start)) {
        report.foundAnotherRecord = true;
        return false;
    }
    return decodeMessage(std::span<const uint8_t>(buffer.data(), length), picture, state, &report);
}

bool loadPicture(int32_t offset, RadarPicture& picture, DisplayState& state) {
    PictureLoadReport report;
    return loadPicture(offset, picture, state, report);
}

}  // namespace kalvera
