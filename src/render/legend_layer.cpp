#include "render/legend_layer.h"

#include <string>

#include "render/cell_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {
// The longest labels ("Осадки умеренные", "шквал  умеренный") are wider than
// the 100-pixel legend in the desktop's 8-point sans. The condensed cut of
// the same family at 7.5 points fits every label of the three tables with a
// pixel to spare before the box's rim, and stays as legible on the screen.
constexpr const char* kLabelFamily = "DejaVu Sans Condensed";
constexpr double kLabelPoints = 7.5;
}  // namespace

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
    // The canvas may go on to draw other texts in its own font.
    const std::string family = canvas.state().fontFamily;
    const double points = canvas.state().fontPointSize;
    canvas.setFontFamily(kLabelFamily);
    canvas.setFontSize(kLabelPoints);
    for (int k = kLegendBoxes; k >= 1; --k) {
        canvas.textOut(x, boxTop(k) + 3, std::string(LegendLabel(layerCode, k)));
    }
    canvas.setFontFamily(family);
    canvas.setFontSize(points);
}

}  // namespace kalvera
