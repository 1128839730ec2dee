#include "render/header_layer.h"

#include "render/legend_tables.h"
#include "render/translated_text.h"

namespace kalvera {

void DrawHeaderFrame(Canvas& canvas, const LayoutRect& header) {
    const int l = header.left, t = header.top, w = header.width, h = header.height;
    canvas.rectangle(l, t, l + w, t + h);
    canvas.moveTo(l, t + h / 2);
    canvas.lineTo(l + w, t + h / 2);
    const int cw = w / kHeaderColumns;
    for (int k = 0; k < kHeaderColumns; ++k) {
        const std::string title =
            TranslatedText("kalvera::Legend", HeaderTitles()[static_cast<size_t>(k)]);
        canvas.textOut(l + k * cw + (cw - canvas.textWidth(title)) / 2, t + 1, title);
    }
}

void WriteHeaderCell(Canvas& canvas, const LayoutRect& header, int column, const std::string& text,
                     uint32_t windowColor) {
    if (column < 0 || column >= kHeaderColumns) return;
    const int cw = header.width / kHeaderColumns;
    const int l = header.left;
    canvas.setPenColor(windowColor);
    canvas.rectangle(l + column * cw + 1, 16, l + (column + 1) * cw - 1, 29);
    canvas.setPenColor(kBlack);
    canvas.textOut(l + column * cw + (cw - canvas.textWidth(text)) / 2, 16, text);
}

void DrawCentredLines(Canvas& canvas, int left, int width, const std::vector<CentredLine>& lines) {
    for (const CentredLine& line : lines) {
        canvas.textOut(left + (width - canvas.textWidth(line.text)) / 2, line.top, line.text);
    }
}

}  // namespace kalvera
