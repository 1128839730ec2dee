#pragma once
// What nowcast, cells and verify share: the day they read (a site's, or the
// composite's with --mosaic) and its terms from the archive.

#include <map>
#include <string>
#include <vector>

#include "cli_options.h"
#include "geo/app_config.h"
#include "nowcast/day_terms.h"
#include "output/mosaic_source.h"

namespace kalvera::cli {

struct NowcastDayArgs {
    TermChoice day;
    bool csv = false;
    bool mosaic = false;  // the composite instead of --site
    MosaicChoice choice;
    // The options beyond --start-dir, --site and --day, by name.
    std::map<std::string, std::string> rest;
};

// Takes --csv out when `takesCsv` and --mosaic, and parses the pairs with
// `required` among them (--site only without --mosaic, which takes the
// composite's options instead). 0 or the usage error's exit status.
int ParseNowcastDay(std::vector<std::string> args, const std::vector<const char*>& required,
                    bool takesCsv, NowcastDayArgs& out);

// What the day was read from: the settings, the site's day, and for the
// composite the loader that keeps its layout from one term to the next.
struct NowcastDaySource {
    AppConfig config;
    DisplayState state;
    MosaicLoader loader;
};

// The settings of the start directory as the composite reads them (its
// sites listed, the data root seen from here). 0, or 1 with the reason printed.
int LoadMosaicConfig(const std::string& startDir, AppConfig& config);

// The composite's picture as `kalvera-cli mosaic` writes it, titled with the
// source's day and term. 0, or 1 with the reason printed.
int WriteMosaicPicture(const AppConfig& config, const MapSource& source, const MosaicTerm& term,
                       const std::string& path);

// The selected terms of the day with the layers asked for, and in front of
// them those of the day before that the day's first terms need (at negative
// minutes). 0, or 1 with the reason printed.
int LoadNowcastDay(const NowcastDayArgs& args, const std::vector<int>& layerCodes,
                   const TermSelection& which, std::vector<DayTerm>& terms,
                   NowcastDaySource* sourceOut = nullptr);

}  // namespace kalvera::cli
