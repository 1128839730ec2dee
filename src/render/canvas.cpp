#include "render/canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kalvera {

QColor ToQColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

namespace {

// Bitmaps have no resolution of their own worth trusting (QImage says 72 dpi);
// the screen the picture was designed for counts 96.
double PixelsPerPoint(const QPaintDevice& device) {
    if (device.devType() == QInternal::Image) return 96.0 / 72.0;
    return device.logicalDpiY() / 72.0;
}

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPolygon ToPolygon(const std::vector<CanvasPoint>& points) {
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) {
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    }
    return polygon;
}

}  // namespace

Canvas::Canvas(QPaintDevice& device, CanvasState& state)
    : painter_(&device), state_(state), pixelsPerPoint_(PixelsPerPoint(device)) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    applyFont();
}

Canvas::~Canvas() {
    if (painter_.isActive()) painter_.end();
}

bool Canvas::isActive() const {
    return painter_.isActive();
}

void Canvas::setPenColor(uint32_t bgr) {
    state_.penColor = bgr;
}
void Canvas::setPenWidth(int width) {
    state_.penWidth = std::max(1, width);
}
void Canvas::setBrushColor(uint32_t bgr) {
    // Choosing a colour makes a clear brush solid again, as it always did.
    state_.brushColor = bgr;
    state_.brushStyle = BrushStyle::Solid;
}
void Canvas::setBrushStyle(BrushStyle style) {
    state_.brushStyle = style;
}
void Canvas::setFontColor(uint32_t bgr) {
    state_.fontColor = bgr;
}

void Canvas::setFontSize(double points) {
    state_.fontPointSize = points;
    applyFont();
}

void Canvas::setFontFamily(const std::string& family) {
    state_.fontFamily = family;
    applyFont();
}

void Canvas::setGlyphRaster(GlyphRaster glyphs) {
    state_.glyphs = glyphs;
    applyFont();
}

void Canvas::applyPen() {
    QPen pen(ToQColor(state_.penColor));
    pen.setWidth(state_.penWidth);
    // At a fractional ratio a line gets whole device pixels, so that lines of
    // one width look alike wherever they lie.
    if (const double ratio = painter_.device()->devicePixelRatio(); ratio != 1.0) {
        pen.setWidthF(std::max(1.0, std::round(state_.penWidth * ratio)) / ratio);
    }
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
    if (state_.brushStyle == BrushStyle::Solid) {
        painter_.setBrush(ToQColor(state_.brushColor));
    } else {
        painter_.setBrush(Qt::NoBrush);
    }
}

void Canvas::applyFont() {
    if (!isActive()) return;
    QFont font = QGuiApplication::font();
    if (!state_.fontFamily.empty()) font.setFamily(Utf8(state_.fontFamily));
    // Bitmaps get whole-pixel glyphs, as the 8-point screen font always was:
    // a picture then holds only the palette's, the map's and the text's few
    // colours, which an animated GIF keeps exactly. Paper keeps smooth type,
    // and so does a bitmap for a high-density screen: no export ever reads it.
    if (painter_.device()->devicePixelRatio() != 1.0) {
        font.setStyleStrategy(QFont::PreferDefault);
    } else if (painter_.device()->devType() == QInternal::Image &&
               state_.glyphs != GlyphRaster::Smooth) {
        font.setStyleStrategy(QFont::NoAntialias);
        // Named, not left to the platform: a desktop scaled by
        // QT_SCALE_FACTOR turns the default hinting off, which moved a few
        // glyph pixels of every export made there. Light hinting is what
        // the default gives on an unscaled desktop.
        if (state_.glyphs == GlyphRaster::Plain)
            font.setHintingPreference(QFont::PreferVerticalHinting);
    }
    if (state_.glyphs == GlyphRaster::WholePixel)
        font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(state_.fontPointSize * pixelsPerPoint_))));
    painter_.setFont(font);
}

void Canvas::fillBox(int left, int top, int right, int bottom, uint32_t bgr) {
    if (right <= left || bottom <= top) return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(bgr));
}

