#pragma once
// The grids a nowcast reads from a site's day archive: for every term of the
// day, the layers asked for (archive codes, or the derived max and vil), on
// the square of the site the messages name; or the composite of several
// sites, on its own grid.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/radar_grid.h"
#include "mosaic/mosaic_term.h"
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

// The composite's day (`day` names the sites, day and tolerance; its term is
// not read): its terms are those any asked site has on the day, one of two
// closer than the tolerance standing for both, each holding the composite of
// the layers asked for by `method`. A term that no site gives, or whose
// sites' layout differs from the last term's, holds no layers. `loader`
// keeps the layout from term to term. False, with the reason, when no asked
// site has a term on the day.
bool LoadMosaicDayTerms(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                        const std::vector<int>& layerCodes, const std::string& lastTerm,
                        std::vector<DayTerm>& terms, std::string& error);

}  // namespace kalvera
