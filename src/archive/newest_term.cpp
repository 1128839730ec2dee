#include "archive/newest_term.h"

#include <cmath>

#include "archive/day_archive.h"

namespace kalvera {

NewestTerm ReadNewestTerm(DisplayState& state) {
    NewestTerm found;
    found.dayFound = true;
    if (LoadTermList(state.indexPath, found.terms) == 0) return found;
    state.termText = found.terms.back();
    found.layerCode = LoadLayerList(state.indexPath, state.termText, found.layers);
    state.layerCode = found.layerCode;
    return found;
}

NewestTerm FollowNewestTerm(DisplayState& state, const std::string& dataRoot, const Clock& clock) {
    if (!FindLatestDay(state, dataRoot, clock)) return NewestTerm{};
    return ReadNewestTerm(state);
}

bool TermAfterDay(const std::string& dataRoot, const std::string& siteCode, double date,
                  double now) {
    std::vector<std::string> terms;
    const double first = std::floor(date) + 1.0;
    double day = std::floor(now);
    for (int tried = 0; day >= first && tried < kLatestDaySearchDays; ++tried, day -= 1.0) {
        const DayArchive archive = DayArchive::Of(dataRoot, siteCode, DayNameOf(day));
        if (LoadTermList(archive.indexPath, terms) > 0) return true;
    }
    return false;
}

}  // namespace kalvera
