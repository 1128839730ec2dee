// A day's index and base file from outside the program, read the way the
// derived products, a section and a point history read them: every message a
// term lists for layers 1..10, 21 and 22, however the index and the messages
// are broken.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "products/point_history.h"
#include "products/section.h"
#include "products/term_layers.h"

using kalvera::fuzz::ScratchDir;
using kalvera::fuzz::WriteFile;

// The first byte picks where the index ends and the base file begins (in
// 16-byte records), and which term is read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = ScratchDir();
    if (dir.empty() || size < 2) return 0;
    using namespace kalvera;
    const size_t indexBytes = std::min<size_t>(size - 2, static_cast<size_t>(data[0]) * 16);
    const uint8_t* index = data + 2;
    DisplayState state;
    state.siteCode = (data[1] & 1) ? kNoReferenceSite : "26061";
    state.indexPath = dir + "/day.ind";
    state.basePath = dir + "/day.bas";
    state.recentre = 1;
    WriteFile(state.indexPath, index, indexBytes);
    WriteFile(state.basePath, index + indexBytes, size - 2 - indexBytes);

    std::vector<HistoryRow> rows;
    PointHistory(state, 55.7f, 37.6f, rows);
    if (rows.empty()) return 0;
    state.termText = rows[data[1] % rows.size()].term;
    RadarPicture picture;
    state.layerCode = (data[1] & 2) ? kLayerVil : kLayerColumnMax;
    LoadLayerPicture(state, picture);
    Section section;
    LoadSection(state, {state.siteLat - 1.0f, state.siteLon}, {state.siteLat + 1.0f, state.siteLon},
                section);
    return 0;
}
