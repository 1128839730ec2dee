#include "cli_nowcast_day.h"

#include <algorithm>

#include "cli_command.h"
#include "geo/settings.h"

namespace kalvera::cli {

int ParseNowcastDay(std::vector<std::string> args, const std::vector<const char*>& required,
                    bool takesCsv, NowcastDayArgs& out) {
    if (takesCsv) {
        const auto flag = std::find(args.begin(), args.end(), "--csv");
        if (flag != args.end()) {
            out.csv = true;
            args.erase(flag);
        }
    }
    if (std::find(args.begin(), args.end(), "--mosaic") != args.end()) {
        return UsageError(
            "--mosaic is not available: this build has no composite of all sites; "
            "give --site CODE");
    }
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(args, required, options); usage != 0) return usage;
    for (const auto& [name, value] : options) {
        if (name == "--start-dir") {
            out.day.startDir = value;
        } else if (name == "--site") {
            out.day.site = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            out.day.day = value;
        } else {
            out.rest[name] = value;
        }
    }
    return 0;
}

int LoadNowcastDay(const NowcastDayArgs& args, const std::vector<int>& layerCodes,
                   const std::string& lastTerm, std::vector<DayTerm>& terms,
                   DisplayState* stateOut) {
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, args.day.startDir, error)) return LoadFailure(error);
    const DisplayState state = StateForTerm(args.day, config.dataRoot);
    if (!LoadDayTerms(state, layerCodes, lastTerm, terms, error)) return LoadFailure(error);
    if (stateOut) *stateOut = state;
    return 0;
}

}  // namespace kalvera::cli
