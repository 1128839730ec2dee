#include "nowcast/day_terms.h"

#include <memory>
#include <set>

#include "archive/day_archive.h"
#include "archive/index_records.h"
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
    int hour = 0, minute = 0;
    if (!SplitTermText(termText, hour, minute)) return -1.0;
    return hour * 60.0 + minute;
}

bool LoadDayTerms(const DisplayState& day, const std::vector<int>& layerCodes,
                  const std::string& lastTerm, std::vector<DayTerm>& terms, std::string& error,
                  const LayerDecoder& decode) {
    terms.clear();
    std::map<std::string, TermMessages> messages;
    if (!ReadDayMessages(day.indexPath, messages)) {
        error = "cannot read the index file " + day.indexPath;
        return false;
    }
    DisplayState state = day;
    for (const auto& [text, offsets] : messages) {
        if (!lastTerm.empty() && text > lastTerm) break;
        DayTerm term;
        term.termText = text;
        term.minutes = TermMinutes(text);
        state.termText = text;
        LoadTerm(state, offsets, layerCodes, term, decode);
        terms.push_back(std::move(term));
    }
    return true;
}

bool LoadMosaicDayTerms(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                        const std::vector<int>& layerCodes, const std::string& lastTerm,
                        std::vector<DayTerm>& terms, std::string& error) {
    terms.clear();
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
    std::vector<std::string> clock;
    for (const std::string& text : texts) {
        if (!lastTerm.empty() && text > lastTerm) break;
        if (TermMinutes(text) < 0) continue;
        if (!clock.empty() &&
            TermMinutes(text) - TermMinutes(clock.back()) < day.toleranceMinutes) {
            continue;
        }
        clock.push_back(text);
    }
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

}  // namespace kalvera
