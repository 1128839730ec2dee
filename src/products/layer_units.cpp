#include "products/layer_units.h"

#include "common/domain_constants.h"
#include "products/derived_products.h"

namespace kalvera {

int RawStepsPerUnit(int layerCode) {
    if (layerCode == kLayerEchoTops || layerCode == kLayerWeather) return 1;
    if (layerCode == kLayerVil) return 10;
    return 2;
}

double PhysicalValue(int layerCode, int32_t value) {
    if (value == kNoDataCell) return kNoDataValue;
    return value / static_cast<double>(RawStepsPerUnit(layerCode));
}

std::string UnitsOf(int layerCode) {
    if (layerCode == kLayerEchoTops) return "m";
    if (layerCode == kLayerWeather) return "code";
    if (layerCode == kLayerVil) return "kg/m2";
    return "dBZ";
}

LayerKind LayerKindOf(int layerCode) {
    if (layerCode == kLayerEchoTops) return LayerKind::EchoTops;
    if (layerCode == kLayerWeather) return LayerKind::Phenomena;
    if (layerCode == kLayerVil) return LayerKind::Vil;
    return LayerKind::Reflectivity;
}

const ColourTable* TableForLayer(const ColourChoice& choice, int layerCode) {
    return choice.tables[static_cast<size_t>(LayerKindOf(layerCode))].get();
}

}  // namespace kalvera
