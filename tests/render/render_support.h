#pragma once
// A GUI application object for the drawing tests (fonts need one), and a
// viewer state laid out as the window lays it out.

#include <QCoreApplication>
#include <QGuiApplication>

#include "render/picture_render.h"
#include "render/viewer_state.h"

namespace kalvera::testing {

inline void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "kalvera_render_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

// Layers, window image and layout for a client area `clientHeight` high with
// the filter bar ending at x = 176, as on the form. The window image is grey
// so that what was copied onto it stands out.
inline void LayOut(ViewerState& viewer, int clientHeight) {
    EnsureGuiApplication();
    viewer.layout = ComputePictureLayout(176, clientHeight);
    const int side = viewer.side();
    viewer.MapLayer.setSize(side, side);
    viewer.PictureLayer.setSize(side, side);
    viewer.WindowDC.setSize(WindowWidthFor(viewer.layout), clientHeight, 0xC0C0C0);
    viewer.WindowDC.state.brushColor = 0xC0C0C0;
}

}  // namespace kalvera::testing
