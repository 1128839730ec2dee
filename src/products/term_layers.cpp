#include "products/term_layers.h"

#include <algorithm>

#include "archive/day_archive.h"
#include "decode/picture_loader.h"
#include "geo/radar_grid.h"

namespace kalvera {

namespace {

constexpr int kEchoTopsCode = 21;
constexpr int kWeatherCode = 22;

std::vector<int> HeightCodes() {
    std::vector<int> codes;
    for (int code = kFirstHeightLayer; code <= kLastHeightLayer; ++code) codes.push_back(code);
    return codes;
}

}  // namespace

bool DecodeArchiveMessage(int32_t offset, RadarPicture& picture, DisplayState& state) {
    return loadPicture(offset, picture, state);
}

int TermLayers::SlotOf(int layerCode) {
    if (layerCode >= kFirstHeightLayer && layerCode <= kLastHeightLayer) {
        return layerCode - kFirstHeightLayer;
    }
    if (layerCode == kEchoTopsCode) return kHeightLayers;
    if (layerCode == kWeatherCode) return kHeightLayers + 1;
    return -1;
}

const DecodedLayer* TermLayers::layer(int layerCode) const {
    const int slot = SlotOf(layerCode);
    return slot < 0 ? nullptr : grids[static_cast<size_t>(slot)].get();
}

HeightLayers TermLayers::heights() const {
    HeightLayers layers{};
    for (int n = 0; n < kHeightLayers; ++n) {
        const DecodedLayer* decoded = grids[static_cast<size_t>(n)].get();
        layers[static_cast<size_t>(n)] = decoded ? &decoded->picture : nullptr;
    }
    return layers;
}

bool TermLayers::hasHeights() const {
    return std::any_of(grids.begin(), grids.begin() + kHeightLayers,
                       [](const auto& slot) { return slot != nullptr; });
}

bool LoadTermLayers(DisplayState& state, const std::vector<int>& layerCodes,
                    const LayerOffsets& offsets, TermLayers& out, const LayerDecoder& decode) {
    for (auto& slot : out.grids) slot.reset();
    const int32_t shownLayer = state.layerCode;
    bool any = false;
    for (const int code : layerCodes) {
        const int slot = TermLayers::SlotOf(code);
        const int32_t offset = slot < 0 ? -1 : offsets(code);
        if (offset < 0) continue;
        auto decoded = std::make_unique<DecodedLayer>();
        // The decoders read the layer code to know the product's value coding.
        state.layerCode = code;
        const bool loaded = decode(offset, decoded->picture, state);
        state.layerCode = shownLayer;
        if (!loaded) continue;
        decoded->siteLat = state.siteLat;
        decoded->siteLon = state.siteLon;
        if (slot < kHeightLayers) {
            out.siteLat = state.siteLat;
            out.siteLon = state.siteLon;
        }
        out.grids[static_cast<size_t>(slot)] = std::move(decoded);
        any = true;
    }
    return any;
}

LayerOffsets IndexOffsets(const DisplayState& state) {
    return [indexPath = state.indexPath, term = state.termText](int layerCode) {
        return FindMessageOffset(indexPath, term, layerCode);
    };
}

std::optional<int32_t> LayerValueAt(const TermLayers& term, int layerCode, float lat, float lon) {
    const DecodedLayer* decoded = term.layer(layerCode);
    if (!decoded) return std::nullopt;
    const RadarGrid grid = RadarGrid::AroundSite(decoded->siteLon, decoded->siteLat);
    const GridCell cell = grid.CellAt(lat, lon);
    return cell.valid() ? decoded->picture.values[grid.IndexOf(cell)] : kOutsideGrid;
}

bool LoadLayerPicture(DisplayState& state, RadarPicture& picture, const LayerDecoder& decode) {
    if (!IsDerivedLayer(state.layerCode)) {
        state.messageOffset = FindMessageOffset(state.indexPath, state.termText, state.layerCode);
        return decode(state.messageOffset, picture, state);
    }
    const LayerOffsets offsets = IndexOffsets(state);
    TermLayers term;
    const bool loaded = LoadTermLayers(state, HeightCodes(), offsets, term, decode);
    state.messageOffset = -1;
    if (!loaded) return false;
    for (int code = kFirstHeightLayer; code <= kLastHeightLayer && state.messageOffset < 0;
         ++code) {
        if (term.layer(code)) state.messageOffset = offsets(code);
    }
    return DeriveProduct(state.layerCode, term.heights(), picture);
}

}  // namespace kalvera
