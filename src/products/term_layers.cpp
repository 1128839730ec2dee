#include "products/term_layers.h"

#include <algorithm>
#include <initializer_list>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "decode/picture_loader.h"

namespace kalvera {

namespace {

std::vector<int> CodesFrom(std::initializer_list<int> after) {
    std::vector<int> codes;
    for (int code = kFirstHeightLayer; code <= kLastHeightLayer; ++code) codes.push_back(code);
    codes.insert(codes.end(), after);
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
    if (layerCode == kLayerEchoTops) return kHeightLayers;
    if (layerCode == kLayerWeather) return kHeightLayers + 1;
    return -1;
}

const DecodedLayer* TermLayers::layer(int layerCode) const {
    const int slot = SlotOf(layerCode);
    if (slot >= 0) return grids[static_cast<size_t>(slot)].get();
    const auto other = others.find(layerCode);
    return other == others.end() ? nullptr : other->second.get();
}

std::string BrokenLayersText(const std::vector<int>& layers) {
    std::string text = layers.size() == 1 ? "layer " : "layers ";
    for (size_t n = 0; n < layers.size(); ++n) {
        text += (n == 0 ? "" : ", ") + std::to_string(layers[n]);
    }
    return text;
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

const std::vector<int>& HeightLayerCodes() {
    static const std::vector<int> codes = CodesFrom({});
    return codes;
}

const std::vector<int>& ColumnAndTopsCodes() {
    static const std::vector<int> codes = CodesFrom({kLayerEchoTops});
    return codes;
}

const std::vector<int>& KeptLayerCodes() {
    static const std::vector<int> codes = CodesFrom({kLayerEchoTops, kLayerWeather});
    return codes;
}

std::vector<int> LayersToDecode(const std::vector<int>& productCodes) {
    std::vector<int> codes;
    const auto add = [&codes](int code) {
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    };
    for (const int code : productCodes) {
        if (IsDerivedLayer(code)) {
            for (const int height : HeightLayerCodes()) add(height);
        } else {
            add(code);
        }
    }
    return codes;
}

void KeepFirstOffset(TermOffsets& offsets, int layerCode, int32_t offset) {
    const int slot = TermLayers::SlotOf(layerCode);
    if (slot >= 0 && offsets[static_cast<size_t>(slot)] < 0) {
        offsets[static_cast<size_t>(slot)] = offset;
    }
}

TermOffsets ReadTermOffsets(const std::string& indexPath, const std::string& termText) {
    TermOffsets offsets;
    offsets.fill(-1);
    int hour = 0, minute = 0;
    if (!SplitTermText(termText, hour, minute)) return offsets;
    // A read that fails part way keeps what it found before, as a lookup does.
    ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        if (record.hour == hour && record.minute == minute) {
            KeepFirstOffset(offsets, record.layerCode, record.offset);
        }
        return true;
    });
    return offsets;
}

int32_t OffsetOf(const TermOffsets& offsets, int layerCode) {
    const int slot = TermLayers::SlotOf(layerCode);
    return slot < 0 ? -1 : offsets[static_cast<size_t>(slot)];
}

bool LoadTermLayers(DisplayState& state, const std::vector<int>& layerCodes,
                    const LayerOffsets& offsets, TermLayers& out, const LayerDecoder& decode) {
    for (auto& slot : out.grids) slot.reset();
    out.others.clear();
    out.brokenHeightLayers.clear();
    const int32_t shownLayer = state.layerCode;
    bool any = false;
    for (const int code : layerCodes) {
        const int slot = TermLayers::SlotOf(code);
        if (out.layer(code) != nullptr) continue;  // listed twice
        const int32_t offset = offsets(code);
        if (offset < 0) continue;
        auto decoded = std::make_unique<DecodedLayer>();
        // The decoders read the layer code to know the product's value coding.
        state.layerCode = code;
        const bool loaded = decode(offset, decoded->picture, state);
        state.layerCode = shownLayer;
        const bool height = slot >= 0 && slot < kHeightLayers;
        if (!loaded) {
            if (height) out.brokenHeightLayers.push_back(code);
            continue;
        }
        decoded->grid = RadarGrid::AroundSite(state.siteLon, state.siteLat);
        if (height) {
            out.siteLat = state.siteLat;
            out.siteLon = state.siteLon;
        }
        if (slot >= 0) {
            out.grids[static_cast<size_t>(slot)] = std::move(decoded);
        } else {
            out.others[code] = std::move(decoded);
        }
        any = true;
    }
    std::sort(out.brokenHeightLayers.begin(), out.brokenHeightLayers.end());
    out.brokenHeightLayers.erase(
        std::unique(out.brokenHeightLayers.begin(), out.brokenHeightLayers.end()),
        out.brokenHeightLayers.end());
    return any;
}

LayerOffsets IndexOffsets(const DisplayState& state) {
    return [kept = ReadTermOffsets(state.indexPath, state.termText), indexPath = state.indexPath,
            term = state.termText](int layerCode) {
        return TermLayers::SlotOf(layerCode) >= 0 ? OffsetOf(kept, layerCode)
                                                  : FindMessageOffset(indexPath, term, layerCode);
    };
}

std::optional<int32_t> LayerValueAt(const TermLayers& term, int layerCode, float lat, float lon) {
    const DecodedLayer* decoded = term.layer(layerCode);
    if (!decoded) return std::nullopt;
    const GridCell cell = decoded->grid.CellAt(lat, lon);
    return cell.valid() ? decoded->picture.values[decoded->grid.IndexOf(cell)] : kOutsideGrid;
}

void ColumnAndTopsAt(const TermLayers& term, float lat, float lon, CellColumn& layers,
                     std::optional<int32_t>& top) {
    for (int code = kFirstHeightLayer; code <= kLastHeightLayer; ++code) {
        layers[static_cast<size_t>(code - kFirstHeightLayer)] = LayerValueAt(term, code, lat, lon);
    }
    top = LayerValueAt(term, kLayerEchoTops, lat, lon);
}

bool LoadLayerPicture(DisplayState& state, RadarPicture& picture, const LayerDecoder& decode) {
    if (!IsDerivedLayer(state.layerCode)) {
        state.messageOffset = FindMessageOffset(state.indexPath, state.termText, state.layerCode);
        return decode(state.messageOffset, picture, state);
    }
    const TermOffsets offsets = ReadTermOffsets(state.indexPath, state.termText);
    const LayerOffsets lookup = [&offsets](int code) { return OffsetOf(offsets, code); };
    TermLayers term;
    const bool loaded = LoadTermLayers(state, HeightLayerCodes(), lookup, term, decode);
    state.messageOffset = -1;
    if (!loaded || !term.columnWhole()) return false;
    for (int code = kFirstHeightLayer; code <= kLastHeightLayer && state.messageOffset < 0;
         ++code) {
        if (term.layer(code)) state.messageOffset = OffsetOf(offsets, code);
    }
    return DeriveProduct(state.layerCode, term.heights(), picture);
}

std::vector<int> BrokenHeightLayers(const DisplayState& state, const LayerDecoder& decode) {
    DisplayState scratch = state;
    const TermOffsets offsets = ReadTermOffsets(state.indexPath, state.termText);
    TermLayers term;
    const LayerOffsets lookup = [&offsets](int code) { return OffsetOf(offsets, code); };
    LoadTermLayers(scratch, HeightLayerCodes(), lookup, term, decode);
    return term.brokenHeightLayers;
}

bool DayIndex::Read(const std::string& indexPath) {
    terms.clear();
    // Records of one term follow each other: the last term's map is at hand.
    std::map<int, int32_t>* current = nullptr;
    int currentKey = -1;
    const bool read = ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        const int key = record.hour << 8 | record.minute;
        if (key != currentKey) {
            current = &terms[TermTextOf(record.hour, record.minute)];
            currentKey = key;
        }
        current->try_emplace(record.layerCode, record.offset);
        return true;
    });
    if (!read) terms.clear();
    return read;
}

