#include "render/legend_layer.h"

#include <string>

#include "render/cell_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode) {
    const auto boxTop = [&](int k) { return top + height - (k * height) / kLegendBoxes; };
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(1);
    for (int k = kLegendBoxes; k >= 1; --k) {
        canvas.setBrushColor(palette[static_cast<size_t>(k)]);
        canvas.rectangle(left, boxTop(k), left + width, boxTop(k - 1));
    }
    canvas.setBrushColor(kWhite);
    canvas.setBrushStyle(BrushStyle::Clear);
    // The weather texts are long; the number ranges sit a little further in.
    const int x = left + (layerCode == kLayerWeather ? 2 : 10);
    for (int k = kLegendBoxes; k >= 1; --k) {
        canvas.textOut(x, boxTop(k) + 3, std::string(LegendLabel(layerCode, k)));
    }
}

}  // namespace kalvera
