#include "decode/bufr_message.h"

#include <cstdio>
#include <cstring>

namespace kalvera {

const char* describeReadStatus(ReadStatus status) {
    switch (status) {
        case ReadStatus::kFound:
            return "message found";
        case ReadStatus::kCannotOpen:
            return "the file cannot be opened";
        case ReadStatus::kSeekFailed:
            return "the offset cannot be reached";
        case ReadStatus::kNoMarker:
            return "no \"BUFR\" before the end of the file";
        case ReadStatus::kTruncatedLength:
            return "the file ends inside the total length";
        case ReadStatus::kTooShort:
            return "total length below 8";
        case ReadStatus::kTooLong:
            return "total length above 16384";
        case ReadStatus::kTruncatedMessage:
            return "the file ends inside the message";
        case ReadStatus::kNoEndMarker:
            return "the message does not end with \"7777\"";
    }
    return "unknown";
}

namespace {

int32_t finish(MessageLocation* where, ReadStatus status, int64_t start, int32_t length) {
    if (where) {
        where->status = status;
        where->start = start;
    }
    return status == ReadStatus::kFound ? length : 0;
}

// The length has been read; checks it before anything is copied.
ReadStatus checkLength(int32_t length) {
    if (length < 8) return ReadStatus::kTooShort;
    if (length > kMaxMessageLength) return ReadStatus::kTooLong;
    return ReadStatus::kFound;
}

ReadStatus checkEnd(MessageBuffer& buffer, int32_t length) {
    buffer[length] = 0;
    return std::memcmp(buffer.data() + length - 4, "7777", 4) == 0 ? ReadStatus::kFound
                                                                   : ReadStatus::kNoEndMarker;
}

bool isMarker(const uint8_t (&window)[4]) {
    return std::memcmp(window, "BUFR", 4) == 0;
}

void shiftIn(uint8_t (&window)[4], uint8_t byte) {
    window[0] = window[1];
    window[1] = window[2];
    window[2] = window[3];
    window[3] = byte;
}

struct FileCloser {
    std::FILE* file;
    ~FileCloser() { std::fclose(file); }
};

}  // namespace

int32_t readMessage(const std::string& path, int64_t offset, MessageBuffer& buffer,
                    MessageLocation* where) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return finish(where, ReadStatus::kCannotOpen, -1, 0);
    FileCloser closer{file};
    if (offset < 0 || fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return finish(where, ReadStatus::kSeekFailed, -1, 0);

    uint8_t window[4] = {0, 0, 0, 0};
    int64_t position = offset;
    while (!isMarker(window)) {
        const int c = std::fgetc(file);
        if (c == EOF) return finish(where, ReadStatus::kNoMarker, -1, 0);
        shiftIn(window, static_cast<uint8_t>(c));
        ++position;
    }
    const int64_t start = position - 4;

    int32_t length = 0;
    for (int i = 0; i < 3; ++i) {
        const int c = std::fgetc(file);
        if (c == EOF) return finish(where, ReadStatus::kTruncatedLength, start, 0);
        length = (length << 8) | c;
    }
    ReadStatus status = checkLength(length);
    if (status != ReadStatus::kFound) return finish(where, status, start, 0);
    if (fseeko(file, -7, SEEK_CUR) != 0) return finish(where, ReadStatus::kSeekFailed, start, 0);
    if (std::fread(buffer.data(), 1, static_cast<size_t>(length), file) !=
        static_cast<size_t>(length))
        return finish(where, ReadStatus::kTruncatedMessage, start, 0);
    return finish(where, checkEnd(buffer, length), start, length);
}

int32_t readMessage(std::span<const uint8_t> bytes, int64_t offset, MessageBuffer& buffer,
                    MessageLocation* where) {
    if (offset < 0) return finish(where, ReadStatus::kSeekFailed, -1, 0);
    const int64_t size = static_cast<int64_t>(bytes.size());
    uint8_t window[4] = {0, 0, 0, 0};
    int64_t position = offset;
    while (!isMarker(window)) {
        if (position >= size) return finish(where, ReadStatus::kNoMarker, -1, 0);
        shiftIn(window, bytes[static_cast<size_t>(position++)]);
    }
    const int64_t start = position - 4;
    if (size - position < 3) return finish(where, ReadStatus::kTruncatedLength, start, 0);
    const uint8_t* p = bytes.data() + position;
    const int32_t length = (p[0] << 16) | (p[1] << 8) | p[2];
    ReadStatus status = checkLength(length);
    if (status != ReadStatus::kFound) return finish(where, status, start, 0);
    if (size - start < length) return finish(where, ReadStatus::kTruncatedMessage, start, 0);
    std::memcpy(buffer.data(), bytes.data() + start, static_cast<size_t>(length));
    return finish(where, checkEnd(buffer, length), start, length);
}

namespace {

int32_t length24(std::span<const uint8_t> m, int32_t at) {
    return (m[at] << 16) | (m[at + 1] << 8) | m[at + 2];
}

bool reject(SectionLayout* layout, const char* why) {
    if (layout) layout->failure = why;
    return false;
}

}  // namespace

bool parseSections(std::span<const uint8_t> message, DescriptorList& list, int32_t& count,
                   int32_t& dataOffset, SectionLayout* layout) {
    SectionLayout local;
    SectionLayout& s = layout ? *layout : local;
    s = SectionLayout{};
    // Every section must lie before "7777": nothing is read outside the message.
    const int32_t limit = static_cast<int32_t>(message.size()) - 4;
    if (limit < 8) return reject(&s, "message shorter than its framing");
    s.totalLength = static_cast<int32_t>(message.size());
    s.edition = message[7];

    if (limit < 8 + 9) return reject(&s, "section 1 runs past the end of the message");
    s.length1 = length24(message, 8);
    s.hasSection2 = message[8 + 7] >= 128;
    s.category = message[8 + 8];
    if (s.length1 < 9) return reject(&s, "section 1 shorter than 9 octets");
    if (s.length1 > limit - 8) return reject(&s, "section 1 runs past the end of the message");
    if (s.category != 6) return reject(&s, "data category is not 6 (radar data)");

    int32_t at = 8 + s.length1;
    if (s.hasSection2) {
        if (limit - at < 3) return reject(&s, "section 2 runs past the end of the message");
        s.length2 = length24(message, at);
        if (s.length2 > limit - at) return reject(&s, "section 2 runs past the end of the message");
        at += s.length2;
    }

    if (limit - at < 7) return reject(&s, "section 3 runs past the end of the message");
    s.length3 = length24(message, at);
    if (s.length3 < 7) return reject(&s, "section 3 shorter than 7 octets");
    if (s.length3 > limit - at) return reject(&s, "section 3 runs past the end of the message");
    if (message[at + 3] != 0) return reject(&s, "octet 4 of section 3 is not 0");
    s.descriptorCount = (s.length3 - 7) / 2;
    if (s.descriptorCount > kMaxDescriptors) return reject(&s, "more than 50 descriptors");
    if (s.length3 + 4 > limit - at)
        return reject(&s, "section 4 header runs past the end of the message");

    for (int32_t i = 0; i < s.descriptorCount; ++i) {
        const uint8_t first = message[at + 7 + 2 * i];
        list[i] = {static_cast<uint8_t>(first >> 6), static_cast<uint8_t>(first & 0x3F),
                   message[at + 8 + 2 * i]};
    }
    count = s.descriptorCount;
    s.dataOffset = at + s.length3 + 4;
    dataOffset = s.dataOffset;
    return true;
}

}  // namespace kalvera
