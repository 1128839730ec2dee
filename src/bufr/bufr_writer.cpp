#include "bufr/bufr_writer.h"

#include <iterator>
#include <utility>

namespace kalvera::bufr {

void BitWriter::put(uint64_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (bitCount_ % 8 == 0) bytes_.push_back(0);
        const bool set = i < 64 && ((value >> i) & 1u) != 0;
        if (set) bytes_.back() |= static_cast<uint8_t>(0x80u >> (bitCount_ % 8));
        ++bitCount_;
    }
}

void BitWriter::putText(const std::string& text, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        const char c = i < static_cast<int>(text.size()) ? text[i] : ' ';
        put(static_cast<uint8_t>(c), 8);
    }
}

void BitWriter::padToByte() {
    while (bitCount_ % 8 != 0) put(0, 1);
}

namespace {

void putDescriptor(std::vector<uint8_t>& out, const Descriptor& d) {
    out.push_back(static_cast<uint8_t>((d.f << 6) | (d.x & 0x3F)));
    out.push_back(d.y);
}

void putLength(std::vector<uint8_t>& out, size_t at, uint32_t length) {
    out[at] = static_cast<uint8_t>(length >> 16);
    out[at + 1] = static_cast<uint8_t>(length >> 8);
    out[at + 2] = static_cast<uint8_t>(length);
}

void putLength(std::vector<uint8_t>& out, uint32_t length) {
    out.resize(out.size() + 3);
    putLength(out, out.size() - 3, length);
}

// 3 01 011 and 3 01 012 (year, month, day; hour, minute), which both products
// carry in the same fields.
template <typename Product>
void putDateTime(BitWriter& w, const Product& p) {
    w.put(p.year, 12);
    w.put(p.month, 4);
    w.put(p.day, 6);
    w.put(p.hour, 5);
    w.put(p.minute, 6);
}

}  // namespace

std::vector<uint8_t> buildMessage(const std::vector<Descriptor>& descriptors,
                                  const std::vector<uint8_t>& data, const MessageOptions& options) {
    const std::vector<Descriptor>& list = options.descriptors ? *options.descriptors : descriptors;
    std::vector<uint8_t> out{'B', 'U', 'F', 'R', 0, 0, 0, options.edition};

    // Section 1: 18 octets (edition 3 layout, padded to even length).
    const uint8_t flags = options.withSection2 ? 0x80 : 0x00;
    putLength(out, options.section1Length.value_or(18));
    const uint8_t section1[] = {0, 0, 34, 0, flags, options.category, 0, 13, 0, 24, 1, 1, 0, 0, 0};
    out.insert(out.end(), std::begin(section1), std::end(section1));

    if (options.withSection2) {
        const uint32_t length = static_cast<uint32_t>(4 + options.section2Payload.size());
        putLength(out, options.section2Length.value_or(length));
        out.push_back(0);
        out.insert(out.end(), options.section2Payload.begin(), options.section2Payload.end());
    }

    const uint32_t length3 =
        static_cast<uint32_t>(7 + 2 * list.size() + (options.section3PadOctet ? 1 : 0));
    putLength(out, options.section3Length.value_or(length3));
    out.push_back(options.section3Reserved);
    out.push_back(0);
    out.push_back(1);     // one subset
    out.push_back(0x80);  // observed data, not compressed
    for (const Descriptor& d : list) putDescriptor(out, d);
    if (options.section3PadOctet) out.push_back(0);

    const uint32_t length4 = static_cast<uint32_t>(4 + data.size() + (data.size() % 2));
    putLength(out, options.section4Length.value_or(length4));
    out.push_back(0);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) out.push_back(0);

    out.insert(out.end(), options.endMarker.begin(), options.endMarker.end());
    putLength(out, 4, options.totalLength.value_or(static_cast<uint32_t>(out.size())));
    return out;
}

// ---- Fixed-layout product ------------------------------------------------------

std::vector<Descriptor> fixedDescriptors() {
    return {{3, 1, 1},   {3, 1, 11}, {3, 1, 12},  {3, 1, 23},  {3, 1, 23},  {3, 1, 23},
            {3, 1, 23},  {0, 5, 33}, {0, 6, 33},  {0, 30, 21}, {0, 30, 22}, {0, 29, 1},
            {0, 30, 31}, {0, 7, 7},  {0, 21, 76}, {0, 21, 76}, {3, 13, 9},  {3, 21, 193}};
}

