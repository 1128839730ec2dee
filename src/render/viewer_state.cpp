#include "render/viewer_state.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "decode/picture_loader.h"

namespace kalvera {

PictureLayout ComputePictureLayout(int filterBarRight, int clientHeight) {
    const int x0 = filterBarRight + kLayoutMargin;
    // A picture side below 16 pixels has no room for the grid; a screen that
    // small still gets a (tiny) picture rather than a negative one.
    const int side = std::max(16, clientHeight - kHeaderHeight - kLayoutMargin);
    PictureLayout layout;
    layout.header = {0, x0, side, kHeaderHeight};
    layout.picture = {kHeaderHeight, x0, side, side};
    layout.legend = {0, x0 + side + kLayoutMargin, kLegendWidth, side + kHeaderHeight};
    return layout;
}

int WindowWidthFor(const PictureLayout& layout) {
    return layout.legend.left + layout.legend.width + kLayoutMargin;
}

void BitmapLayer::setSize(int w, int h, double ratio) {
    w = DevicePixels(std::max(0, w), ratio);
    h = DevicePixels(std::max(0, h), ratio);
    if (!image.isNull() && image.width() == w && image.height() == h && this->ratio() == ratio) {
        return;
    }
    image = QImage(w, h, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
}

namespace {
int LogicalPixels(int device, double ratio) {
    return static_cast<int>(std::lround(static_cast<double>(device) / ratio));
}
}  // namespace

int BitmapLayer::width() const {
    return LogicalPixels(image.width(), ratio());
}

int BitmapLayer::height() const {
    return LogicalPixels(image.height(), ratio());
}

int WindowSurface::width() const {
    return LogicalPixels(image.width(), image.devicePixelRatio());
}

int WindowSurface::height() const {
    return LogicalPixels(image.height(), image.devicePixelRatio());
}

void WindowSurface::setSize(int w, int h, uint32_t fill, double ratio) {
    QImage next(DevicePixels(std::max(0, w), ratio), DevicePixels(std::max(0, h), ratio),
                QImage::Format_RGB32);
    next.setDevicePixelRatio(ratio);
    next.fill(ToQColor(fill));
    if (!image.isNull()) {
        QPainter painter(&next);
        painter.drawImage(0, 0, image);
    }
    image = std::move(next);
}

ViewerState::ViewerState()
    : decoder([](int32_t offset, RadarPicture& picture, DisplayState& state) {
          return loadPicture(offset, picture, state);
      }) {
    // Until the first render the readout has a view to work with.
    view.InitBounds(100.0f, 100.0f, 10.0f, 20.0f, 10.0f, 20.0f);
}

}  // namespace kalvera
