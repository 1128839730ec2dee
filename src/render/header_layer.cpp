#include "render/header_layer.h"

#include <QString>

#include "render/legend_tables.h"
#include "render/translated_text.h"

namespace kalvera {

namespace {
// Smaller type first, down to this size, then the end gives way to "…".
constexpr double kSmallestHeaderPoints = 6.5;
constexpr double kHeaderPointStep = 0.5;
// A pixel of the cell's rim on either side stays clear.
constexpr int kCellPadding = 2;
}  // namespace

FittedText FitText(Canvas& canvas, const std::string& text, int width) {
    const double points = canvas.state().fontPointSize;
    FittedText fitted{text, points};
    for (double size = points; size >= kSmallestHeaderPoints - 1e-9; size -= kHeaderPointStep) {
        canvas.setFontSize(size);
        fitted.points = size;
        if (canvas.textWidth(text) <= width) {
            canvas.setFontSize(points);
            return fitted;
        }
    }
    const QString whole = QString::fromStdString(text);
    const QString ellipsis = QStringLiteral("…");
    fitted.text = ellipsis.toStdString();
    for (qsizetype length = whole.size() - 1; length > 0; --length) {
        const std::string cut = (whole.left(length).trimmed() + ellipsis).toStdString();
        if (canvas.textWidth(cut) <= width) {
            fitted.text = cut;
            break;
        }
    }
    canvas.setFontSize(points);
    return fitted;
}

void WriteFittedText(Canvas& canvas, int left, int top, int width, const std::string& text) {
    const FittedText fitted = FitText(canvas, text, width);
    const double points = canvas.state().fontPointSize;
    canvas.setFontSize(fitted.points);
    // Smaller type keeps the line's middle where the full size had it.
    const int drop = static_cast<int>((points - fitted.points) * 96.0 / 72.0 / 2.0 + 0.5);
    canvas.textOut(left + (width - canvas.textWidth(fitted.text)) / 2, top + drop, fitted.text);
    canvas.setFontSize(points);
}

void DrawHeaderFrame(Canvas& canvas, const LayoutRect& header) {
    const int l = header.left, t = header.top, w = header.width, h = header.height;
    canvas.rectangle(l, t, l + w, t + h);
    canvas.moveTo(l, t + h / 2);
    canvas.lineTo(l + w, t + h / 2);
    const int cw = w / kHeaderColumns;
    for (int k = 0; k < kHeaderColumns; ++k) {
        const std::string title =
            TranslatedText("kalvera::Legend", HeaderTitles()[static_cast<size_t>(k)]);
        WriteFittedText(canvas, l + k * cw + kCellPadding, t + 1, cw - 2 * kCellPadding, title);
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
    WriteFittedText(canvas, l + column * cw + kCellPadding, 16, cw - 2 * kCellPadding, text);
}

void DrawCentredLines(Canvas& canvas, int left, int width, const std::vector<CentredLine>& lines) {
    for (const CentredLine& line : lines) {
        canvas.textOut(left + (width - canvas.textWidth(line.text)) / 2, line.top, line.text);
    }
}

}  // namespace kalvera
