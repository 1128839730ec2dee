// kalvera-cli newest: the newest term of a day and where its message starts,
// as one line "TERM LAYER OFFSET BASE" for scripts. Without --day the newest
// day of the site is taken, as the viewer opens it; without --site the
// settings' default site; without --layer the term's highest layer.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "archive/newest_term.h"
#include "cli_command.h"
#include "cli_options.h"
#include "geo/settings.h"
#include "products/derived_products.h"

namespace kalvera::cli {

namespace {

int ParseArgs(const std::vector<std::string>& args, TermChoice& newest) {
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(args, {"--start-dir"}, options); usage != 0) {
        return usage;
    }
    for (const auto& [name, value] : options) {
        if (name == "--start-dir") {
            newest.startDir = value;
        } else if (name == "--site") {
            newest.site = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            newest.day = value;
        } else if (name == "--layer") {
            // The derived products are made from a term, never stored in one.
            if (!ParseLayer(value, newest.layer) || IsDerivedLayer(newest.layer)) {
                return UsageError("--layer needs a code from 0 to 255");
            }
        } else {
            return UsageError("unknown option " + name);
        }
    }
    return 0;
}

int runNewest(const std::vector<std::string>& args) {
    TermChoice newest;
    newest.layer = -1;
    if (const int usage = ParseArgs(args, newest); usage != 0) return usage;

    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, newest.startDir, error)) return LoadFailure(error);
    const std::string dataRoot = DataRootOf(newest, config.dataRoot);

    DisplayState state;
    state.siteCode = newest.site.empty() ? config.defaultSite : newest.site;
    NewestTerm found;
    if (newest.day.empty()) {
        found = FollowNewestTerm(state, dataRoot, systemClock());
        if (!found.dayFound) return LoadFailure("no day with data for site " + state.siteCode);
    } else {
        const DayArchive day = DayArchive::Of(dataRoot, state.siteCode, newest.day);
        state.indexPath = day.indexPath;
        state.basePath = day.basePath;
        found = ReadNewestTerm(state);
    }
    if (!found.hasTerm()) return LoadFailure("no term in " + state.indexPath);

    const int layer = newest.layer >= 0 ? newest.layer : found.layerCode;
    const int32_t offset = FindMessageOffset(state.indexPath, state.termText, layer);
    if (offset < 0) {
        return LoadFailure("no layer " + std::to_string(layer) + " in term " + state.termText +
                           " of " + state.indexPath);
    }
    std::printf("%s %d %d %s\n", state.termText.c_str(), layer, offset, state.basePath.c_str());
    return 0;
}

const CliRegistrar registrar({"newest", runNewest});

}  // namespace

}  // namespace kalvera::cli
