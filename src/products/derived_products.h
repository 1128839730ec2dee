#pragma once
// Products derived from a term's ten reflectivity layers (codes 1..10, each
// the 1-km slab from N to N + 1 km): the column maximum and the vertically
// integrated liquid (VIL). They are shown and asked for like layers, under
// codes that no index record can hold.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/domain_constants.h"
#include "common/radar_picture.h"

namespace kalvera {

// An index record stores its layer code in one byte; these lie beyond it.
constexpr int kLayerColumnMax = 256;
constexpr int kLayerVil = 257;

inline bool IsDerivedLayer(int layerCode) {
    return layerCode == kLayerColumnMax || layerCode == kLayerVil;
}

// The names the derived products go by in options, res/publish.txt and file
// metadata: "max" and "vil". False for any other text.
bool DerivedLayerNamed(const std::string& name, int& layerCode);
// A layer by that name: "max", "vil" or the decimal code.
std::string LayerName(int layerCode);

// Reflectivity values count half decibels; VIL takes no echo above 56 dBZ,
// where hail rather than liquid water dominates the return.
constexpr int32_t kVilCapValue = 112;

// One cell's values on layers 1..10 (index N - 1); empty where the term lacks
// the layer.
using CellColumn = std::array<std::optional<int32_t>, kHeightLayers>;

// The largest value present; empty when no layer is.
std::optional<int32_t> ColumnMaximum(const CellColumn& column);

// VIL in kg/m2: over the layers whose value is above 0, with dBZ = value / 2
// capped at 56, the sum of 3.44e-6 * (10^(dBZ/10))^(4/7) * 1000 m. A missing
// layer counts as empty.
double VilOf(const CellColumn& column);

// VIL is kept in grids, the readout and the filter as tenths of kg/m2.
int32_t VilTenths(double kgPerM2);
// "12.3" for 123 tenths; the marker of a point outside the grid stays as it is.
std::string VilText(int32_t tenths);

// The term's layers 1..10 (index N - 1); null where the term lacks one.
using HeightLayers = std::array<const RadarPicture*, kHeightLayers>;

// The value of a derived product (kLayerColumnMax, or kLayerVil in tenths)
// for one cell's column; empty when no layer is present.
std::optional<int32_t> DerivedValue(int productCode, const CellColumn& column);

// Fills every cell with the product. False, with `out` untouched, when the
// term has none of the layers.
bool DeriveProduct(int productCode, const HeightLayers& layers, RadarPicture& out);

}  // namespace kalvera