std::vector<FixedRow> runLengthRows(const std::array<int32_t, 10000>& classIndices) {
    std::vector<FixedRow> rows(100);
    for (int r = 0; r < 100; ++r) {
        rows[r].rowNumber = static_cast<uint16_t>(r);
        FixedSegment segment;
        int c = 0;
        while (c < 100) {
            const int32_t value = classIndices[r * 100 + c];
            int end = c;
            while (end < 100 && classIndices[r * 100 + end] == value) ++end;
            segment.runs.push_back({static_cast<uint16_t>(end - c), static_cast<uint8_t>(value)});
            c = end;
        }
        rows[r].segments.push_back(std::move(segment));
    }
    return rows;
}

std::vector<uint8_t> encodeFixedData(const FixedProduct& p) {
    BitWriter w;
    w.put(p.blockNumber, 7);
    w.put(p.stationNumber, 10);
    putDateTime(w, p);
    for (int i = 0; i < 4; ++i) {
        w.put(static_cast<uint64_t>(p.cornerLat[i] + 9000), 15);
        w.put(static_cast<uint64_t>(p.cornerLon[i] + 18000), 16);
    }
    w.put(p.pixelSize1, 16);
    w.put(p.pixelSize2, 16);
    w.put(p.pixelsPerRow, 12);
    w.put(p.pixelsPerColumn, 12);
    w.put(p.projection, 3);
    w.put(p.pictureType, 4);
    w.put(p.heightRaw, 17);
    w.put(p.intensities, 9);
    w.put(p.extraParameter, 12);
    w.put(p.firstReflectivity, 7);
    w.put(p.classValues.size(), 8);
    for (uint8_t v : p.classValues) w.put(v, 7);
    w.put(p.rows.size(), 16);
    for (const FixedRow& row : p.rows) {
        w.put(row.rowNumber, 12);
        w.put(row.segments.size(), 8);
        for (const FixedSegment& segment : row.segments) {
            w.put(segment.runs.size(), 8);
            for (const FixedRun& run : segment.runs) {
                w.put(run.length, 16);
                w.put(run.classIndex, 8);
            }
            w.put(segment.singles.size(), 8);
            for (uint8_t v : segment.singles) w.put(v, 8);
        }
    }
    w.padToByte();
    return w.bytes();
}

std::vector<uint8_t> writeFixedMessage(const FixedProduct& product, const MessageOptions& options) {
    return buildMessage(fixedDescriptors(), encodeFixedData(product), options);
}

// ---- Generic product -------------------------------------------------------------

std::vector<GenericGroup> runLengthGroups(const std::array<int32_t, 10000>& rawValues) {
    std::vector<GenericGroup> groups;
    size_t i = 0;
    while (i < rawValues.size()) {
        size_t end = i;
        while (end < rawValues.size() && end - i < 65535 && rawValues[end] == rawValues[i]) ++end;
        groups.push_back({static_cast<uint16_t>(end - i), static_cast<uint32_t>(rawValues[i]), {}});
        i = end;
    }
    return groups;
}

std::vector<Descriptor> genericDescriptors(const GenericProduct& p) {
    std::vector<Descriptor> group{{0, 31, 2}};
    if (p.widthOperatorY != 0) group.push_back({2, 1, p.widthOperatorY});
    if (p.scaleOperatorY != 0) group.push_back({2, 2, p.scaleOperatorY});
    group.push_back(p.imageElement);
    std::vector<Descriptor> list{{0, 1, 18}, {3, 1, 11}, {3, 1, 12}, {0, 5, 2}, {0, 6, 2}};
    list.push_back({1, static_cast<uint8_t>(group.size()), 0});
    list.insert(list.end(), group.begin(), group.end());
    return list;
}

std::vector<uint8_t> encodeGenericData(const GenericProduct& p) {
    BitWriter w;
    w.putText(p.shortName, 5);
    putDateTime(w, p);
    w.put(p.latitudeRaw, 15);
    w.put(p.longitudeRaw, 16);
    w.put(p.groups.size(), 16);
    for (const GenericGroup& g : p.groups) {
        w.put(g.runLength, 16);
        w.put(g.runValue, p.valueWidth);
        w.put(g.singles.size(), 16);
        for (uint32_t v : g.singles) w.put(v, p.valueWidth);
    }
    w.padToByte();
    return w.bytes();
}

std::vector<uint8_t> writeGenericMessage(const GenericProduct& product,
                                         const MessageOptions& options) {
    return buildMessage(genericDescriptors(product), encodeGenericData(product), options);
}

}  // namespace kalvera::bufr
