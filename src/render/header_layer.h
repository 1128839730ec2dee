#pragma once
// Texts above a picture: the window's header strip with its seven columns,
// and the centred lines that head an exported image or a printed page.

#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/layout_rect.h"

namespace kalvera {

constexpr int kHeaderColumns = 7;

// Frame, middle line and the seven column titles.
void DrawHeaderFrame(Canvas& canvas, const LayoutRect& header);

// Clears one value cell (column 0..6) and writes `text` (UTF-8) centred in
// it, fitted to the cell so that it never runs into the next one. The cell's rim is cleared with
// `windowColor`.
void WriteHeaderCell(Canvas& canvas, const LayoutRect& header, int column, const std::string& text,
                     uint32_t windowColor);

// A text as it fits `width` pixels: in the canvas's font when it does, else
// in smaller type (down to 6.5 points), else at that size with its end
// replaced by "…". The canvas's font is left as it was.
struct FittedText {
    std::string text;
    double points = 0.0;
};
FittedText FitText(Canvas& canvas, const std::string& text, int width);
// The fitted text centred in the `width` pixels from `left`.
void WriteFittedText(Canvas& canvas, int left, int top, int width, const std::string& text);

struct CentredLine {
    int top = 0;
    std::string text;  // UTF-8
};

// Each line centred in the `width` pixels from `left` (the half of what is
// left over truncated), in the canvas's current font.
void DrawCentredLines(Canvas& canvas, int left, int width, const std::vector<CentredLine>& lines);

}  // namespace kalvera
