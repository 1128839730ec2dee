#include "mosaic/mosaic_term.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <optional>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "products/derived_products.h"
#include "products/term_layers.h"

namespace kalvera {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

DisplayState StateOf(const std::string& dataRoot, const std::string& siteCode,
                     const std::string& dayName, const std::string& termText) {
    const DayArchive day = DayArchive::Of(dataRoot, siteCode, dayName);
    DisplayState state;
    state.siteCode = siteCode;
    state.dayName = dayName;
    state.termText = termText;
    state.indexPath = day.indexPath;
    state.basePath = day.basePath;
    state.recentre = 1;  // the decoders must not move any view
    return state;
}

}  // namespace

std::vector<int> SourceLayersOf(int layerCode) {
    return LayersToDecode({layerCode});
}

namespace {

// MatchSiteTerm over the term lists of a site's days, each read when first needed.
bool MatchTerm(const std::string& dayName, const std::string& termText, int toleranceMinutes,
               const std::function<std::vector<std::string>(const std::string&)>& termsOf,
               std::string& matchedDay, std::string& matchedTerm) {
    const int target = TermMinuteOfDay(termText);
    if (target < 0) return false;
    const int tolerance = std::max(0, toleranceMinutes);
    int best = tolerance + 1;
    for (const int shift : {-1, 0, 1}) {
        // Only a tolerance that reaches over midnight looks at the next day.
        if (shift < 0 && target - tolerance >= 0) continue;
        if (shift > 0 && target + tolerance < kMinutesPerDay) continue;
        const std::string day = shift == 0 ? dayName : ShiftedDayName(dayName, shift);
        if (day.empty()) continue;
        for (const std::string& term : termsOf(day)) {
            const int minute = TermMinuteOfDay(term);
            if (minute < 0) continue;
            const int distance = std::abs(minute + shift * kMinutesPerDay - target);
            // Days are searched from the earliest, terms ascend: a strict
            // improvement keeps the earlier of two equal ones.
            if (distance < best) {
                best = distance;
                matchedDay = day;
                matchedTerm = term;
            }
        }
    }
    return best <= tolerance;
}

}  // namespace

bool MatchSiteTerm(const std::string& dataRoot, const std::string& siteCode,
                   const std::string& dayName, const std::string& termText, int toleranceMinutes,
                   std::string& matchedDay, std::string& matchedTerm) {
    return MatchTerm(
        dayName, termText, toleranceMinutes,
        [&](const std::string& day) {
            std::vector<std::string> terms;
            LoadTermList(DayArchive::Of(dataRoot, siteCode, day).indexPath, terms);
            return terms;
        },
        matchedDay, matchedTerm);
}

bool MosaicLoader::SitePosition(const std::string& dataRoot, const std::string& siteCode,
                                const std::string& dayName, MosaicSite& site) {
    if (const auto known = positions_.find(siteCode); known != positions_.end()) {
        site = known->second;
        return true;
    }
    // The asked day first, then the newest day the site has.
    std::vector<std::string> days = {dayName};
    DisplayState latest = StateOf(dataRoot, siteCode, dayName, "");
    if (FindLatestDay(latest, dataRoot) && latest.dayName != dayName) {
        days.push_back(latest.dayName);
    }
    for (const std::string& day : days) {
        std::vector<std::string> terms;
        LoadTermList(DayArchive::Of(dataRoot, siteCode, day).indexPath, terms);
        for (auto term = terms.rbegin(); term != terms.rend(); ++term) {
            DisplayState state = StateOf(dataRoot, siteCode, day, *term);
            std::vector<int> layers;
            if (LoadLayerList(state.indexPath, *term, layers) <= 0) continue;
            for (const int code : layers) {
                RadarPicture picture;
                state.layerCode = code;
                if (!LoadLayerPicture(state, picture, decode_)) continue;
                site = {siteCode, state.siteLat, state.siteLon};
                positions_[siteCode] = site;
                return true;
            }
            break;  // one term is enough to tell a site that decodes
        }
    }
    return false;
}

