#pragma once
// Following the archive as the archiver fills it: the newest day of a site
// and the newest term of a day. Opening a site and the automatic update both
// land on the same term through here.

#include <string>
#include <vector>

#include "common/clock.h"
#include "common/display_state.h"
#include "common/domain_constants.h"

namespace kalvera {

// What the archive held when it was last followed.
struct NewestTerm {
    bool dayFound = false;           // some day of the last 2000 has an index file
    std::vector<std::string> terms;  // the terms of that day, ascending
    std::vector<int> layers;         // layer codes of the newest term
    int layerCode = -1;              // highest of them, 0 when none, -1 when unreadable
    bool hasTerm() const { return !terms.empty(); }
    bool exportDue() const { return layerCode == kLayerWeather; }
};

// Moves `state` to the newest term of the day its index path names: termText
// and layerCode. A day without terms leaves both as they were.
NewestTerm ReadNewestTerm(DisplayState& state);

// Moves `state` to the newest day of its site that has an index file, and
// there to the newest term: dayName, paths, currentDate, termText and
// layerCode. When no day is found or the day holds no term, only the search's
// own fields change (termText and layerCode stay).
NewestTerm FollowNewestTerm(DisplayState& state, const std::string& dataRoot, const Clock& clock);

// Whether some day after the day of `date`, up to the day of `now`, lists a
// term of `siteCode`: while one does, stepping forward still leads to data.
// The days are read from the newest back, at most 2000 of them.
bool TermAfterDay(const std::string& dataRoot, const std::string& siteCode, double date,
                  double now);

}  // namespace kalvera
