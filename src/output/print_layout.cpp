#include "output/print_layout.h"

#include <cmath>

namespace kalvera {

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kMapSideMm = 200.0;

int Pixels(double mm, double pixelsPerMm) {
    return static_cast<int>(std::lround(mm * pixelsPerMm));
}
}  // namespace

bool ComputePrintLayout(int pageWidthPx, double dotsPerInch, PrintLayout& layout) {
    layout = PrintLayout{};
    const double perMm = dotsPerInch / kMmPerInch;
    if (!std::isfinite(perMm) || perMm < 1.0 || pageWidthPx <= 0) return false;
    layout.pixelsPerMm = perMm;
    layout.pageWidth = pageWidthPx;
    for (int line = 0; line < 3; ++line) layout.headerTops[line] = Pixels(10.0 * (line + 1), perMm);
    // A side divisible by 8 puts the rings a quarter of the half side apart
    // and the last grid lines on the square's edges; it costs at most half a
    // millimetre at 300 dots per inch.
    layout.mapSide = Pixels(kMapSideMm, perMm) / 8 * 8;
    layout.mapLeft = (pageWidthPx - layout.mapSide) / 2;
    layout.mapTop = Pixels(40.0, perMm);
    return true;
}

}  // namespace kalvera
