#include "nowcast/day_terms.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "common/date_time.h"
#include "products/derived_products.h"
#include "products/term_layers.h"

namespace kalvera {

namespace {

using TermMessages = std::map<int, int32_t>;  // layer code -> offset of its first message

bool ReadDayMessages(const std::string& indexPath, std::map<std::string, TermMessages>& terms) {
    return ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        terms[TermTextOf(record.hour, record.minute)].try_emplace(record.layerCode, record.offset);
        return true;
    });
}

void LoadTerm(DisplayState& state, const TermMessages& messages, const std::vector<int>& codes,
              DayTerm& term, const LayerDecoder& decode) {
    const LayerOffsets offsets = [&messages](int code) {
        const auto found = messages.find(code);
        return found == messages.end() ? int32_t{-1} : found->second;
    };
    TermLayers layers;
    if (!LoadTermLayers(state, LayersToDecode(codes), offsets, layers, decode)) return;
    for (const int code : codes) {
        if (IsDerivedLayer(code)) {
            // A listed layer that does not decode would understate the column.
            if (!layers.columnWhole() || !layers.hasHeights()) continue;
            RadarPicture product;
            if (DeriveProduct(code, layers.heights(), product)) {
                term.layers[code] = GridValues::OfPicture(product, layers.siteLon, layers.siteLat);
            }
        } else if (const DecodedLayer* decoded = layers.layer(code)) {
            term.layers[code] = {decoded->grid,
                                 std::vector<int32_t>(decoded->picture.values.begin(),
                                                      decoded->picture.values.end())};
        }
    }
}

}  // namespace

double TermMinutes(const std::string& termText) {
    return TermMinuteOfDay(termText);
}

bool LoadDayTerms(const DisplayState& day, const std::vector<int>& layerCodes,
                  const TermSelection& which, std::vector<DayTerm>& terms, std::string& error,
                  const LayerDecoder& decode) {
    terms.clear();
    std::map<std::string, TermMessages> messages;
    if (!ReadDayMessages(day.indexPath, messages)) {
        error = "cannot read the index file " + day.indexPath;
        return false;
    }
    if (!which.last.empty()) messages.erase(messages.upper_bound(which.last), messages.end());
    messages.erase(messages.begin(), messages.lower_bound(which.first));
    while (which.count > 0 && messages.size() > which.count) messages.erase(messages.begin());
    DisplayState state = day;
    for (const auto& [text, offsets] : messages) {
        DayTerm term;
        term.termText = text;
        term.minutes = TermMinutes(text);
        state.termText = text;
        LoadTerm(state, offsets, layerCodes, term, decode);
        terms.push_back(std::move(term));
    }
    return true;
}

bool MosaicDayTermTexts(const MosaicRequest& day, const TermSelection& which,
                        std::vector<std::string>& clock, std::string& error) {
    clock.clear();
    std::set<std::string> texts;
    for (const std::string& site : day.siteCodes) {
        std::vector<std::string> siteTerms;
        LoadTermList(DayArchive::Of(day.dataRoot, site, day.dayName).indexPath, siteTerms);
        texts.insert(siteTerms.begin(), siteTerms.end());
    }
    if (texts.empty()) {
        error = "no asked site has a term on " + day.dayName;
        return false;
    }
    // Sites a few minutes apart would otherwise give two composites of
    // nearly the same sites, and a motion of nothing between them.
    for (const std::string& text : texts) {
        if (!which.last.empty() && text > which.last) break;
        if (TermMinutes(text) < 0 || text < which.first) continue;
        if (!clock.empty() &&
            TermMinutes(text) - TermMinutes(clock.back()) < day.toleranceMinutes) {
            continue;
        }
        clock.push_back(text);
    }
    if (which.count > 0 && clock.size() > which.count) {
        clock.erase(clock.begin(), clock.end() - static_cast<std::ptrdiff_t>(which.count));
    }
    return true;
}

bool LoadMosaicDayTerms(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                        const std::vector<int>& layerCodes, const TermSelection& which,
                        std::vector<DayTerm>& terms, std::string& error) {
    terms.clear();
    std::vector<std::string> clock;
    if (!MosaicDayTermTexts(day, which, clock, error)) return false;
    std::vector<std::shared_ptr<const MosaicLayout>> layouts;
    MosaicRequest request = day;
    for (const std::string& text : clock) {
        request.termText = text;
        const MosaicTerm mosaic = loader.Load(request, layerCodes);
        DayTerm term;
        term.termText = text;
        term.minutes = TermMinutes(text);
        if (!mosaic.Present().empty()) {
            std::vector<Composite> products = mosaic.Products(layerCodes, method);
            for (size_t n = 0; n < products.size(); ++n) {
                if (products[n].presentCount() > 0) {
                    term.layers[layerCodes[n]] = std::move(products[n].values);
                }
            }
        }
        layouts.push_back(mosaic.layout);
        terms.push_back(std::move(term));
    }
    // Grids of different layouts cannot be compared cell by cell.
    for (size_t n = 0; n < terms.size(); ++n) {
        if (layouts[n] != layouts.back()) terms[n].layers.clear();
    }
    return true;
}

