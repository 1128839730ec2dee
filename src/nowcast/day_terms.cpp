#include "nowcast/day_terms.h"

#include <memory>
#include <set>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "products/derived_products.h"

namespace kalvera {

namespace {

using TermMessages = std::map<int, int32_t>;  // layer code -> offset of its first message

bool ReadDayMessages(const std::string& indexPath, std::map<std::string, TermMessages>& terms) {
    return ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        terms[TermTextOf(record.hour, record.minute)].try_emplace(record.layerCode, record.offset);
        return true;
    });
}

struct Decoded {
    RadarPicture picture;
    float siteLat = 0.0f, siteLon = 0.0f;
};

// Decodes one layer of the term; null when it has none or it does not decode.
std::unique_ptr<Decoded> DecodeLayer(DisplayState& state, const TermMessages& messages, int code,
                                     const LayerDecoder& decode) {
    const auto found = messages.find(code);
    if (found == messages.end()) return nullptr;
    auto out = std::make_unique<Decoded>();
    state.layerCode = code;
    if (!decode(found->second, out->picture, state)) return nullptr;
    out->siteLat = state.siteLat;
    out->siteLon = state.siteLon;
    return out;
}

void LoadTerm(DisplayState& state, const TermMessages& messages, const std::vector<int>& codes,
              DayTerm& term, const LayerDecoder& decode) {
    bool wantsHeights = false;
    for (const int code : codes) wantsHeights = wantsHeights || IsDerivedLayer(code);
    std::array<std::unique_ptr<Decoded>, kHeightLayers> heights;
    bool broken = false, anyHeight = false;
    float siteLat = 0.0f, siteLon = 0.0f;
    if (wantsHeights) {
        for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) {
            auto& slot = heights[static_cast<size_t>(n - kFirstHeightLayer)];
            slot = DecodeLayer(state, messages, n, decode);
            // A listed layer that does not decode would understate the column.
            if (!slot && messages.count(n)) broken = true;
            if (slot) anyHeight = true, siteLat = slot->siteLat, siteLon = slot->siteLon;
        }
    }
    for (const int code : codes) {
        if (IsDerivedLayer(code)) {
            if (broken || !anyHeight) continue;
            HeightLayers layers{};
            for (size_t n = 0; n < heights.size(); ++n) {
                layers[n] = heights[n] ? &heights[n]->picture : nullptr;
            }
            RadarPicture product;
            if (DeriveProduct(code, layers, product)) {
                term.layers[code] = GridValues::OfPicture(product, siteLon, siteLat);
            }
            continue;
        }
        const bool height = code >= kFirstHeightLayer && code <= kLastHeightLayer;
        const auto decoded = height && wantsHeights
                                 ? std::move(heights[static_cast<size_t>(code - kFirstHeightLayer)])
                                 : DecodeLayer(state, messages, code, decode);
        if (decoded) {
            term.layers[code] =
                GridValues::OfPicture(decoded->picture, decoded->siteLon, decoded->siteLat);
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
            for (const int code : layerCodes) {
                Composite composite = mosaic.Product(code, method);
                if (composite.presentCount() > 0) {
                    term.layers[code] = std::move(composite.values);
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
