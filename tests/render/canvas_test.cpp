#include "render/canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "render/render_support.h"

namespace kalvera {
namespace {

constexpr uint32_t kGreen = 0x00FF00;

QImage Filled(int w, int h, QColor colour = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(Canvas, BgrValuesBecomeTheRightChannels) {
    EXPECT_EQ(ToQColor(kRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(kOlive), QColor(128, 128, 0));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
}

// A red box with a blue pen, read along the diagonal from 3 to 11 (w white,
// b blue, r red): right and bottom edges are exclusive, swapped corners draw
// the same box and a pen of 2 reaches one pixel outside it.
TEST(Canvas, RectangleEdgesAndPenWidth) {
    struct Row {
        const char* name;
        int penWidth;
        std::array<int, 4> corners;
        const char* diagonal;
    };
    const Row rows[] = {{"thin pen", 1, {4, 4, 10, 10}, "wbrrrrbww"},
                        {"swapped corners", 1, {4, 10, 10, 4}, "wbrrrrbww"},
                        {"wide pen", 2, {4, 4, 10, 10}, "bbrrrrbbw"}};
    const std::map<char, uint32_t> colours = {{'w', kWhite}, {'b', kBlue}, {'r', kRed}};
    for (const Row& row : rows) {
        QImage image = Filled(20, 20);
        CanvasState state;
        {
            Canvas canvas(image, state);
            canvas.setPenWidth(row.penWidth);
            canvas.setPenColor(kBlue);
            canvas.setBrushColor(kRed);
            canvas.rectangle(row.corners[0], row.corners[1], row.corners[2], row.corners[3]);
        }
        for (int d = 3; d <= 11; ++d)
            EXPECT_EQ(PixelAt(image, d, d), colours.at(row.diagonal[d - 3]))
                << row.name << " " << d;
    }
}

TEST(Canvas, ClearBrushLeavesTheInsideAndTheStateOutlivesTheCanvas) {
    QImage image = Filled(20, 20, QColor(0, 255, 0));
    CanvasState state;
    {
        Canvas canvas(image, state);
        canvas.setPenColor(kBlue);
        canvas.setPenWidth(3);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.rectangle(0, 0, 12, 12);
        EXPECT_EQ(PixelAt(image, 6, 6), kGreen);
        canvas.setBrushColor(kRed);  // a colour makes the brush solid again
        EXPECT_EQ(state.brushStyle, BrushStyle::Solid);
        canvas.rectangle(0, 0, 12, 12);
        EXPECT_EQ(PixelAt(image, 6, 6), kRed);
    }
    Canvas again(image, state);
    EXPECT_EQ(again.state().penColor, kBlue);
    EXPECT_EQ(again.state().penWidth, 3);
}

TEST(Canvas, TextIsElevenPixelsWithAnOpaqueBackgroundOnlyUnderASolidBrush) {
    QImage opaque = Filled(60, 20, QColor(0, 255, 0)), clear = opaque.copy();
    CanvasState so, sc;
    Canvas a(opaque, so);
    a.setBrushColor(kWhite);
    a.textOut(2, 2, "Ш");
    const int width = a.textWidth("Ш");
    Canvas b(clear, sc);
    b.setBrushStyle(BrushStyle::Clear);
    b.textOut(2, 2, "Ш");
    EXPECT_EQ(a.painter().font().pixelSize(), 11);  // 8 points on a bitmap
    EXPECT_GT(a.textWidth("Долгота"), a.textWidth("Срок"));
    ASSERT_GT(width, 3);
    EXPECT_EQ(PixelAt(opaque, 2, 2), kWhite);  // line box filled
    EXPECT_EQ(PixelAt(clear, 2, 2), kGreen);   // untouched around the glyph
    bool glyph = false;
    for (int x = 2; x < 2 + width; ++x)
        for (int y = 2; y < 16; ++y) glyph |= PixelAt(clear, x, y) != kGreen;
    EXPECT_TRUE(glyph);
}

TEST(Canvas, LinesMoveThePenAndAnArcWithEqualEndsIsAWholeCircle) {
    QImage image = Filled(40, 40);
    CanvasState state;
    Canvas canvas(image, state);
    canvas.setPenColor(kBlue);
    canvas.moveTo(5, 0);
    canvas.lineTo(5, 39);
    EXPECT_EQ(PixelAt(image, 5, 10), kBlue);
    EXPECT_EQ(PixelAt(image, 4, 10), kWhite);
    EXPECT_EQ(state.penX, 5);
    EXPECT_EQ(state.penY, 39);
    canvas.arc(10, 10, 30, 30, 30, 30, 30, 30);
    EXPECT_EQ(PixelAt(image, 20, 10), kBlue);   // top
    EXPECT_EQ(PixelAt(image, 10, 20), kBlue);   // left
    EXPECT_EQ(PixelAt(image, 20, 20), kWhite);  // not filled
}

// SRCAND is checked on pixels through the picture composition.
TEST(RasterCopy, SrcCopyIsClippedToBothImages) {
    QImage dest = Filled(10, 10), source = Filled(6, 6, Qt::red);
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
