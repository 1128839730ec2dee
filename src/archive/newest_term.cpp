#include "archive/newest_term.h"

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

}  // namespace kalvera
