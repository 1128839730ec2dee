#pragma once
// What nowcast, cells and verify share: the day they read (a site's, the
// composite's once there is one) and its terms from the archive.

#include <map>
#include <string>
#include <vector>

#include "cli_options.h"
#include "nowcast/day_terms.h"

namespace kalvera::cli {

struct NowcastDayArgs {
    TermChoice day;
    bool csv = false;
    // The options beyond --start-dir, --site and --day, by name.
    std::map<std::string, std::string> rest;
};

// Takes --csv out when `takesCsv`, refuses --mosaic while the composite is
// not built, and parses the pairs with `required` among them. 0 or the usage
// error's exit status.
int ParseNowcastDay(std::vector<std::string> args, const std::vector<const char*>& required,
                    bool takesCsv, NowcastDayArgs& out);

// The terms of the day up to `lastTerm` (all when empty) with the layers
// asked for. 0, or 1 with the reason printed.
int LoadNowcastDay(const NowcastDayArgs& args, const std::vector<int>& layerCodes,
                   const std::string& lastTerm, std::vector<DayTerm>& terms,
                   DisplayState* stateOut = nullptr);

}  // namespace kalvera::cli
