#pragma once
// Texts of the legend boxes (box 1 at the bottom to 19 at the top), of the
// header titles and of the layer title.

#include <array>
#include <string>
#include <string_view>

namespace kalvera {

using LegendLabels = std::array<std::string_view, 19>;

const LegendLabels& WeatherLabels();
const LegendLabels& HeightLabels();
const LegendLabels& ReflectivityLabels();
// The table that labels the legend of a layer.
const LegendLabels& LabelsForLayer(int layerCode);
// Text of legend box `box` (1..19) of a layer in the chosen language; empty
// outside 1..19. The tables hold the Russian texts.
std::string LegendLabel(int layerCode, int box);

const std::array<std::string_view, 7>& HeaderTitles();

// "Погода", "Верх.граница" or "Отр. N - N+1 км.".
std::string LayerTitle(int layerCode);

// The layer as the layer list and the layer label name it: its code, or
// "Макс" and "VIL" for the derived products.
std::string LayerShortName(int layerCode);

}  // namespace kalvera
