#pragma once
// The colour legend as a layer: nineteen palette boxes from box 1 at the
// bottom to box 19 at the top, each labelled with the layer's text.

#include "geo/app_config.h"
#include "render/canvas.h"

namespace kalvera {

// Boxes fill the `width` x `height` area at (left, top) exactly: box k spans
// height - k * height / 19 to height - (k - 1) * height / 19, truncated.
// The labels are smoothed for the window (`onScreen`); elsewhere they are
// whole pixels of black and white, so that an export keeps exact colours.
void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode, bool onScreen = false);

// The colour of a label on a box of colour `box` (0x00BBGGRR): black, or white
// where white stands out more (by APCA lightness contrast).
// Either is in every picture already, so a picture keeps its few exact colours.
uint32_t LabelColourOn(uint32_t box);

}  // namespace kalvera
