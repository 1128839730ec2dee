#pragma once
// Index records as the archiver stores them, for building test days.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "archive/index_records.h"

namespace kalvera::testing {

inline std::string IndexRecordBytes(int hour, int minute, int layerCode, int32_t offset,
                                    uint8_t filler = 0xAB) {
    IndexRecord record;
    record.hour = static_cast<uint8_t>(hour);
    record.minute = static_cast<uint8_t>(minute);
    record.layerCode = static_cast<uint8_t>(layerCode);
    record.spare = filler;
    record.offset = offset;
    std::fill(std::begin(record.tail), std::end(record.tail), filler);
    const auto bytes = EncodeIndexRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace kalvera::testing