MosaicTerm MosaicLoader::Load(const MosaicRequest& request, const std::vector<int>& layerCodes) {
    const std::vector<int> codes = LayersToDecode(layerCodes);
    MosaicTerm term;
    std::vector<std::map<int, std::shared_ptr<const RadarPicture>>> decoded;
    for (const std::string& code : request.siteCodes) {
        MosaicSiteTerm site;
        site.code = code;
        std::map<int, std::shared_ptr<const RadarPicture>> pictures;
        // Each of the site's day indexes is read once for the term: the same
        // pass gives the terms to match and the matched term's offsets.
        std::map<std::string, DayIndex> indexes;
        const auto indexOf = [&](const std::string& day) -> const DayIndex& {
            auto [at, added] = indexes.try_emplace(day);
            if (added) at->second.Read(DayArchive::Of(request.dataRoot, code, day).indexPath);
            return at->second;
        };
        const auto termsOf = [&](const std::string& day) {
            std::vector<std::string> terms;
            for (const auto& entry : indexOf(day).terms) terms.push_back(entry.first);
            return terms;
        };
        if (!MatchTerm(request.dayName, request.termText, request.toleranceMinutes, termsOf,
                       site.dayName, site.termText)) {
            site.why = "no term within " + std::to_string(request.toleranceMinutes) + " min of " +
                       request.termText;
        } else {
            DisplayState state = StateOf(request.dataRoot, code, site.dayName, site.termText);
            TermLayers layers;
            if (LoadTermLayers(state, codes, indexOf(site.dayName).OffsetsOf(site.termText), layers,
                               decode_)) {
                // Where the site stands, as its last decoded message says.
                positions_[code] = {code, state.siteLat, state.siteLon};
            }
            for (auto& slot : layers.grids) {
                if (!slot) continue;
                const int layer =
                    KeptLayerCodes()[static_cast<size_t>(&slot - layers.grids.data())];
                std::shared_ptr<const DecodedLayer> owner = std::move(slot);
                pictures[layer] = std::shared_ptr<const RadarPicture>(owner, &owner->picture);
            }
            for (auto& [layer, slot] : layers.others) {
                std::shared_ptr<const DecodedLayer> owner = std::move(slot);
                pictures[layer] = std::shared_ptr<const RadarPicture>(owner, &owner->picture);
            }
            // A column without one of its layers would understate the
            // products made from it, as it would for the site alone. Every
            // failing layer counts, whatever order the layers were asked in.
            if (!layers.columnWhole()) {
                pictures.clear();
                site.why =
                    BrokenLayersText(layers.brokenHeightLayers) + " of term " + site.termText +
                    (layers.brokenHeightLayers.size() == 1 ? " does" : " do") + " not decode";
            } else if (pictures.empty()) {
                site.why = "no asked layer of term " + site.termText + " decodes";
            }
            site.present = !pictures.empty();
        }
        term.sites.push_back(site);
        decoded.push_back(std::move(pictures));
    }

    std::vector<MosaicSite> placed;
    for (MosaicSiteTerm& site : term.sites) {
        MosaicSite position;
        if (!SitePosition(request.dataRoot, site.code, request.dayName, position)) {
            if (site.why.empty()) site.why = "no message of the site decodes";
            continue;
        }
        if (!IsPlaceableSite(position)) {
            site.present = false;
            site.why = "its position cannot be placed on the composite";
            continue;
        }
        site.layoutIndex = static_cast<int>(placed.size());
        placed.push_back(position);
    }
    if (!layout_ || !layout_->Holds(placed)) {
        layout_ = std::make_shared<const MosaicLayout>(MosaicLayout::Of(placed, cellsPerSiteCell_));
    }
    term.layout = layout_;
    if (layout_->sites().size() != placed.size()) {
        // Too many sites, or spread too wide for one grid: none is placed.
        for (MosaicSiteTerm& site : term.sites) {
            if (site.layoutIndex < 0 ||
                static_cast<size_t>(site.layoutIndex) < layout_->sites().size()) {
                continue;
            }
            site.layoutIndex = -1;
            site.present = false;
            site.why = "the sites' squares together are too large for one grid";
        }
    }
    term.pictures_.resize(layout_->sites().size());
    for (size_t s = 0; s < term.sites.size(); ++s) {
        const int index = term.sites[s].layoutIndex;
        if (index < 0 || static_cast<size_t>(index) >= term.pictures_.size()) continue;
        term.pictures_[static_cast<size_t>(index)] = std::move(decoded[s]);
    }
    return term;
}

Composite MosaicTerm::ComposeLayer(int layerCode, CompositeMethod method) const {
    std::vector<const RadarPicture*> pictures;
    for (const auto& site : pictures_) {
        const auto found = site.find(layerCode);
        pictures.push_back(found == site.end() ? nullptr : found->second.get());
    }
    return Compose(*layout, layerCode, method, pictures);
}

Composite MosaicTerm::Product(int layerCode, CompositeMethod method) const {
    return std::move(Products({layerCode}, method).front());
}

std::vector<Composite> MosaicTerm::Products(const std::vector<int>& layerCodes,
                                            CompositeMethod method) const {
    const bool column = std::any_of(layerCodes.begin(), layerCodes.end(), IsDerivedLayer);
    // Layers 1..10 as composed for the first product that needed them.
    std::array<std::optional<Composite>, kHeightLayers> heights;
    const auto height = [&](int code) -> const Composite& {
        auto& slot = heights[static_cast<size_t>(code - kFirstHeightLayer)];
        if (!slot) slot = ComposeLayer(code, method);
        return *slot;
    };
    std::vector<Composite> products;
    products.reserve(layerCodes.size());
    for (const int code : layerCodes) {
        if (!IsDerivedLayer(code)) {
            const bool kept = column && code >= kFirstHeightLayer && code <= kLastHeightLayer;
            products.push_back(kept ? height(code) : ComposeLayer(code, method));
            continue;
        }
        std::array<const Composite*, kHeightLayers> pointers{};
        for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) {
            const Composite& layer = height(n);
            if (layer.presentCount() > 0)
                pointers[static_cast<size_t>(n - kFirstHeightLayer)] = &layer;
        }
        Composite derived = DeriveComposite(code, pointers);
        if (derived.values.values.empty()) {
            // No site has any of the layers: the whole grid is nodata.
            derived = height(kFirstHeightLayer);
            derived.layerCode = code;
        }
        products.push_back(std::move(derived));
    }
    return products;
}

std::vector<std::string> MosaicTerm::Present() const {
    std::vector<std::string> codes;
    for (const MosaicSiteTerm& site : sites) {
        if (site.present) codes.push_back(site.code);
    }
    return codes;
}

std::vector<std::string> MosaicTerm::Missing() const {
    std::vector<std::string> codes;
    for (const MosaicSiteTerm& site : sites) {
        if (!site.present) codes.push_back(site.code);
    }
    return codes;
}

}  // namespace kalvera
