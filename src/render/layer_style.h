#pragma once
// How the map layers look on the screen and on paper. The layers take their
// colours and widths from here and from nothing else, so a new surface (a
// loop frame, a map export) picks one of these or adjusts a copy.

#include <algorithm>
#include <cstdint>

#include "render/canvas.h"

namespace kalvera {

struct LayerStyle {
    int lineWidth = 1;  // outlines, rings, grid and the rims of place discs
    uint32_t outlineColor = kOlive;
    uint32_t ringColor = kBlue;  // rings and grid lines
    uint32_t placeRimColor = kBlack;
    int placeRadius = 5;  // device pixels
    double placeNamePoints = 8.0;
    // Paper leaves out places on or beyond the square's border, where half a
    // disc would hang off the map; the screen's bitmap simply cuts them.
    bool placesInsideOnly = false;
    int cellRimWidth = 2;  // cells are outlined in their own colour
    int frameWidth = 0;    // 0: the square gets no frame of its own
    uint32_t frameColor = kBlack;

    // The window's bitmaps, the automatic export and the command-line render.
    static LayerStyle Screen() { return {}; }
    // The printed page, `pixelsPerMm` device pixels to the millimetre.
    static LayerStyle Paper(int pixelsPerMm) {
        LayerStyle style;
        style.lineWidth = 2;
        style.outlineColor = kBlack;
        style.placeRimColor = kBlue;
        style.placesInsideOnly = true;
        style.frameWidth = std::max(1, pixelsPerMm / 5);
        return style;
    }
};

}  // namespace kalvera
