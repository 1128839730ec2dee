#include "render/legend_layer.h"

#include <QCoreApplication>
#include <algorithm>
#include <charconv>
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

// Screen luminance of a colour (0x00BBGGRR) as the APCA contrast model takes
// it, with its soft clamp near black.
double ApcaLuminance(uint32_t bgr) {
    const auto channel = [bgr](int shift) {
        return std::pow(static_cast<double>((bgr >> shift) & 0xFFu) / 255.0, 2.4);
    };
    double y = 0.2126729 * channel(0) + 0.7151522 * channel(8) + 0.0721750 * channel(16);
    if (y < 0.022) y += std::pow(0.022 - y, 1.414);
    return y;
}

// APCA lightness contrast (0..about 108) of text of luminance `text` on `back`.
double ApcaContrast(double text, double back) {
    const double sapc = back > text ? (std::pow(back, 0.56) - std::pow(text, 0.57)) * 1.14
                                    : (std::pow(back, 0.65) - std::pow(text, 0.62)) * 1.14;
    return std::abs(sapc) < 0.1 ? 0.0 : (std::abs(sapc) - 0.027) * 100.0;
}
}  // namespace

uint32_t LabelColourOn(uint32_t box) {
    // APCA rather than the older luminance ratio: the ratio prefers black on
    // saturated mid-tones (dark green, red) where thin white type reads better.
    const double back = ApcaLuminance(box);
    return ApcaContrast(ApcaLuminance(kWhite), back) > ApcaContrast(ApcaLuminance(kBlack), back)
               ? kWhite
               : kBlack;
}

namespace {

std::string Bound(double value) {
    char text[32];
    const double rounded = std::round(value * 100.0) / 100.0;
    const auto [end, ec] = std::to_chars(text, text + sizeof text, rounded);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace

std::string TableClassLabel(int layerCode, const ColourClass& cls) {
    if (layerCode == kLayerWeather) {
        const double first = std::ceil(cls.min);
        const bool oneCode = cls.max ? std::ceil(*cls.max) - first == 1.0 : false;
        if (oneCode && first >= 1 && first <= kLegendBoxes) {
            return LegendLabel(layerCode, static_cast<int>(first));
        }
    }
    if (!cls.max) return ">=" + Bound(cls.min);
    return Bound(cls.min) + "-" + Bound(*cls.max);
}

std::vector<LegendBox> LegendBoxesOf(const Palette& palette, int layerCode,
                                     const ColourTable* table) {
    std::vector<LegendBox> boxes;
    if (table == nullptr) {
        for (int k = 1; k <= kLegendBoxes; ++k) {
            boxes.push_back({palette[static_cast<size_t>(k)], LegendLabel(layerCode, k)});
        }
        return boxes;
    }
    const std::vector<ColourClass> classes = ClassesOf(*table);
    const bool ownLabels = classes.size() == static_cast<size_t>(kLegendBoxes);
    for (size_t k = 0; k < classes.size(); ++k) {
        boxes.push_back(
            {classes[k].colour.bgr(), ownLabels ? LegendLabel(layerCode, static_cast<int>(k) + 1)
                                                : TableClassLabel(layerCode, classes[k])});
    }
    return boxes;
}

void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode, bool onScreen,
                     const ColourTable* table) {
    const std::vector<LegendBox> boxes = LegendBoxesOf(palette, layerCode, table);
    const int n = static_cast<int>(boxes.size());
    if (n == 0) return;
    const auto boxTop = [&](int k) { return top + height - (k * height) / n; };
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(1);
    for (int k = n; k >= 1; --k) {
        canvas.setBrushColor(boxes[static_cast<size_t>(k - 1)].colour);
        canvas.rectangle(left, boxTop(k), left + width, boxTop(k - 1));
    }
    canvas.setBrushColor(kWhite);
    canvas.setBrushStyle(BrushStyle::Clear);
    // The weather texts are long; the number ranges sit a little further in.
    const int x = left + (layerCode == kLayerWeather ? 2 : 10);
    // Boxes lower than a line of text (a long table's, or a small window's)
    // carry a label every so many, so that no two labels overprint.
    constexpr int kLineHeight = 12;
    const int boxHeight = std::max(1, height / n);
    const int labelEvery = (kLineHeight + boxHeight - 1) / boxHeight;
    // The canvas may go on to draw other texts in its own font and colour.
    const CanvasState before = canvas.state();
    canvas.setGlyphRaster(onScreen ? GlyphRaster::Smooth : GlyphRaster::WholePixel);
    canvas.setFontFamily(kLabelFamily);
    canvas.setFontSize(kLabelPoints);
    for (int k = n; k >= 1; --k) {
        if ((k - 1) % labelEvery != 0) continue;
        const LegendBox& box = boxes[static_cast<size_t>(k - 1)];
        canvas.setFontColor(LabelColourOn(box.colour));
        canvas.textOut(x,
                       boxTop(k) + (labelEvery > 1 ? boxTop(k - 1) - boxTop(k) - kLineHeight : 3),
                       box.label);
    }
    canvas.setFontColor(before.fontColor);
    canvas.setGlyphRaster(before.glyphs);
    canvas.setFontFamily(before.fontFamily);
    canvas.setFontSize(before.fontPointSize);
}

std::string OpacityNoteText(int opacity) {
    return QCoreApplication::translate("kalvera::Legend", "Непрозр. %1 %")
        .arg(opacity)
        .toStdString();
}

void DrawOpacityNote(Canvas& canvas, int left, int top, int width, int height, int boxes,
                     int opacity, bool onScreen) {
    if (opacity >= 100 || boxes <= 0) return;
    constexpr int kNoteHeight = 13;
    const int topBoxBottom = top + height - ((boxes - 1) * height) / boxes;
    // A low box has no room under its label: the note then covers the label
    // rather than the next box, whose class it would seem to name.
    const int noteTop = std::max(top, topBoxBottom - kNoteHeight - 1);
    const int noteBottom = std::min(noteTop + kNoteHeight, top + height);
    const CanvasState before = canvas.state();
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(1);
    canvas.setBrushColor(kWhite);
    canvas.rectangle(left + 2, noteTop, left + width - 2, noteBottom);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setFontColor(kBlack);
    canvas.setGlyphRaster(onScreen ? GlyphRaster::Smooth : GlyphRaster::WholePixel);
    canvas.setFontFamily(kLabelFamily);
    canvas.setFontSize(kLabelPoints);
    const std::string text = OpacityNoteText(opacity);
    canvas.textOut(left + (width - canvas.textWidth(text)) / 2, noteTop, text);
    canvas.setFontColor(before.fontColor);
    canvas.setGlyphRaster(before.glyphs);
    canvas.setFontFamily(before.fontFamily);
    canvas.setFontSize(before.fontPointSize);
    canvas.setBrushColor(before.brushColor);
    canvas.setBrushStyle(before.brushStyle);
    canvas.setPenColor(before.penColor);
}

}  // namespace kalvera
