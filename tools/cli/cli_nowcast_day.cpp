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
    const auto mosaic = std::find(args.begin(), args.end(), "--mosaic");
    out.mosaic = mosaic != args.end();
    if (out.mosaic) args.erase(mosaic);
    std::vector<const char*> names;
    for (const char* name : required) {
        if (!out.mosaic || std::string(name) != "--site") names.push_back(name);
    }
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(args, names, options); usage != 0) return usage;
    for (const auto& [name, value] : options) {
        if (out.mosaic && name == "--site") {
            return UsageError("--site and --mosaic exclude each other");
        }
        if (const int taken = out.mosaic ? ParseMosaicOption(name, value, out.choice) : -1;
            taken >= 0) {
            if (taken != 0) return taken;
        } else if (name == "--start-dir") {
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

int LoadMosaicConfig(const std::string& startDir, AppConfig& config) {
    std::string error;
    if (!LoadSettingsFrom(config, startDir, error)) return LoadFailure(error);
    LoadPalette(config);
    config.startDir = startDir;
    TermChoice where;
    where.startDir = startDir;
    config.dataRoot = DataRootOf(where, config.dataRoot);
    ListSites(config);
    return 0;
}

int LoadNowcastDay(const NowcastDayArgs& args, const std::vector<int>& layerCodes,
                   const TermSelection& which, std::vector<DayTerm>& terms,
                   NowcastDaySource* sourceOut) {
    NowcastDaySource own;
    NowcastDaySource& source = sourceOut ? *sourceOut : own;
    std::string error;
    if (args.mosaic) {
        if (const int failed = LoadMosaicConfig(args.day.startDir, source.config); failed != 0) {
            return failed;
        }
        const MosaicRequest day = MosaicRequestOf(source.config, args.choice, args.day.day, "");
        if (!LoadMosaicTermsAcrossDays(source.loader, day, args.choice.method, layerCodes, which,
                                       terms, error)) {
            return LoadFailure(error);
        }
        return 0;
    }
    if (!LoadSettingsFrom(source.config, args.day.startDir, error)) return LoadFailure(error);
    source.state = StateForTerm(args.day, source.config.dataRoot);
    if (!LoadTermsAcrossDays(source.state, layerCodes, which, terms, error)) {
        return LoadFailure(error);
    }
    return 0;
}

}  // namespace kalvera::cli