namespace {

// How many terms of the day before a selection wants, or 0 for none.
size_t WantedBefore(const TermSelection& which, const std::vector<DayTerm>& terms) {
    if (terms.empty() || terms.front().minutes > kCarryOverMinutes) return 0;
    if (which.count == 0) return std::numeric_limits<size_t>::max();
    return which.count > terms.size() ? which.count - terms.size() : 0;
}

// Puts the day before's terms in front, on this day's clock, keeping those
// within the carry-over of the first term and of the grid of its newest.
void PrependDayBefore(std::vector<DayTerm>& before, size_t wanted, std::vector<DayTerm>& terms) {
    const double first = terms.front().minutes;
    const auto sameGrid = [&](const DayTerm& term) {
        for (const auto& [code, grid] : term.layers) {
            const GridValues* ours = terms.back().layer(code);
            if (ours && ours->values.size() != grid.values.size()) return false;
        }
        return true;
    };
    std::vector<DayTerm> kept;
    for (DayTerm& term : before) {
        term.minutes -= 24 * 60.0;
        if (term.minutes >= first - kCarryOverMinutes && term.minutes < first && sameGrid(term)) {
            kept.push_back(std::move(term));
        }
    }
    if (kept.size() > wanted) {
        kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(wanted));
    }
    terms.insert(terms.begin(), std::make_move_iterator(kept.begin()),
                 std::make_move_iterator(kept.end()));
}

// Only the day before's terms within the carry-over of the day's first
// term are ever needed, never the whole day.
TermSelection BeforeSelection(size_t wanted, const std::vector<DayTerm>& terms) {
    const auto withinCarryOver = static_cast<size_t>(kCarryOverMinutes) + 1;
    TermSelection which("", std::min(wanted, withinCarryOver));
    const int from = static_cast<int>(std::ceil(terms.front().minutes - kCarryOverMinutes));
    if (from < 0) which.first = TermTextOf((from + 24 * 60) / 60, (from + 24 * 60) % 60);
    return which;
}

}  // namespace

std::string DayBefore(const std::string& dayName) {
    return ShiftedDayName(dayName, -1);
}

bool LoadTermsAcrossDays(const DisplayState& day, const std::vector<int>& layerCodes,
                         const TermSelection& which, std::vector<DayTerm>& terms,
                         std::string& error, const LayerDecoder& decode) {
    if (!LoadDayTerms(day, layerCodes, which, terms, error, decode)) return false;
    const size_t wanted = WantedBefore(which, terms);
    const std::string dayBefore = DayBefore(day.dayName);
    const std::string tail = day.dayName + ".ind";
    if (wanted == 0 || dayBefore.empty() || !day.indexPath.ends_with(tail)) return true;
    // The files of the day before lie beside the day's own.
    const std::string folder = day.indexPath.substr(0, day.indexPath.size() - tail.size());
    DisplayState previous = day;
    previous.dayName = dayBefore;
    previous.indexPath = folder + dayBefore + ".ind";
    previous.basePath = folder + dayBefore + ".bas";
    previous.currentDate = day.currentDate - 1.0;
    std::vector<DayTerm> before;
    std::string ignored;
    if (LoadDayTerms(previous, layerCodes, BeforeSelection(wanted, terms), before, ignored,
                     decode)) {
        PrependDayBefore(before, wanted, terms);
    }
    return true;
}

bool LoadMosaicTermsAcrossDays(MosaicLoader& loader, const MosaicRequest& day,
                               CompositeMethod method, const std::vector<int>& layerCodes,
                               const TermSelection& which, std::vector<DayTerm>& terms,
                               std::string& error) {
    if (!LoadMosaicDayTerms(loader, day, method, layerCodes, which, terms, error)) return false;
    const size_t wanted = WantedBefore(which, terms);
    MosaicRequest previous = day;
    previous.dayName = DayBefore(day.dayName);
    if (wanted == 0 || previous.dayName.empty()) return true;
    std::vector<DayTerm> before;
    std::string ignored;
    if (LoadMosaicDayTerms(loader, previous, method, layerCodes, BeforeSelection(wanted, terms),
                           before, ignored)) {
        PrependDayBefore(before, wanted, terms);
    }
    return true;
}

}  // namespace kalvera
