#pragma once
// The colour legend as a layer: nineteen palette boxes from box 1 at the
// bottom to box 19 at the top, each labelled with the layer's text.

#include "geo/app_config.h"
#include "render/canvas.h"

namespace kalvera {

// Boxes fill the `width` x `height` area at (left, top) exactly: box k spans
// height - k * height / 19 to height - (k - 1) * height / 19, truncated.
void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode);

}  // namespace kalvera
