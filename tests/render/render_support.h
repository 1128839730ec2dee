#pragma once
// A viewer state laid out as the window lays it out.

#include "render/picture_render.h"
#include "render/viewer_state.h"

namespace kalvera::testing {

// Layers, window image and layout for a client area `clientHeight` high with
// the filter bar ending at x = 176, as on the form. The window image is grey
// so that what was copied onto it stands out.
inline void LayOut(ViewerState& viewer, int clientHeight) {
    viewer.layout = ComputePictureLayout(176, clientHeight);
    const int side = viewer.side();
    viewer.MapLayer.setSize(side, side);
    viewer.PictureLayer.setSize(side, side);
    viewer.WindowDC.setSize(WindowWidthFor(viewer.layout), clientHeight, 0xC0C0C0);
    viewer.WindowDC.state.brushColor = 0xC0C0C0;
}

}  // namespace kalvera::testing