LayerOffsets DayIndex::OffsetsOf(const std::string& termText) const {
    const auto term = terms.find(termText);
    if (term == terms.end()) return [](int) { return -1; };
    return [messages = &term->second](int code) {
        const auto found = messages->find(code);
        return found == messages->end() ? int32_t{-1} : found->second;
    };
}

std::string WhyNotLoaded(const DisplayState& state, const LayerDecoder& decode) {
    std::vector<std::string> terms;
    if (LoadTermList(state.indexPath, terms) == 0) {
        return "cannot read the index file " + state.indexPath;
    }
    const std::string term = state.termText;
    if (IsDerivedLayer(state.layerCode)) {
        if (const std::vector<int> broken = BrokenHeightLayers(state, decode); !broken.empty()) {
            return BrokenLayersText(broken) + " of term " + term +
                   (broken.size() == 1 ? " does" : " do") + " not decode from " + state.basePath +
                   "; " + LayerName(state.layerCode) + " is not made from the other layers";
        }
        return "no layer 1..10 of term " + term + " decodes from " + state.basePath;
    }
    const std::string layer = LayerName(state.layerCode);
    if (FindMessageOffset(state.indexPath, term, state.layerCode) < 0) {
        return "no message for term " + term + ", layer " + layer + " in " + state.indexPath;
    }
    return "the message for term " + term + ", layer " + layer + " in " + state.basePath +
           " does not decode";
}

}  // namespace kalvera
