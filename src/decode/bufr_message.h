#pragma once
// Finding one BUFR message in a base file and splitting its sections.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kalvera {

constexpr int32_t kMaxMessageLength = 16384;
constexpr int32_t kMaxDescriptors = 50;

// Room for the longest accepted message and the zero byte stored after it.
using MessageBuffer = std::array<uint8_t, kMaxMessageLength + 1>;

struct DescriptorTriple {
    uint8_t f = 0;  // 0..3
    uint8_t x = 0;  // 0..63
    uint8_t y = 0;  // 0..255
};

using DescriptorList = std::array<DescriptorTriple, kMaxDescriptors>;

// Why readMessage found no message; kFound when it did.
enum class ReadStatus {
    kFound,
    kCannotOpen,
    kSeekFailed,
    kNoMarker,         // no "BUFR" before the end of the data
    kTruncatedLength,  // the data end inside the 24-bit total length
    kTooShort,         // total length below 8
    kTooLong,          // total length above 16384
    kTruncatedMessage,
    kNoEndMarker,  // the last four bytes are not "7777"
};

const char* describeReadStatus(ReadStatus status);

struct MessageLocation {
    int64_t start = -1;  // offset of the "B" of "BUFR"
    ReadStatus status = ReadStatus::kCannotOpen;
};

// Reads the first message found at or after `offset` of the file into `buffer`
// and returns its total length, or 0 when there is none.
int32_t readMessage(const std::string& path, int64_t offset, MessageBuffer& buffer,
                    MessageLocation* where = nullptr);

// The same search over bytes already in memory.
int32_t readMessage(std::span<const uint8_t> bytes, int64_t offset, MessageBuffer& buffer,
                    MessageLocation* where = nullptr);

// Everything parseSections learns about a message's layout.
struct SectionLayout {
    int32_t totalLength = 0;
    uint8_t edition = 0;
    int32_t length1 = 0;
    bool hasSection2 = false;
    int32_t length2 = 0;
    int32_t length3 = 0;
    uint8_t category = 0;
    int32_t dataOffset = 0;
    int32_t descriptorCount = 0;    // as declared by the length of section 3
    const char* failure = nullptr;  // why the message was rejected, else null
};

// Checks sections 1 to 3 of `message` (exactly the message's bytes, "BUFR" to
// "7777"), fills the descriptor list and its count, and the offset of the first
// data octet of section 4.
bool parseSections(std::span<const uint8_t> message, DescriptorList& list, int32_t& count,
                   int32_t& dataOffset, SectionLayout* layout = nullptr);

}  // namespace kalvera
