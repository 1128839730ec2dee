#pragma once
// The project's own BUFR writer (edition 3, data category 6). It writes the two
// radar products the viewer reads, and lets a caller bend any header field so
// that malformed messages can be built on purpose.
//
// Grids handed to the run-length helpers are 100 x 100 cells, row 0 south,
// each row west to east (the RadarPicture layout).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvera::bufr {

struct Descriptor {
    uint8_t f = 0;  // 0..3
    uint8_t x = 0;  // 0..63
    uint8_t y = 0;  // 0..255
};

// Appends unsigned fields most significant bit first.
class BitWriter {
  public:
    // Writes the low `bits` bits of `value` (bits may exceed 32; high bits are zero).
    void put(uint64_t value, int bits);
    // Writes whole bytes at the current bit position (no alignment is done).
    void putText(const std::string& text, int bytes);
    void padToByte();
    int64_t bitCount() const { return bitCount_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    int64_t bitCount_ = 0;
};

// ---- Fixed-layout product (first descriptor 3 01 001) ----------------------

struct FixedRun {
    uint16_t length = 0;     // cells
    uint8_t classIndex = 0;  // 1..N picks a class value, 0 or > N gives 0
};

struct FixedSegment {
    std::vector<FixedRun> runs;    // at most 255
    std::vector<uint8_t> singles;  // 8-bit cells written as they are, at most 255
};

struct FixedRow {
    uint16_t rowNumber = 0;              // 12 bits
    std::vector<FixedSegment> segments;  // at most 255
};

struct FixedProduct {
    uint8_t blockNumber = 26;     // 7 bits
    uint16_t stationNumber = 63;  // 10 bits
    uint16_t year = 2024;
    uint8_t month = 1, day = 1, hour = 0, minute = 0;
    // Corners in 0.01 degree, north and east positive (6100 = 61.00 degrees).
    std::array<int32_t, 4> cornerLat{6100, 6100, 5900, 5900};
    std::array<int32_t, 4> cornerLon{2800, 3200, 3200, 2800};
    uint16_t pixelSize1 = 400;  // 16 bits each
    uint16_t pixelSize2 = 400;
    uint16_t pixelsPerRow = 100;  // 12 bits each
    uint16_t pixelsPerColumn = 100;
    uint8_t projection = 4;            // 3 bits
    uint8_t pictureType = 1;           // 4 bits
    uint32_t heightRaw = 2000;         // 17 bits, metres + 1000
    uint16_t intensities = 0;          // 9 bits
    uint16_t extraParameter = 0;       // 12 bits
    uint8_t firstReflectivity = 0;     // 7 bits
    std::vector<uint8_t> classValues;  // N <= 255 values of 7 bits
    std::vector<FixedRow> rows;        // row count written in 16 bits
};

// Run-length codes a grid of class indices (0..255) into one row per grid row,
// one segment per row, runs only.
std::vector<FixedRow> runLengthRows(const std::array<int32_t, 10000>& classIndices);

// The descriptor list this product carries in section 3.
std::vector<Descriptor> fixedDescriptors();
// Section 4 data bits (without the section 4 header), padded to a whole byte.
std::vector<uint8_t> encodeFixedData(const FixedProduct& product);

// ---- Generic product (first descriptor 0 01 018) ---------------------------

struct GenericGroup {
    uint16_t runLength = 0;
    uint32_t runValue = 0;          // written in `valueWidth` bits
    std::vector<uint32_t> singles;  // count written in 16 bits
};

struct GenericProduct {
    std::string shortName = "26063";  // 5 characters, blank-padded or cut
    uint16_t year = 2024;
    uint8_t month = 1, day = 1, hour = 0, minute = 0;
    uint16_t latitudeRaw = 15000;   // 0 05 002: degrees * 100 + 9000, 15 bits
    uint16_t longitudeRaw = 21000;  // 0 06 002: degrees * 100 + 18000, 16 bits
    // Operators placed in the replicated group: 2 01 Y and 2 02 Y; 0 leaves them out.
    uint8_t widthOperatorY = 0;
    uint8_t scaleOperatorY = 0;
    Descriptor imageElement{0, 21, 1};  // 0 21 001, 0 21 021 or 0 21 022
    int valueWidth = 7;                 // bits of each run and single value
    std::vector<GenericGroup> groups;   // count written in 16 bits
};

// Run-length codes raw values (each must fit in `valueWidth` bits) into groups
// of one run followed by no singles; runs longer than 65535 are split.
std::vector<GenericGroup> runLengthGroups(const std::array<int32_t, 10000>& rawValues);

// 0 01 018, 3 01 011, 3 01 012, 0 05 002, 0 06 002, 1 0X 000, 0 31 002,
// [2 01 Y], [2 02 Y], element; X counts everything after the replication.
std::vector<Descriptor> genericDescriptors(const GenericProduct& product);
std::vector<uint8_t> encodeGenericData(const GenericProduct& product);

// ---- Whole messages -----------------------------------------------------------

struct MessageOptions {
    uint8_t edition = 3;
    uint8_t category = 6;
    bool withSection2 = false;
    std::vector<uint8_t> section2Payload;                // bytes after the 4-byte section 2 header
    uint8_t section3Reserved = 0;                        // octet 4 of section 3
    bool section3PadOctet = false;                       // adds one trailing octet to section 3
    std::optional<std::vector<Descriptor>> descriptors;  // replaces the product's list
    // Values written instead of the true ones (the layout itself is unchanged).
    std::optional<uint32_t> totalLength, section1Length, section2Length, section3Length,
        section4Length;
    std::array<char, 4> endMarker{'7', '7', '7', '7'};
};

// Frames section 4 data behind sections 0 to 3 and closes with the end marker.
std::vector<uint8_t> buildMessage(const std::vector<Descriptor>& descriptors,
                                  const std::vector<uint8_t>& data,
                                  const MessageOptions& options = {});

std::vector<uint8_t> writeFixedMessage(const FixedProduct& product,
                                       const MessageOptions& options = {});
std::vector<uint8_t> writeGenericMessage(const GenericProduct& product,
                                         const MessageOptions& options = {});

}  // namespace kalvera::bufr
