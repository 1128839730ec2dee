#pragma once
// Writes the map's outline files into a start directory, byte for byte as the
// viewer reads them.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "geo/map_resources.h"
#include "support/temp_dir.h"

namespace kalvera::testing {

inline void PutLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// res/country.ind (count and byte offset among bytes the viewer ignores) and
// res/country.bin holding the outlines back to back.
inline void WriteOutlines(const TempDir& dir, const std::vector<Outline>& outlines) {
    std::string index, points;
    for (const Outline& o : outlines) {
        index.append(8, '\x11');
        PutLe32(index, static_cast<uint32_t>(o.size()));
        PutLe32(index, static_cast<uint32_t>(points.size()));
        index.append(16, '\x22');
        for (const GeoPoint& p : o) {
            PutLe32(points, std::bit_cast<uint32_t>(p.lat));
            PutLe32(points, std::bit_cast<uint32_t>(p.lon));
        }
    }
    dir.write("res/country.ind", index);
    dir.write("res/country.bin", points);
}

}  // namespace kalvera::testing
