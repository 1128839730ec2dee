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

// The CSV with its columns padded for reading on a terminal; its comment
// lines are left out.
std::string AlignedTable(const std::string& csv) {
    std::vector<std::vector<std::string>> cells;
    std::vector<size_t> widths;
    size_t start = 0;
    while (start < csv.size()) {
        const size_t end = csv.find('\n', start);
        const std::string line = csv.substr(start, end - start);
        start = end == std::string::npos ? csv.size() : end + 1;
        if (line.starts_with('#')) continue;
        auto& row = cells.emplace_back();
        size_t from = 0;
        for (;;) {
            const size_t comma = line.find(',', from);
            row.push_back(line.substr(from, comma - from));
            if (row.size() > widths.size()) widths.push_back(0);
            widths[row.size() - 1] = std::max(widths[row.size() - 1], row.back().size());
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
    }
    std::string table;
    for (const auto& row : cells) {
        for (size_t i = 0; i < row.size(); ++i) {
            table += std::string(widths[i] - row[i].size() + (i ? 1 : 0), ' ') + row[i];
        }
        table += '\n';
    }
    return table;
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
