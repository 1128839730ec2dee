#pragma once
// A small drawing canvas with the habits of the old GDI device contexts, over
// QPainter. The map, the picture, the legend, the header and the printed page
// all draw through it, on a QImage or a QPrinter alike.
//
// Pixel conventions (integer device pixels, origin top-left, y down):
// - rectangle(l, t, r, b) and ellipse(l, t, r, b) take a bounding box whose
//   right and bottom edges are exclusive: rectangle(0, 0, 4, 4) touches the
//   pixels 0..3 in each direction. Swapped corners are put in order first.
//   The brush fills the box; a 1-pixel pen then outlines its outermost pixels.
//   A pen of width w > 1 is centred on that outline: w / 2 pixels of it lie
//   outside the box, the rest inside (width 2 adds one pixel outside).
// - moveTo / lineTo / polyline join pixel centres with the pen; a
//   line includes its end pixel (GDI leaves it out; nothing here relies on it).
// - arc(l, t, r, b, x3, y3, x4, y4) is part of the ellipse in that box, drawn
//   counter-clockwise from the ray through (x3, y3) to the ray through (x4, y4);
//   equal start and end rays give the full ellipse.
// - textOut(x, y, text) puts the top-left corner of the text's line box at
//   (x, y). With a solid brush the line box is first filled with the brush
//   colour (opaque text), with a clear brush only the glyphs are drawn.
// - Shapes are not antialiased, so a drawing is reproducible pixel for pixel;
//   on a bitmap neither is text (unless the state asks for smooth glyphs), on
//   a printer glyphs are smoothed.
// - Fonts are given in points; a bitmap counts 96 pixels to the inch (8 points
//   = 11 pixels), a printer its own resolution.
// - A bitmap made for a high-density screen carries that screen's device
//   pixel ratio. Its canvas still takes logical pixels, which QPainter scales:
//   shapes land on the device pixels their logical box covers, lines are as
//   many device pixels wide as their width scaled, and glyphs are drawn at
//   the full density, smoothed. Only a bitmap of ratio 1 keeps whole-pixel
//   glyphs, and exports draw on those alone.
// Colours are uint32 values laid out 0x00BBGGRR, red in the lowest byte; they
// become QColor only inside this class.

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <string>
#include <vector>

class QPaintDevice;

namespace kalvera {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kOlive = 0x008080;
constexpr uint32_t kNavy = 0x800000;

QColor ToQColor(uint32_t bgr);
uint32_t FromQColor(const QColor& colour);

enum class BrushStyle { Solid, Clear };

// How text meets the pixels of a bitmap; a printer always smooths it.
enum class GlyphRaster {
    Plain,  // unsmoothed: a picture keeps its few exact colours
    // Unsmoothed, with outlines and advances fitted to whole pixels. Small type
    // in a narrow face needs it: at fractional advances its glyphs run into
    // each other ("Ns" reads as one sign).
    WholePixel,
    Smooth,  // smoothed, for text read on the screen and never exported
};

// Pen, brush and font of a surface. A bitmap layer keeps one of these for its
// whole life, so a drawing starts with whatever the previous one left.
struct CanvasState {
    uint32_t penColor = kBlack;
    int penWidth = 1;
    uint32_t brushColor = kWhite;
    BrushStyle brushStyle = BrushStyle::Solid;
    uint32_t fontColor = kBlack;
    double fontPointSize = 8.0;
    std::string fontFamily;  // empty: the desktop's default sans font
    GlyphRaster glyphs = GlyphRaster::Plain;
    int penX = 0;  // current position of moveTo / lineTo
    int penY = 0;
    bool operator==(const CanvasState&) const = default;
};

struct CanvasPoint {
    int x = 0;
    int y = 0;
};

class Canvas {
  public:
    // Paints on `device` (a QImage or a QPrinter) for the canvas's lifetime;
    // reads and updates `state`, which the caller keeps.
    Canvas(QPaintDevice& device, CanvasState& state);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool isActive() const;
    CanvasState& state() { return state_; }

    void setPenColor(uint32_t bgr);
    void setPenWidth(int width);
    // Also makes a clear brush solid.
    void setBrushColor(uint32_t bgr);
    void setBrushStyle(BrushStyle style);
    void setFontColor(uint32_t bgr);
    void setFontSize(double points);
    void setFontFamily(const std::string& family);
    void setGlyphRaster(GlyphRaster glyphs);

    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void polyline(const std::vector<CanvasPoint>& points);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // `text` is UTF-8.
    void textOut(int x, int y, const std::string& text);
    int textWidth(const std::string& text);

    QPainter& painter() { return painter_; }

  private:
    void applyPen();
    void applyFont();
    void fillBox(int left, int top, int right, int bottom, uint32_t bgr);

    QPainter painter_;
    CanvasState& state_;
    double pixelsPerPoint_;
};

// The device pixels of `logical` pixels at a device pixel ratio (rounded).
int DevicePixels(int logical, double ratio);

// Raster copies between bitmaps, the two the program uses.
enum class RasterOp {
    SrcCopy,  // destination = source
    SrcAnd,   // destination = source AND destination, bit by bit
};

// Copies the w x h block at (sx, sy) of `source` to (dx, dy) of `dest`,
// clipped to both images. Both are converted to Format_RGB32 if need be.
// Positions and sizes are logical pixels of `dest`'s device pixel ratio,
// which `source` shares: a block lands on whole device pixels, so bitmaps
// of a high-density screen are copied without being resampled.
void BitBlt(QImage& dest, int dx, int dy, int w, int h, const QImage& source, int sx, int sy,
            RasterOp op);

// A 0x00BBGGRR pixel read from an RGB32 image (tests and tools).
uint32_t PixelAt(const QImage& image, int x, int y);

}  // namespace kalvera
