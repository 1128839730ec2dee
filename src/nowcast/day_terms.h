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
    // Since the day's midnight; negative for a term of the day before, read
    // for the motion and tracks of the day's first terms.
    double minutes = 0.0;
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

// Which of a day's terms are read: those up to and including `last` (all
// when empty), and of them only the newest `count` (all when 0): a nowcast
// of one term needs only the terms its motion is read from. `first`, when
// not empty, leaves out the terms before it.
struct TermSelection {
    std::string last;
    size_t count = 0;
    std::string first;

    TermSelection(std::string lastTerm = {}, size_t newest = 0)
        : last(std::move(lastTerm)), count(newest) {}
    TermSelection(const char* lastTerm) : last(lastTerm) {}
};

// The terms of the day that `day` names (its index, base file and site), in
// time order, as selected. Reads the index once. False, with the reason,
// when the index cannot be read.
bool LoadDayTerms(const DisplayState& day, const std::vector<int>& layerCodes,
                  const TermSelection& which, std::vector<DayTerm>& terms, std::string& error,
                  const LayerDecoder& decode = DecodeArchiveMessage);

// How far before midnight the day before is read for the day's first terms:
// a track is broken by a longer gap, and the motion reads less.
inline constexpr double kCarryOverMinutes = 60.0;

// "261207" for "261208"; empty when `dayName` is not YYMMDD.
std::string DayBefore(const std::string& dayName);

// The selected terms with, in front of them, the terms of the day before
// within kCarryOverMinutes of the first one (at negative minutes), when
// the selection starts within that time of midnight and wants more terms
// than the day gives: time runs on across days. A day before that is
// missing or unreadable adds nothing.
bool LoadTermsAcrossDays(const DisplayState& day, const std::vector<int>& layerCodes,
                         const TermSelection& which, std::vector<DayTerm>& terms,
                         std::string& error, const LayerDecoder& decode = DecodeArchiveMessage);

// The composite's day (`day` names the sites, day and tolerance; its term is
// not read): its terms are those any asked site has on the day, one of two
// closer than the tolerance standing for both, each holding the composite of
// the layers asked for by `method`. A term that no site gives, or whose
// sites' layout differs from the last term's, holds no layers. `loader`
// keeps the layout from term to term. False, with the reason, when no asked
// site has a term on the day.
bool LoadMosaicDayTerms(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                        const std::vector<int>& layerCodes, const TermSelection& which,
                        std::vector<DayTerm>& terms, std::string& error);

// The texts of the composite's day's terms that LoadMosaicDayTerms reads,
// without reading them: a caller can then read a long day a part at a time.
bool MosaicDayTermTexts(const MosaicRequest& day, const TermSelection& which,
                        std::vector<std::string>& texts, std::string& error);

// The composite's terms across midnight, as LoadTermsAcrossDays for a site's.
bool LoadMosaicTermsAcrossDays(MosaicLoader& loader, const MosaicRequest& day,
                               CompositeMethod method, const std::vector<int>& layerCodes,
                               const TermSelection& which, std::vector<DayTerm>& terms,
                               std::string& error);

}  // namespace kalvera
