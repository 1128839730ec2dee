// kalvera-cli probe: the texts that the header's value cells would show with
// the mouse over a point of a term's picture, as one JSON object. Lets a
// script check a reading without a display.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "decode/picture_loader.h"
#include "geo/map_projection.h"
#include "geo/settings.h"
#include "render/readout.h"

namespace kalvera::cli {

namespace {

constexpr int kProbeSide = 1000;
constexpr float kDefaultHalfExtentKm = 200.0f;

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !(parsed == parsed)) return false;
    value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < -1000000 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// The viewer resolves a relative data directory against its start directory.
std::string DataRootFrom(const std::string& startDir, const std::string& dataRoot) {
    if (dataRoot.empty() || dataRoot.front() == '/') return dataRoot;
    return startDir + "/" + dataRoot;
}

struct ProbeArgs {
    std::string startDir, site, day, term;
    int layer = 0;
    float lat = 0.0f, lon = 0.0f;
    bool centred = false;
    float centreLat = 0.0f, centreLon = 0.0f;
};

int ParseArgs(const std::vector<std::string>& args, ProbeArgs& probe) {
    std::map<std::string, std::string> options;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (args[i].rfind("--", 0) != 0) return UsageError("unexpected argument: " + args[i]);
        if (i + 1 >= args.size()) return UsageError(args[i] + " needs a value");
        options[args[i]] = args[i + 1];
    }
    for (const char* required :
         {"--start-dir", "--site", "--day", "--term", "--layer", "--lat", "--lon"}) {
        if (options.count(required) == 0) return UsageError(std::string("missing ") + required);
    }
    for (const auto& [name, value] : options) {
        if (name == "--start-dir")
            probe.startDir = value;
        else if (name == "--site")
            probe.site = value;
        else if (name == "--day")
            probe.day = value;
        else if (name == "--term")
            probe.term = value;
        else if (name == "--layer") {
            if (!ParseInt(value, probe.layer)) return UsageError("--layer is not a number");
        } else if (name == "--lat") {
            if (!ParseFloat(value, probe.lat)) return UsageError("--lat is not a number");
        } else if (name == "--lon") {
            if (!ParseFloat(value, probe.lon)) return UsageError("--lon is not a number");
        } else if (name == "--centre") {
            const size_t comma = value.find(',');
            if (comma == std::string::npos ||
                !ParseFloat(value.substr(0, comma), probe.centreLat) ||
                !ParseFloat(value.substr(comma + 1), probe.centreLon)) {
                return UsageError("--centre needs LAT,LON");
            }
            probe.centred = true;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    int hour = 0, minute = 0;
    if (!SplitTermText(probe.term, hour, minute)) return UsageError("--term needs HH.MM");
    return 0;
}

int runProbe(const std::vector<std::string>& args) {
    ProbeArgs probe;
    if (const int usage = ParseArgs(args, probe); usage != 0) return usage;

    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, probe.startDir, error)) {
        std::fprintf(stderr, "kalvera-cli: %s\n", error.c_str());
        return 1;
    }
    const DayArchive day =
        DayArchive::Of(DataRootFrom(probe.startDir, config.dataRoot), probe.site, probe.day);

    DisplayState state;
    state.siteCode = day.siteCode;
    state.dayName = day.dayName;
    state.indexPath = day.indexPath;
    state.basePath = day.basePath;
    state.termText = probe.term;
    state.layerCode = probe.layer;
    state.viewHalfExtentKm = kDefaultHalfExtentKm;
    // Without a given centre the decoder centres the view on its site, as
    // after a change of site in the viewer.
    state.recentre = probe.centred ? 1 : 0;
    state.viewLat = probe.centreLat;
    state.viewLon = probe.centreLon;

    state.messageOffset = FindMessageOffset(state.indexPath, state.termText, state.layerCode);
    RadarPicture picture;
    if (state.messageOffset < 0 || !loadPicture(state.messageOffset, picture, state)) {
        std::fprintf(stderr, "kalvera-cli: no picture for site %s, day %s, term %s, layer %d\n",
                     probe.site.c_str(), probe.day.c_str(), probe.term.c_str(), probe.layer);
        return 1;
    }
    state.gridCols = kGridSide;
    state.gridRows = kGridSide;

    const MapProjection view = MapProjection::Init(kProbeSide, kProbeSide, state.viewLon,
                                                   state.viewLat, state.viewHalfExtentKm);
    const Readout readout = ReadoutAt(view, picture, state, kProbeSide, probe.lat, probe.lon);
    std::printf("{\"value\": %s, \"azimuth\": %s, \"range\": %s, \"lat\": %s, \"lon\": %s}\n",
                JsonString(readout.value).c_str(), JsonString(readout.azimuth).c_str(),
                JsonString(readout.range).c_str(), JsonString(readout.lat).c_str(),
                JsonString(readout.lon).c_str());
    return 0;
}

const CliRegistrar registrar(
    {"probe",
     "probe --start-dir DIR --site CODE --day YYMMDD --term HH.MM --layer N --lat LAT --lon LON "
     "[--centre LAT,LON]",
     runProbe});

}  // namespace

}  // namespace kalvera::cli
