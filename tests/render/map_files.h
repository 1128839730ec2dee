#pragma once
// Writes the map's resource files (outline index and points, places) into a
// start directory, byte for byte as the viewer reads them.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "geo/map_resources.h"

namespace kalvera::testing {

inline void PutLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct OutlineRecord {
    int32_t count = 0;
    int32_t offset = 0;
};

inline std::string IndexBytes(const std::vector<OutlineRecord>& records) {
    std::string out;
    for (const OutlineRecord& r : records) {
        out.append(8, '\x11');  // bytes the viewer ignores
        PutLe32(out, static_cast<uint32_t>(r.count));
        PutLe32(out, static_cast<uint32_t>(r.offset));
        out.append(16, '\x22');
    }
    return out;
}

inline std::string PointBytes(const std::vector<GeoPoint>& points) {
    std::string out;
    for (const GeoPoint& p : points) {
        PutLe32(out, std::bit_cast<uint32_t>(p.lat));
        PutLe32(out, std::bit_cast<uint32_t>(p.lon));
    }
    return out;
}

// Writes res/country.ind and res/country.bin holding the outlines back to back.
inline void WriteOutlines(const TempDir& dir, const std::vector<Outline>& outlines) {
    std::vector<OutlineRecord> records;
    std::vector<GeoPoint> all;
    for (const Outline& o : outlines) {
        records.push_back({static_cast<int32_t>(o.size()), static_cast<int32_t>(all.size() * 8)});
        all.insert(all.end(), o.begin(), o.end());
    }
    dir.write("res/country.ind", IndexBytes(records));
    dir.write("res/country.bin", PointBytes(all));
}

}  // namespace kalvera::testing
