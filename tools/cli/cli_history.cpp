// kalvera-cli history: what one point held through a day, a row per term with
// layers 1..10, echo tops, phenomena, column maximum and VIL.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "geo/settings.h"
#include "products/point_history.h"

namespace kalvera::cli {

namespace {

struct HistoryArgs {
    TermChoice day;
    float lat = 0.0f, lon = 0.0f;
    bool csv = false;
};

int ParseArgs(std::vector<std::string> args, HistoryArgs& history) {
    const auto flag = std::find(args.begin(), args.end(), "--csv");
    if (flag != args.end()) {
        history.csv = true;
        args.erase(flag);
    }
    std::map<std::string, std::string> options;
    if (const int usage =
            ParseOptionPairs(args, {"--start-dir", "--site", "--day", "--lat", "--lon"}, options);
        usage != 0) {
        return usage;
    }
    for (const auto& [name, value] : options) {
        if (name == "--start-dir") {
            history.day.startDir = value;
        } else if (name == "--site") {
            history.day.site = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            history.day.day = value;
        } else if (name == "--lat") {
            if (!ParseLatitude(value, history.lat)) return UsageError(kLatUsage);
        } else if (name == "--lon") {
            if (!ParseLongitude(value, history.lon)) return UsageError(kLonUsage);
        } else {
            return UsageError("unknown option " + name);
        }
    }
    return 0;
}

int runHistory(const std::vector<std::string>& args) {
    HistoryArgs request;
    if (const int usage = ParseArgs(args, request); usage != 0) return usage;

    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, request.day.startDir, error)) return LoadFailure(error);
    const DisplayState state = StateForTerm(request.day, config.dataRoot);
    std::vector<HistoryRow> rows;
    if (!PointHistory(state, request.lat, request.lon, rows)) {
        return LoadFailure("cannot read the index file " + state.indexPath);
    }
    const std::string csv = HistoryCsv(state, request.lat, request.lon, rows);
    std::fputs(request.csv ? csv.c_str() : AlignedTable(csv).c_str(), stdout);
    return 0;
}

const CliRegistrar registrar({"history", runHistory});

}  // namespace

}  // namespace kalvera::cli
