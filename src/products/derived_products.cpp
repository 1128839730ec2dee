#include "products/derived_products.h"

#include <algorithm>
#include <cmath>

#include "geo/radar_grid.h"

namespace kalvera {

namespace {

// Liquid water of one 1-km slab for each value up to the cap: the sum is the
// same whether it is taken for one cell or for a whole grid.
const std::array<double, kVilCapValue + 1>& SlabLiquid() {
    static const std::array<double, kVilCapValue + 1> table = [] {
        std::array<double, kVilCapValue + 1> t{};
        for (int32_t value = 1; value <= kVilCapValue; ++value) {
            const double dbz = value / 2.0;
            t[value] = 3.44e-6 * std::pow(std::pow(10.0, dbz / 10.0), 4.0 / 7.0) * 1000.0;
        }
        return t;
    }();
    return table;
}

}  // namespace

std::optional<int32_t> ColumnMaximum(const CellColumn& column) {
    std::optional<int32_t> highest;
    for (const std::optional<int32_t>& value : column) {
        if (value && (!highest || *value > *highest)) highest = *value;
    }
    return highest;
}

double VilOf(const CellColumn& column) {
    const auto& slab = SlabLiquid();
    double sum = 0.0;
    for (const std::optional<int32_t>& value : column) {
        if (value && *value > 0) sum += slab[std::min(*value, kVilCapValue)];
    }
    return sum;
}

int32_t VilTenths(double kgPerM2) {
    if (!(kgPerM2 > 0.0)) return 0;
    return static_cast<int32_t>(std::lround(std::min(kgPerM2, 1e8) * 10.0));
}

std::string VilText(int32_t tenths) {
    if (tenths == kOutsideGrid) return std::to_string(kOutsideGrid);
    const int64_t magnitude = tenths < 0 ? -static_cast<int64_t>(tenths) : tenths;
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    text += '.';
    text += static_cast<char>('0' + magnitude % 10);
    return text;
}

std::optional<int32_t> DerivedValue(int productCode, const CellColumn& column) {
    if (productCode == kLayerColumnMax) return ColumnMaximum(column);
    if (std::none_of(column.begin(), column.end(), [](const auto& v) { return v.has_value(); })) {
        return std::nullopt;
    }
    return VilTenths(VilOf(column));
}

bool DeriveProduct(int productCode, const HeightLayers& layers, RadarPicture& out) {
    if (std::none_of(layers.begin(), layers.end(), [](const RadarPicture* p) { return p; })) {
        return false;
    }
    CellColumn column;
    for (int cell = 0; cell < kGridCells; ++cell) {
        for (int n = 0; n < kHeightLayers; ++n) {
            const RadarPicture* layer = layers[static_cast<size_t>(n)];
            // A layer without data at the cell (an imported source's gap)
            // counts as absent there; with no layer left the cell has none.
            const int32_t v = layer ? layer->values[static_cast<size_t>(cell)] : kOutsideGrid;
            column[static_cast<size_t>(n)] =
                v != kOutsideGrid ? std::optional<int32_t>(v) : std::nullopt;
        }
        const std::optional<int32_t> derived = DerivedValue(productCode, column);
        out.values[static_cast<size_t>(cell)] = derived ? *derived : kOutsideGrid;
    }
    return true;
}

bool DerivedLayerNamed(const std::string& name, int& layerCode) {
    if (name != "max" && name != "vil") return false;
    layerCode = name == "max" ? kLayerColumnMax : kLayerVil;
    return true;
}

std::string LayerName(int layerCode) {
    if (layerCode == kLayerColumnMax) return "max";
    if (layerCode == kLayerVil) return "vil";
    return std::to_string(layerCode);
}

}  // namespace kalvera
