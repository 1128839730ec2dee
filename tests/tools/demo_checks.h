#pragma once
// Reads a demo archive back through the viewer's own readers.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/index_records.h"
#include "common/display_state.h"
#include "common/radar_picture.h"
#include "decode/picture_loader.h"
#include "demo/demo_generator.h"
#include "demo/demo_sites.h"
#include "support/file_bytes.h"

namespace kalvera::testing {

struct RawRecord {
    int hour = 0;
    int minute = 0;
    int layerCode = 0;
    int32_t offset = 0;
};

// Options for a start directory at `dir` with the resources shipped in data/.
inline demo::DemoOptions OptionsIn(const std::string& dir) {
    demo::DemoOptions options;
    options.dir = dir;
    options.dataDir = std::string(KALVERA_SOURCE_DIR) + "/data";
    return options;
}

// The complete records of an index file, in file order; `tail` gets the
// number of bytes after the last complete record.
inline std::vector<RawRecord> ReadRawRecords(const std::string& indexPath, size_t* tail = nullptr) {
    const std::string bytes = ReadWholeFile(indexPath);
    std::vector<RawRecord> records;
    for (size_t at = 0; at + 16 <= bytes.size(); at += 16) {
        const IndexRecord stored =
            DecodeIndexRecord(reinterpret_cast<const unsigned char*>(bytes.data() + at));
        records.push_back({stored.hour, stored.minute, stored.layerCode, stored.offset});
    }
    if (tail != nullptr) *tail = bytes.size() % 16;
    return records;
}

// Decodes the message a record points at, as the viewer would for that layer.
inline bool DecodeRecord(const demo::DemoSite& site, const std::string& basePath,
                         const RawRecord& record, RadarPicture& picture, DisplayState& state) {
    state.siteCode = site.code;
    state.basePath = basePath;
    state.layerCode = record.layerCode;
    state.recentre = 1;
    picture.values.fill(-12345);
    return loadPicture(record.offset, picture, state);
}

// Every value of a decoded picture is one the layer can hold, and the picture
// sits at its site inside the region. Returns the first fault, or "".
inline std::string PictureFault(const demo::DemoSite& site, int layerCode,
                                const RadarPicture& picture, const DisplayState& state) {
    if (std::abs(state.siteLat - site.lat) > 0.011 || std::abs(state.siteLon - site.lon) > 0.011) {
        return "site at " + std::to_string(state.siteLat) + " " + std::to_string(state.siteLon);
    }
    if (state.siteLat < 45.0f || state.siteLat > 70.0f || state.siteLon < 20.0f ||
        state.siteLon > 60.0f) {
        return "site outside the region";
    }
    // Echo tops in whole kilometres, phenomena codes, reflectivity as 2 x dBZ.
    const int32_t most = layerCode == 21 ? 15000 : layerCode == 22 ? 19 : 190;
    const int32_t step = layerCode == 21 ? 1000 : 1;
    for (int k = 0; k < kGridCells; ++k) {
        const int32_t v = picture.values[k];
        if (v < 0 || v > most || v % step != 0) {
            return "layer " + std::to_string(layerCode) + " cell " + std::to_string(k) + " holds " +
                   std::to_string(v);
        }
    }
    return "";
}

}  // namespace kalvera::testing
