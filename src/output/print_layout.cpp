#include "output/print_layout.h"

namespace kalvera {

bool ComputePrintLayout(int pageWidthPx, int pageHeightPx, PrintLayout& layout) {
    layout = PrintLayout{};
    layout.ppmX = pageWidthPx / 210;
    layout.ppmY = pageHeightPx / 297;
    if (layout.ppmX <= 0 || layout.ppmY <= 0) return false;
    layout.lineWidth = 210 * layout.ppmX;
    for (int line = 0; line < 3; ++line) layout.headerTops[line] = 10 * (line + 1) * layout.ppmY;
    layout.mapLeft = 5 * layout.ppmX;
    layout.mapTop = 40 * layout.ppmY;
    layout.mapWidth = 200 * layout.ppmX;
    layout.mapHeight = 200 * layout.ppmY;
    return true;
}

}  // namespace kalvera
