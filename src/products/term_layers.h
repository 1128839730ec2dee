#pragma once
// The layers of one term that the derived products, a section and a point
// history read: reflectivity 1..10, echo tops and phenomena, each decoded
// into a cleared grid exactly as a picture of that layer alone is.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "products/derived_products.h"

namespace kalvera {

// Decodes the message at an offset of state.basePath (loadPicture's contract).
using LayerDecoder = std::function<bool(int32_t, RadarPicture&, DisplayState&)>;
// Offset of the term's message of a layer; -1 when the term has none.
using LayerOffsets = std::function<int32_t(int layerCode)>;

// The loader the program uses.
bool DecodeArchiveMessage(int32_t offset, RadarPicture& picture, DisplayState& state);

struct DecodedLayer {
    RadarPicture picture;
    float siteLat = 0.0f;  // the site the message names
    float siteLon = 0.0f;
};

struct TermLayers {
    // Layers 1..10, then echo tops and phenomena; null where the term lacks
    // one or its message does not decode.
    static constexpr int kSlots = kHeightLayers + 2;
    std::array<std::unique_ptr<DecodedLayer>, kSlots> grids;
    // The site a derived picture is placed at: that of the last height layer
    // decoded, as the state holds it once they are all loaded.
    float siteLat = 0.0f;
    float siteLon = 0.0f;

    // Slot of a layer code, -1 for codes not kept here.
    static int SlotOf(int layerCode);
    const DecodedLayer* layer(int layerCode) const;
    HeightLayers heights() const;
    bool hasHeights() const;
};

// Decodes each listed layer of state.termText, with state.layerCode set to
// it while it decodes; `state` keeps its layer code and otherwise changes as
// after any decode (site, and the view centre when it asks for one). False
// when none of the layers decoded.
bool LoadTermLayers(DisplayState& state, const std::vector<int>& layerCodes,
                    const LayerOffsets& offsets, TermLayers& out,
                    const LayerDecoder& decode = DecodeArchiveMessage);

// The index file's offsets of state.termText, one lookup per layer.
LayerOffsets IndexOffsets(const DisplayState& state);

// The value a reading of one layer's picture gives at a point: its cell
// there, kOutsideGrid outside the grid, empty when the term lacks the layer.
std::optional<int32_t> LayerValueAt(const TermLayers& term, int layerCode, float lat, float lon);

// Decodes the picture of state.layerCode into `picture`: one message for an
// archive layer, layers 1..10 and their product for a derived code. Sets
// state.messageOffset (for a derived code, the first height layer's; -1 when
// there is none). False when nothing decoded.
bool LoadLayerPicture(DisplayState& state, RadarPicture& picture,
                      const LayerDecoder& decode = DecodeArchiveMessage);

}  // namespace kalvera