void Canvas::rectangle(int left, int top, int right, int bottom) {
    if (!isActive()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const int w = state_.penWidth;
    const int outer = w / 2;
    const int inner = w - 1 - outer;
    const int ol = left - outer, ot = top - outer, orr = right + outer, ob = bottom + outer;
    const int il = left + 1 + inner, it = top + 1 + inner;
    const int ir = right - 1 - inner, ib = bottom - 1 - inner;
    const bool solid = state_.brushStyle == BrushStyle::Solid;
    // A cell outlined in its own colour is one block: the common case, and the
    // one the picture draws ten thousand times.
    if (il >= ir || it >= ib || (solid && state_.penColor == state_.brushColor)) {
        fillBox(ol, ot, orr, ob, state_.penColor);
        return;
    }
    if (solid) fillBox(il, it, ir, ib, state_.brushColor);
    fillBox(ol, ot, orr, it, state_.penColor);
    fillBox(ol, ib, orr, ob, state_.penColor);
    fillBox(ol, it, il, ib, state_.penColor);
    fillBox(ir, it, orr, ib, state_.penColor);
}

void Canvas::ellipse(int left, int top, int right, int bottom) {
    if (!isActive()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    applyPen();
    painter_.drawEllipse(
        QRect(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1)));
}

void Canvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    if (!isActive()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    applyPen();
    const QRect box(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1));
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double start = std::atan2(cy - y3, x3 - cx) * 180.0 / std::numbers::pi;
    const double end = std::atan2(cy - y4, x4 - cx) * 180.0 / std::numbers::pi;
    double span = end - start;
    while (span <= 0.0) span += 360.0;
    if (x3 == x4 && y3 == y4) span = 360.0;
    painter_.drawArc(box, static_cast<int>(std::lround(start * 16.0)),
                     static_cast<int>(std::lround(span * 16.0)));
}

void Canvas::polyline(const std::vector<CanvasPoint>& points) {
    if (!isActive() || points.size() < 2) return;
    applyPen();
    painter_.drawPolyline(ToPolygon(points));
}

void Canvas::moveTo(int x, int y) {
    state_.penX = x;
    state_.penY = y;
}

void Canvas::lineTo(int x, int y) {
    if (isActive()) {
        applyPen();
        painter_.drawLine(state_.penX, state_.penY, x, y);
    }
    moveTo(x, y);
}

void Canvas::textOut(int x, int y, const std::string& text) {
    if (!isActive()) return;
    const QString qtext = Utf8(text);
    const QFontMetrics metrics = painter_.fontMetrics();
    if (state_.brushStyle == BrushStyle::Solid) {
        fillBox(x, y, x + metrics.horizontalAdvance(qtext), y + metrics.height(),
                state_.brushColor);
    }
    painter_.setPen(ToQColor(state_.fontColor));
    painter_.drawText(x, y + metrics.ascent(), qtext);
}

int Canvas::textWidth(const std::string& text) {
    if (!isActive()) return 0;
    return painter_.fontMetrics().horizontalAdvance(Utf8(text));
}

int DevicePixels(int logical, double ratio) {
    if (ratio == 1.0) return logical;
    return static_cast<int>(std::lround(static_cast<double>(logical) * ratio));
}

void BitBlt(QImage& dest, int dx, int dy, int w, int h, const QImage& source, int sx, int sy,
            RasterOp op) {
    if (dest.isNull() || source.isNull() || w <= 0 || h <= 0) return;
    if (const double ratio = dest.devicePixelRatio(); ratio != 1.0) {
        dx = DevicePixels(dx, ratio);
        dy = DevicePixels(dy, ratio);
        sx = DevicePixels(sx, ratio);
        sy = DevicePixels(sy, ratio);
        w = DevicePixels(w, ratio);
        h = DevicePixels(h, ratio);
    }
    if (dest.format() != QImage::Format_RGB32) dest.convertTo(QImage::Format_RGB32);
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    // Clip against the source, then the destination, moving both origins together.
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, src.width() - sx, dest.width() - dx});
    h = std::min({h, src.height() - sy, dest.height() - dy});
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row) {
        const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(sy + row)) + sx;
        auto* out = reinterpret_cast<uint32_t*>(dest.scanLine(dy + row)) + dx;
        if (op == RasterOp::SrcCopy) {
            std::memcpy(out, in, static_cast<size_t>(w) * sizeof(uint32_t));
        } else {
            for (int col = 0; col < w; ++col) out[col] &= in[col] | 0xFF000000u;
        }
    }
}

uint32_t PixelAt(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0;
    return FromQColor(QColor(image.pixel(x, y)));
}

}  // namespace kalvera
