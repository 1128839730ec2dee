#include "render/canvas.h"

#include <gtest/gtest.h>

#include "render/render_support.h"

namespace kalvera {
namespace {

QImage White(int w = 20, int h = 20) {
    testing::EnsureGuiApplication();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(CanvasColours, BgrValuesBecomeTheRightChannels) {
    EXPECT_EQ(ToQColor(kRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(kBlue), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(kOlive), QColor(128, 128, 0));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
}

TEST(CanvasRectangle, RightAndBottomEdgesAreExclusive) {
    QImage image = White();
    CanvasState state;
    {
        Canvas canvas(image, state);
        canvas.setBrushColor(kRed);
        canvas.rectangle(2, 2, 6, 6);
    }
    EXPECT_EQ(PixelAt(image, 2, 2), kBlack);
    EXPECT_EQ(PixelAt(image, 5, 5), kBlack);
    EXPECT_EQ(PixelAt(image, 3, 3), kRed);
    EXPECT_EQ(PixelAt(image, 4, 4), kRed);
    EXPECT_EQ(PixelAt(image, 6, 6), kWhite);
    EXPECT_EQ(PixelAt(image, 1, 1), kWhite);
}

TEST(CanvasRectangle, WidePenReachesOnePixelOutside) {
    QImage image = White();
    CanvasState state;
    {
        Canvas canvas(image, state);
        canvas.setPenWidth(2);
        canvas.setPenColor(kBlue);
        canvas.setBrushColor(kRed);
        canvas.rectangle(4, 4, 10, 10);
    }
    EXPECT_EQ(PixelAt(image, 3, 3), kBlue);
    EXPECT_EQ(PixelAt(image, 4, 4), kBlue);
    EXPECT_EQ(PixelAt(image, 5, 5), kRed);
    EXPECT_EQ(PixelAt(image, 9, 9), kBlue);
    EXPECT_EQ(PixelAt(image, 10, 10), kBlue);
    EXPECT_EQ(PixelAt(image, 11, 11), kWhite);
}

TEST(CanvasRectangle, SwappedCornersDrawTheSameBox) {
    QImage a = White(), b = White();
    CanvasState sa, sb;
    {
        Canvas ca(a, sa);
        ca.setBrushColor(kRed);
        ca.rectangle(3, 12, 9, 4);
        Canvas cb(b, sb);
        cb.setBrushColor(kRed);
        cb.rectangle(3, 4, 9, 12);
    }
    EXPECT_EQ(a, b);
}

TEST(CanvasBrush, ClearBrushLeavesTheInsideAndAColourMakesItSolidAgain) {
    QImage image = White();
    image.fill(QColor(0, 255, 0));
    CanvasState state;
    Canvas canvas(image, state);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.rectangle(0, 0, 10, 10);
    EXPECT_EQ(PixelAt(image, 5, 5), 0x00FF00u);
    canvas.setBrushColor(kRed);
    EXPECT_EQ(state.brushStyle, BrushStyle::Solid);
    canvas.rectangle(0, 0, 10, 10);
    EXPECT_EQ(PixelAt(image, 5, 5), kRed);
}

TEST(CanvasState, PenAndBrushOutliveTheCanvas) {
    QImage image = White();
    CanvasState state;
    {
        Canvas canvas(image, state);
        canvas.setPenColor(kBlue);
        canvas.setPenWidth(3);
    }
    Canvas again(image, state);
    EXPECT_EQ(again.state().penColor, kBlue);
    EXPECT_EQ(again.state().penWidth, 3);
}

TEST(CanvasText, SolidBrushGivesAnOpaqueBackgroundClearBrushDoesNot) {
    QImage opaque = White(60, 20), clear = White(60, 20);
    opaque.fill(QColor(0, 255, 0));
    clear.fill(QColor(0, 255, 0));
    CanvasState so, sc;
    int width = 0;
    {
        Canvas a(opaque, so);
        a.setBrushColor(kWhite);
        a.textOut(2, 2, "Ш");
        width = a.textWidth("Ш");
        Canvas b(clear, sc);
        b.setBrushStyle(BrushStyle::Clear);
        b.textOut(2, 2, "Ш");
    }
    ASSERT_GT(width, 3);
    EXPECT_EQ(PixelAt(opaque, 2, 2), kWhite);    // line box filled
    EXPECT_EQ(PixelAt(clear, 2, 2), 0x00FF00u);  // untouched around the glyph
    bool glyph = false;
    for (int x = 2; x < 2 + width; ++x)
        for (int y = 2; y < 16; ++y) glyph |= PixelAt(clear, x, y) != 0x00FF00u;
    EXPECT_TRUE(glyph);
}

TEST(CanvasText, EightPointsOnABitmapAreElevenPixels) {
    QImage image = White();
    CanvasState state;
    Canvas canvas(image, state);
    EXPECT_EQ(canvas.painter().font().pixelSize(), 11);
    EXPECT_GT(canvas.textWidth("Долгота"), canvas.textWidth("Срок"));
}

TEST(CanvasLines, MoveToLineToDrawsWithThePen) {
    QImage image = White();
    CanvasState state;
    Canvas canvas(image, state);
    canvas.setPenColor(kBlue);
    canvas.moveTo(5, 0);
    canvas.lineTo(5, 19);
    EXPECT_EQ(PixelAt(image, 5, 10), kBlue);
    EXPECT_EQ(PixelAt(image, 4, 10), kWhite);
    EXPECT_EQ(state.penX, 5);
    EXPECT_EQ(state.penY, 19);
}

TEST(CanvasArc, EqualStartAndEndDrawTheWholeCircle) {
    QImage image = White(40, 40);
    CanvasState state;
    Canvas canvas(image, state);
    canvas.setPenColor(kBlue);
    canvas.arc(10, 10, 30, 30, 30, 30, 30, 30);
    EXPECT_EQ(PixelAt(image, 20, 10), kBlue);   // top
    EXPECT_EQ(PixelAt(image, 10, 20), kBlue);   // left
    EXPECT_EQ(PixelAt(image, 20, 20), kWhite);  // not filled
}

TEST(RasterCopy, SrcAndCombinesBitByBit) {
    QImage map = White(4, 1), cells = White(4, 1);
    map.setPixel(0, 0, qRgb(128, 128, 0));  // olive line under a white cell
    map.setPixel(1, 0, qRgb(0, 0, 255));    // blue line under a red cell
    cells.setPixel(1, 0, qRgb(255, 0, 0));
    cells.setPixel(2, 0, qRgb(255, 0, 0));  // red cell over white map
    BitBlt(map, 0, 0, 4, 1, cells, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(PixelAt(map, 0, 0), kOlive);
    EXPECT_EQ(PixelAt(map, 1, 0), kBlack);  // red AND blue
    EXPECT_EQ(PixelAt(map, 2, 0), kRed);
    EXPECT_EQ(PixelAt(map, 3, 0), kWhite);
}

TEST(RasterCopy, SrcCopyIsClippedToBothImages) {
    QImage dest = White(10, 10), source = White(6, 6);
    source.fill(Qt::red);
    BitBlt(dest, 7, -2, 6, 6, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(PixelAt(dest, 9, 0), kRed);
    EXPECT_EQ(PixelAt(dest, 9, 3), kRed);
    EXPECT_EQ(PixelAt(dest, 9, 4), kWhite);
    EXPECT_EQ(PixelAt(dest, 6, 0), kWhite);
    BitBlt(dest, 50, 50, 6, 6, source, 0, 0, RasterOp::SrcCopy);  // nothing, no fault
    BitBlt(dest, 0, 0, 6, 6, source, 4, 4, RasterOp::SrcCopy);
    EXPECT_EQ(PixelAt(dest, 1, 1), kRed);
    EXPECT_EQ(PixelAt(dest, 2, 2), kWhite);
}

}  // namespace
}  // namespace kalvera
