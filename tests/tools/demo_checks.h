#pragma once
// Reads a demo archive back through the viewer's own readers.

#include <cstdint>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "demo/demo_generator.h"
#include "demo/demo_sites.h"

namespace kalvera::testing {

// Options for a start directory at `dir` with the resources shipped in data/.
demo::DemoOptions OptionsIn(const std::string& dir);

struct RawRecord {
    int hour = 0;
    int minute = 0;
    int layerCode = 0;
    int32_t offset = 0;
};

// The complete records of an index file, in file order; `tail` gets the
// number of bytes after the last complete record.
std::vector<RawRecord> ReadRawRecords(const std::string& indexPath, size_t* tail = nullptr);

// Decodes the message a record points at, as the viewer would for that layer.
// Adds a failure naming `where` when the loader rejects it.
bool DecodeRecord(const demo::DemoSite& site, const std::string& basePath, const RawRecord& record,
                  RadarPicture& picture, DisplayState& state);

// Every value of a decoded picture is one the layer can hold, and the picture
// sits at its site. Returns a description of the first fault, or "".
std::string PictureFault(const demo::DemoSite& site, int layerCode, const RadarPicture& picture,
                         const DisplayState& state);

}  // namespace kalvera::testing
