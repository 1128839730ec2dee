#pragma once
// Where things go on the printed A4 portrait page, in printer pixels.

namespace kalvera {

struct PrintLayout {
    int ppmX = 0;  // printer pixels per millimetre, truncated
    int ppmY = 0;
    int lineWidth = 0;       // the width the header lines are centred in: 210 mm
    int headerTops[3] = {};  // tops of header lines 1 to 3: 10, 20 and 30 mm
    int mapLeft = 0;         // the 200 mm map square, 5 mm from the left so that it is
    int mapTop = 0;          // centred like the header lines; 40 mm from the top
    int mapWidth = 0;
    int mapHeight = 0;
};

// False when the page is too small to hold a millimetre in either direction.
bool ComputePrintLayout(int pageWidthPx, int pageHeightPx, PrintLayout& layout);

}  // namespace kalvera
