#include "output/layer_quantity.h"

#include <algorithm>

#include "products/derived_products.h"
#include "products/vil_legend.h"
#include "render/cell_layer.h"

namespace kalvera {

int LegendClassOf(int layerCode, int32_t value) {
    if (value <= 0 || value == kNoDataCell) return 0;
    if (layerCode == kLayerWeather) return value <= kLegendBoxes ? value : 0;
    if (layerCode == kLayerVil) return VilClass(value);
    const int32_t step = layerCode == kLayerEchoTops ? 1000 : 10;
    return std::min<int32_t>(value / step + 1, kLegendBoxes);
}

ClassBounds ClassBoundsOf(int layerCode, int k) {
    k = std::clamp(k, 1, kLegendBoxes);
    // Stored values are whole numbers, so a class runs from the first value
    // that reaches it to the one before the next class's first.
    const auto firstOf = [layerCode](int cls) -> int32_t {
        if (layerCode == kLayerWeather) return cls;
        if (layerCode == kLayerVil)
            return kVilClassFloorsKgPerM2[static_cast<size_t>(cls - 1)] * 10;
        return (cls - 1) * (layerCode == kLayerEchoTops ? 1000 : 10);
    };
    ClassBounds bounds;
    // Cells of 0 or below belong to no class.
    bounds.min = PhysicalValue(layerCode, std::max<int32_t>(1, firstOf(k)));
    if (k < kLegendBoxes) bounds.max = PhysicalValue(layerCode, firstOf(k + 1) - 1);
    return bounds;
}

}  // namespace kalvera
