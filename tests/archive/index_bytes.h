#pragma once
// Index records as the archiver stores them, for building test days.

#include <cstdint>
#include <string>

namespace kalvera::testing {

inline std::string IndexRecordBytes(int hour, int minute, int layerCode, int32_t offset,
                                    uint8_t filler = 0xAB) {
    std::string bytes(16, static_cast<char>(filler));
    bytes[0] = static_cast<char>(hour);
    bytes[1] = static_cast<char>(minute);
    bytes[2] = static_cast<char>(layerCode);
    const auto raw = static_cast<uint32_t>(offset);
    for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(raw >> (8 * i));
    return bytes;
}

}  // namespace kalvera::testing
