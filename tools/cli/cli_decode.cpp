// kalvera-cli decode: the viewer's loading path, printed as JSON.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_command.h"
#include "common/display_state.h"
#include "common/path_suffix.h"
#include "common/radar_picture.h"
#include "decode/picture_loader.h"

namespace kalvera::cli {

namespace {

bool parseInt32(const std::string& text, int32_t& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<int32_t>(value);
    return true;
}

void printFloat(const char* key, float value) {
    std::printf("\"%s\": %.9g, ", key, static_cast<double>(value));
}

int runDecode(const std::vector<std::string>& args) {
    if (args.size() < 2) return UsageError("decode needs BASE OFFSET");
    DisplayState state;
    state.basePath = args[0];
    // The index beside the base file tells where the next message begins.
    if (HasSuffix(state.basePath, ".bas")) {
        state.indexPath = state.basePath.substr(0, state.basePath.size() - 4) + ".ind";
    }
    state.recentre = 1;
    int32_t offset = 0;
    if (!parseInt32(args[1], offset)) return UsageError("OFFSET is not a number: " + args[1]);
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return UsageError("option " + args[i] + " needs a value");
        if (args[i] == "--layer") {
            if (!parseInt32(args[i + 1], state.layerCode))
                return UsageError("--layer is not a number: " + args[i + 1]);
        } else if (args[i] == "--site") {
            state.siteCode = args[i + 1];
        } else {
            return UsageError("unknown option " + args[i]);
        }
    }

    static RadarPicture picture;  // 40 KB: kept off the stack
    PictureLoadReport report;
    const bool ok = loadPicture(offset, picture, state, report);
    if (report.foundAnotherRecord) {
        std::fprintf(stderr,
                     "kalvera-cli: the message at %d is damaged: the search for its start "
                     "reached the message of another index record\n",
                     offset);
    }

    std::printf("{\"ok\": %s, \"first_descriptor\": ", ok ? "true" : "false");
    if (report.hasFirstDescriptor) {
        const DescriptorTriple& d = report.firstDescriptor;
        std::printf("\"%d %02d %03d\", ", d.f, d.x, d.y);
    } else {
        std::printf("null, ");
    }
    std::printf("\"count\": %d, ", report.count);
    printFloat("site_lat", state.siteLat);
    printFloat("site_lon", state.siteLon);
    std::printf("\"values\": [");
    for (int i = 0; i < kGridCells; ++i) std::printf(i == 0 ? "%d" : ", %d", picture.values[i]);
    std::printf("]}\n");
    return ok ? 0 : 1;
}

const CliRegistrar registrar({"decode", runDecode});

}  // namespace

}  // namespace kalvera::cli
