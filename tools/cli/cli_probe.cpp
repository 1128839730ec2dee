// kalvera-cli probe: the texts that the header's value cells would show with
// the mouse over a point of a term's picture, as one JSON object. Lets a
// script check a reading without a display.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_options.h"
#include "geo/map_projection.h"
#include "geo/settings.h"
#include "output/mosaic_source.h"
#include "products/term_layers.h"
#include "render/readout.h"

namespace kalvera::cli {

namespace {

constexpr int kProbeSide = 1000;

struct ProbeArgs {
    TermChoice term;
    float lat = 0.0f, lon = 0.0f;
    bool mosaic = false;
    MosaicChoice choice;
};

int ParseArgs(std::vector<std::string> args, ProbeArgs& probe) {
    const auto flag = std::find(args.begin(), args.end(), std::string("--mosaic"));
    probe.mosaic = flag != args.end();
    if (probe.mosaic) args.erase(flag);
    std::map<std::string, std::string> options;
    std::vector<const char*> required = {"--start-dir", "--day", "--term",
                                         "--layer",     "--lat", "--lon"};
    if (!probe.mosaic) required.push_back("--site");
    if (const int usage = ParseOptionPairs(args, required, options); usage != 0) return usage;
    TermChoice& term = probe.term;
    for (const auto& [name, value] : options) {
        if (probe.mosaic && name == "--site")
            return UsageError("--site and --mosaic exclude each other");
        if (const int taken = probe.mosaic ? ParseMosaicOption(name, value, probe.choice) : -1;
            taken >= 0) {
            if (taken != 0) return taken;
        } else if (name == "--start-dir")
            term.startDir = value;
        else if (name == "--site")
            term.site = value;
        else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            term.day = value;
        } else if (name == "--term")
            term.term = value;
        else if (name == "--layer") {
            if (!ParseLayer(value, term.layer)) return UsageError(kLayerUsage);
        } else if (name == "--lat") {
            if (!ParseLatitude(value, probe.lat)) return UsageError(kLatUsage);
        } else if (name == "--lon") {
            if (!ParseLongitude(value, probe.lon)) return UsageError(kLonUsage);
        } else if (name == "--centre") {
            if (!ParseLatLon(value, term.centreLat, term.centreLon)) {
                return UsageError("--centre needs LAT,LON");
            }
            term.centred = true;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    int hour = 0, minute = 0;
    if (!SplitTermText(term.term, hour, minute)) return UsageError("--term needs HH.MM");
    return 0;
}

std::string JsonList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + JsonString(item);
    return "[" + text + "]";
}

// The composite's value at the point and the site that gave it.
int ProbeMosaic(const ProbeArgs& probe, AppConfig& config) {
    config.dataRoot = DataRootOf(probe.term, config.dataRoot);
    ListSites(config);
    MosaicLoader loader;
    const MosaicTerm term = loader.Load(
        MosaicRequestOf(config, probe.choice, probe.term.day, probe.term.term), {probe.term.layer});
    if (term.Present().empty()) {
        return LoadFailure("no site took part in the composite of " + probe.term.day + " " +
                           probe.term.term + ": " + MosaicSummary(term));
    }
    const Composite composite = term.Product(probe.term.layer, probe.choice.method);
    const GridCell cell = composite.values.grid.CellAt(probe.lat, probe.lon);
    std::string value = "nodata", site;
    if (cell.valid() && composite.values.At(cell) != kOutsideGrid) {
        value = ValueText(probe.term.layer, composite.values.At(cell));
        if (value.empty()) value = std::to_string(composite.values.At(cell));
        const uint8_t source = composite.source[composite.values.grid.IndexOf(cell)];
        if (source < term.layout->sites().size()) site = term.layout->sites()[source].code;
    }
    std::printf(
        "{\"value\": %s, \"site\": %s, \"lat\": %s, \"lon\": %s, \"used\": %s, "
        "\"missing\": %s}\n",
        JsonString(value).c_str(), JsonString(site).c_str(),
        JsonString(DegMinText(probe.lat)).c_str(), JsonString(DegMinText(probe.lon)).c_str(),
        JsonList(term.Present()).c_str(), JsonList(term.Missing()).c_str());
    return 0;
}

int runProbe(const std::vector<std::string>& args) {
    ProbeArgs probe;
    if (const int usage = ParseArgs(args, probe); usage != 0) return usage;

    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, probe.term.startDir, error)) {
        return LoadFailure(error);
    }
    if (probe.mosaic) return ProbeMosaic(probe, config);
    DisplayState state = StateForTerm(probe.term, config.dataRoot);

    RadarPicture picture;
    if (!LoadLayerPicture(state, picture)) {
        std::fprintf(stderr, "kalvera-cli: no picture for site %s, day %s, term %s, layer %s: %s\n",
                     probe.term.site.c_str(), probe.term.day.c_str(), probe.term.term.c_str(),
                     LayerName(probe.term.layer).c_str(), WhyNotLoaded(state).c_str());
        return 1;
    }
    state.gridCols = kGridSide;
    state.gridRows = kGridSide;

    const MapProjection view = MapProjection::Init(kProbeSide, kProbeSide, state.viewLon,
                                                   state.viewLat, state.viewHalfExtentKm);
    const Readout readout = ReadoutAt(view, picture, state, probe.lat, probe.lon);
    std::printf("{\"value\": %s, \"azimuth\": %s, \"range\": %s, \"lat\": %s, \"lon\": %s}\n",
                JsonString(readout.value).c_str(), JsonString(readout.azimuth).c_str(),
                JsonString(readout.range).c_str(), JsonString(readout.lat).c_str(),
                JsonString(readout.lon).c_str());
    return 0;
}

const CliRegistrar registrar({"probe", runProbe});

}  // namespace

}  // namespace kalvera::cli
