// The day index and the start directory's text and palette files come from
// outside the program. Arbitrary bytes go through the same reads as at start
// and at every update: settings, site table, palette, term and layer lists
// and the offset lookup.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "fuzz_files.h"
#include "geo/settings.h"

using kalvera::fuzz::WriteFile;

namespace {

// The scratch directory with the res/ folder the settings readers expect.
const std::string& ScratchDir() {
    static const std::string dir = [] {
        const std::string& scratch = kalvera::fuzz::ScratchDir();
        if (!scratch.empty()) std::filesystem::create_directories(scratch + "/res");
        return scratch;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = ScratchDir();
    if (dir.empty() || size < 1) return 0;
    const uint8_t* bytes = data + 1;
    const size_t length = size - 1;
    using namespace kalvera;

    switch (data[0] % 3) {
        case 0: {
            WriteFile(dir + "/day.ind", bytes, length);
            std::vector<std::string> terms;
            LoadTermList(dir + "/day.ind", terms);
            for (const std::string& term : terms) {
                std::vector<int> layers;
                LoadLayerList(dir + "/day.ind", term, layers);
                for (int layer : layers) FindMessageOffset(dir + "/day.ind", term, layer);
            }
            break;
        }
        case 1: {
            // The first half is the settings file, the rest the site table.
            WriteFile(SettingsPath(dir), bytes, length / 2);
            WriteFile(TownsPath(dir), bytes + length / 2, length - length / 2);
            AppConfig config;
            std::string error;
            if (LoadSettingsFrom(config, dir, error)) {
                for (const std::string& code : config.siteTable.codes)
                    SiteDisplayName(config, code);
            }
            break;
        }
        default: {
            WriteFile(PalettePath(dir), bytes, length);
            AppConfig config;
            config.startDir = dir;
            LoadPalette(config);
            break;
        }
    }
    return 0;
}
