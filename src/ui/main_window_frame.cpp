// The window's height once the window manager has framed it.

#include <QTimer>
#include <QWindow>

#include "render/picture_render.h"
#include "ui/main_window.h"

namespace kalvera {

void TForm1::waitForFrame(int triesLeft) {
    // The frame arrives some time after the window is mapped, when the window
    // manager has put it in; without a window manager it never does.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.top() + frame.bottom() > 0) {
        fitToFrame(frame);
    } else if (triesLeft > 0) {
        QTimer::singleShot(kFrameQueryMs, this, [this, triesLeft] { waitForFrame(triesLeft - 1); });
    }
}

void TForm1::fitToFrame(QMargins frame) {
    // The picture geometry is computed once more, and then never again. The
    // grid in hand is drawn at the new size: nothing is decoded.
    viewer_.WindowDC.image = QImage();
    applyGeometry(screenSize_, frame);
    if (viewer_.pictureDrawn) DrawDecodedPicture(viewer_);
    FormPaint();
}

}  // namespace kalvera
