#pragma once
// Where things go on the printed A4 portrait page, in printer pixels.

namespace kalvera {

struct PrintLayout {
    double pixelsPerMm = 0.0;  // the device's own resolution, not rounded
    int pageWidth = 0;         // the header lines are centred on the page
    int headerTops[3] = {};    // tops of header lines 1 to 3: 10, 20 and 30 mm
    int mapLeft = 0;           // the 200 mm map square, centred across the page
    int mapTop = 0;            // and 40 mm from the top
    int mapSide = 0;
};

// The layout of a page `pageWidthPx` wide at `dotsPerInch`. False when the
// resolution is not a number or too coarse for a millimetre to hold a pixel.
bool ComputePrintLayout(int pageWidthPx, double dotsPerInch, PrintLayout& layout);

}  // namespace kalvera
