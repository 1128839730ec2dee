#pragma once
// The grids a nowcast reads from a site's day archive: for every term of the
// day, the layers asked for (archive codes, or the derived max and vil), on
// the square of the site the messages name.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/radar_grid.h"
#include "products/term_layers.h"

namespace kalvera {

struct DayTerm {
    std::string termText;  // HH.MM, GMT
    double minutes = 0.0;  // since the day's midnight
    // By layer code; a layer the term lacks (or that does not decode, or a
    // product one of whose layers does not) is absent.
    std::map<int, GridValues> layers;

    const GridValues* layer(int code) const {
        const auto found = layers.find(code);
        return found == layers.end() ? nullptr : &found->second;
    }
};

// Minutes since midnight of "HH.MM"; -1 when it reads as no term.
double TermMinutes(const std::string& termText);

// The terms of the day that `day` names (its index, base file and site), in
// time order, up to and including `lastTerm` when it is not empty. Reads the
// index once. False, with the reason, when the index cannot be read.
bool LoadDayTerms(const DisplayState& day, const std::vector<int>& layerCodes,
                  const std::string& lastTerm, std::vector<DayTerm>& terms, std::string& error,
                  const LayerDecoder& decode = DecodeArchiveMessage);

}  // namespace kalvera
