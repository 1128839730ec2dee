#include "render/legend_layer.h"

#include <cmath>
#include <string>

#include "render/cell_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

namespace {
// The longest labels ("Осадки умеренные", "шквал  умеренный") are wider than
// the 100-pixel legend in the desktop's 8-point sans. The condensed cut of
// the same family at 7.5 points fits every label of the three tables with a
// pixel to spare before the box's rim. Unsmoothed, it needs whole-pixel
// glyphs, or the N and s of "Ns" touch and read as "№"; even so its round
// letters crowd, so the window, which exports nothing, smooths them.
constexpr const char* kLabelFamily = "DejaVu Sans Condensed";
constexpr double kLabelPoints = 7.5;

// sRGB channel (0..255) to linear light.
double Linear(uint32_t channel) {
    const double c = static_cast<double>(channel & 0xFFu) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

uint32_t LabelColourOn(uint32_t box) {
    const double luminance =
        0.2126 * Linear(box) + 0.7152 * Linear(box >> 8) + 0.0722 * Linear(box >> 16);
    // Contrast with white, 1.05 / (L + 0.05), beats contrast with black,
    // (L + 0.05) / 0.05, below L of about 0.18.
    return (luminance + 0.05) * (luminance + 0.05) < 1.05 * 0.05 ? kWhite : kBlack;
}

void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode, bool onScreen) {
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
    // The canvas may go on to draw other texts in its own font and colour.
    const CanvasState before = canvas.state();
    canvas.setGlyphRaster(onScreen ? GlyphRaster::Smooth : GlyphRaster::WholePixel);
    canvas.setFontFamily(kLabelFamily);
    canvas.setFontSize(kLabelPoints);
    for (int k = kLegendBoxes; k >= 1; --k) {
        canvas.setFontColor(LabelColourOn(palette[static_cast<size_t>(k)]));
        canvas.textOut(x, boxTop(k) + 3, std::string(LegendLabel(layerCode, k)));
    }
    canvas.setFontColor(before.fontColor);
    canvas.setGlyphRaster(before.glyphs);
    canvas.setFontFamily(before.fontFamily);
    canvas.setFontSize(before.fontPointSize);
}

}  // namespace kalvera
