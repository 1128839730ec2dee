#pragma once
// Little-endian integers, the byte order of every binary file the
// program reads or writes (index records, palette, map resources), whatever
// the byte order of the machine.

#include <cstdint>

namespace kalvera {

inline uint16_t ReadLe16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline void WriteLe16(unsigned char* bytes, uint16_t value) {
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

inline uint32_t ReadLe32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline void WriteLe32(unsigned char* bytes, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[k] = static_cast<unsigned char>(value >> (8 * k));
}

}  // namespace kalvera
