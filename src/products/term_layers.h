#pragma once
// The layers of one term that the derived products, a section and a point
// history read: reflectivity 1..10, echo tops and phenomena, each decoded
// into a cleared grid exactly as a picture of that layer alone is.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "geo/radar_grid.h"
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
    RadarGrid grid;  // around the site the message names
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
    // Layers a term has besides those (codes 0, 11..20, 23, 24).
    std::map<int, std::unique_ptr<DecodedLayer>> others;
    // Every one of layers 1..10 that the index lists but whose message does
    // not decode, ascending; empty when there is none. A derived product is
    // not made from the rest: it would understate the column without a word.
    std::vector<int> brokenHeightLayers;

    // Slot of a layer code, -1 for codes not kept here.
    static int SlotOf(int layerCode);
    const DecodedLayer* layer(int layerCode) const;
    HeightLayers heights() const;
    bool hasHeights() const;
    // Whether a column product may be made: no listed height layer failed.
    bool columnWhole() const { return brokenHeightLayers.empty(); }
};

// "layer 5" or "layers 5, 7": the broken layers as a reason names them.
std::string BrokenLayersText(const std::vector<int>& layers);

// The layer codes read together: layers 1..10; those and the echo tops (a
// section); those and the phenomena too, every layer TermLayers keeps.
const std::vector<int>& HeightLayerCodes();
const std::vector<int>& ColumnAndTopsCodes();
const std::vector<int>& KeptLayerCodes();

// The layers to decode for products of these codes: each archive layer, and
// layers 1..10 for a derived one; each once, in the order first asked.
std::vector<int> LayersToDecode(const std::vector<int>& productCodes);

// Offsets of a term's messages of the kept layers, by slot; -1 where the
// term has none.
using TermOffsets = std::array<int32_t, TermLayers::kSlots>;

// Keeps the offset of a record unless the term's layer has one already, so
// that the first record in file order counts, as FindMessageOffset finds it.
// Codes not kept are passed over.
void KeepFirstOffset(TermOffsets& offsets, int layerCode, int32_t offset);
// The offsets of termText from one pass over the index; all -1 when the
// index cannot be read.
TermOffsets ReadTermOffsets(const std::string& indexPath, const std::string& termText);
// A layer's offset among them; -1 for a code not kept.
int32_t OffsetOf(const TermOffsets& offsets, int layerCode);

// The one place a term's layers are decoded. Decodes each listed layer of
// state.termText, with state.layerCode set to it while it decodes; `state`
// keeps its layer code and otherwise changes as after any decode (site, and
// the view centre when it asks for one). False when none of the layers
// decoded. Notes every broken height layer, whatever the order of the codes.
bool LoadTermLayers(DisplayState& state, const std::vector<int>& layerCodes,
                    const LayerOffsets& offsets, TermLayers& out,
                    const LayerDecoder& decode = DecodeArchiveMessage);

// The index file's offsets of state.termText: the kept layers' from one pass
// over the index, made now; any other code's looked up when asked for.
LayerOffsets IndexOffsets(const DisplayState& state);

// The value a reading of one layer's picture gives at a point: its cell
// there, kOutsideGrid outside the grid, empty when the term lacks the layer.
std::optional<int32_t> LayerValueAt(const TermLayers& term, int layerCode, float lat, float lon);

// LayerValueAt of layers 1..10 (index N - 1) and of the echo tops.
void ColumnAndTopsAt(const TermLayers& term, float lat, float lon, CellColumn& layers,
                     std::optional<int32_t>& top);

// Decodes the picture of state.layerCode into `picture`: one message for an
// archive layer, layers 1..10 and their product for a derived code. Sets
// state.messageOffset (for a derived code, the first height layer's; -1 when
// there is none). False when nothing decoded, and for a derived code also
// when one of layers 1..10 is listed but does not decode.
bool LoadLayerPicture(DisplayState& state, RadarPicture& picture,
                      const LayerDecoder& decode = DecodeArchiveMessage);

// Why LoadLayerPicture found nothing for state.termText and state.layerCode,
// in the order the viewer would stumble on it: "cannot read the index file
// ...", "layer N of term ... does not decode ...", "no layer 1..10 of term
// ... decodes from ...", "no message for term ..., layer ... in ..." or "the
// message for ... does not decode".
std::string WhyNotLoaded(const DisplayState& state,
                         const LayerDecoder& decode = DecodeArchiveMessage);

// Layers 1..10 of state.termText that the index lists but that do not
// decode; empty when every listed one decodes. Decodes them all again, so it
// is for explaining a failure, not for every picture.
std::vector<int> BrokenHeightLayers(const DisplayState& state,
                                    const LayerDecoder& decode = DecodeArchiveMessage);

// A day's index read in one pass: each term's offset of the first record of
// every layer code, as FindMessageOffset finds it.
struct DayIndex {
    std::map<std::string, std::map<int, int32_t>> terms;  // "HH.MM" -> code -> offset

    // False (and nothing kept) when the index cannot be read.
    bool Read(const std::string& indexPath);
    // The term's offsets; -1 for a layer (or a term) it has none of.
    LayerOffsets OffsetsOf(const std::string& termText) const;
};

}  // namespace kalvera
