#pragma once
// A viewer state laid out as the window lays it out.

#include "render/picture_render.h"
#include "render/viewer_state.h"

namespace kalvera::testing {

// Layers, window image and layout for a client area `clientHeight` high with
// the filter bar ending at x = 176, as on the form. The window image is grey
// so that what was copied onto it stands out.
// `ratio` is the device pixel ratio of the screen the bitmaps are made for.
inline void LayOut(ViewerState& viewer, int clientHeight, double ratio = 1.0) {
    viewer.layout = ComputePictureLayout(176, clientHeight);
    viewer.deviceRatio = ratio;
    const int side = viewer.side();
    viewer.MapLayer.setSize(side, side, ratio);
    viewer.PictureLayer.setSize(side, side, ratio);
    viewer.WindowDC.setSize(WindowWidthFor(viewer.layout), clientHeight, 0xC0C0C0, ratio);
    viewer.WindowDC.state.brushColor = 0xC0C0C0;
}

}  // namespace kalvera::testing
