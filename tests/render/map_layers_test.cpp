#include <gtest/gtest.h>

#include "render/map_background.h"
#include "render/map_files.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

// A 640-pixel map of 200 km around 55 N 37 E, drawn from a scratch start
// directory.
struct MapFixture {
    testing::TempDir dir;
    BitmapLayer layer;
    DisplayState state;
    MapProjection view;
    MapResourceCache cache;

    MapFixture() {
        layer.setSize(640, 640);
        state.viewLat = 55.0f;
        state.viewLon = 37.0f;
        state.viewHalfExtentKm = 200.0f;
    }
    void draw() { DrawMapBackground(layer, state, dir.str(), view, cache); }
    uint32_t at(int x, int y) const { return PixelAt(layer.image, x, y); }
    int count(uint32_t colour) const {
        int n = 0;
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x) n += at(x, y) == colour;
        return n;
    }
};

TEST(RingsAndGridGeometry, RingsStepInwardByAnEighthAndGridLinesStopAtTheSide) {
    struct Row {
        int side, cx;
        std::vector<int> radii, lines;
    };
    const std::vector<int> nine = {0, 80, 160, 240, 320, 400, 480, 560, 640};
    for (const Row& row : std::vector<Row>{{640, 320, {320, 240, 160, 80}, nine},
                                           {642, 321, {321, 241, 161, 81, 1}, nine},
                                           {6, 3, {3}, {0}}}) {
        const RingsAndGrid marks = RingsAndGridFor(row.side);
        EXPECT_EQ(marks.cx, row.cx) << row.side;
        EXPECT_EQ(marks.radii, row.radii) << row.side;
        EXPECT_EQ(marks.lines, row.lines) << row.side;
    }
}

TEST(MapBackgroundDrawing, GridAndRingsAreBlueOnWhiteAndTheFrameKeepsThePreviousPen) {
    MapFixture f;
    testing::WriteOutlines(f.dir, {});
    f.draw();
    for (int x : {0, 80, 320, 560}) EXPECT_EQ(f.at(x, 37), kBlue) << x;
    EXPECT_EQ(f.at(40, 37), kWhite);
    EXPECT_EQ(f.at(300, 300), kWhite);  // inside the innermost ring, off the grid
    bool ring = false;                  // radius 80 crosses the diagonal near 320 - 57
    for (int d = 54; d <= 60; ++d) ring |= f.at(320 - d, 320 - d) == kBlue;
    EXPECT_TRUE(ring);
    EXPECT_FLOAT_EQ(f.view.lat0, 55.0f);
    EXPECT_FLOAT_EQ(f.view.width, 640.0f);
    // The right edge is no grid line (that one lies at x = 640, off the bitmap):
    // the frame there is drawn with the pen left from the drawing before.
    EXPECT_EQ(f.at(639, 37), kBlack);
    f.draw();
    EXPECT_EQ(f.at(639, 37), kBlue);
}

TEST(MapBackgroundDrawing, OutlineEastOfTheViewRunsAlongTheRightEdge) {
    const Viewport view = Viewport::Square(640, 37.0f, 55.0f, 200.0f);
    std::vector<CanvasPoint> points;
    PinnedOutline(view, {{54.0f, 45.0f}, {56.0f, 46.0f}, {70.0f, 47.0f}}, points);
    ASSERT_EQ(points.size(), 3u);
    for (const CanvasPoint& p : points) EXPECT_EQ(p.x, 640);
    EXPECT_GT(points[0].y, points[1].y);
    EXPECT_EQ(points[2].y, 0);
}

TEST(MapBackgroundDrawing, OutlinesAreOliveAndAMissingPlaceFileDrawsTheRest) {
    MapFixture f;
    testing::WriteOutlines(f.dir, {{{54.5f, 36.0f}, {54.5f, 36.5f}}});
    f.draw();
    EXPECT_GT(f.count(kOlive), 20);
    EXPECT_GT(f.count(kBlue), 0);
    EXPECT_EQ(f.count(kRed), 0);
}

TEST(MapBackgroundDrawing, PlaceAtTheCentreHasItsDiscThereAndItsNameUpRight) {
    MapFixture f;
    testing::WriteOutlines(f.dir, {});
    f.dir.write("res/punkt.txt", "Центр 55.0 37.0\n");
    f.draw();
    EXPECT_EQ(f.at(318, 318), kRed);
    EXPECT_EQ(f.at(322, 322), kRed);
    EXPECT_NE(f.at(330, 330), kRed);
    int ink = 0;  // the name, on white from x = 325, y = 315 on
    for (int y = 315; y < 328; ++y)
        for (int x = 326; x < 360; ++x) ink += f.at(x, y) != kWhite && f.at(x, y) != kBlue;
    EXPECT_GT(ink, 10);
}

TEST(MapBackgroundDrawing, ANameThatWouldOverprintAnotherGoesLeftOrIsLeftOut) {
    const auto map = [](const char* places) {
        MapFixture f;
        testing::WriteOutlines(f.dir, {});
        f.dir.write("res/punkt.txt", places);
        f.draw();
        return f.layer.image;
    };
    const QImage one = map("Череповец 55.0 37.0\n");
    const QImage two = map("Череповец 55.0 37.0\nВологда 55.01 37.0\n");
    const QImage three = map("Череповец 55.0 37.0\nВологда 55.01 37.0\nКострома 55.0 37.01\n");
    // Right of the dots the first name stands alone; the second went left.
    EXPECT_EQ(one.copy(325, 300, 200, 40), two.copy(325, 300, 200, 40));
    EXPECT_NE(one.copy(200, 300, 115, 40), two.copy(200, 300, 115, 40));
    // The third has room on neither side: its dot only.
    EXPECT_EQ(two.copy(200, 300, 115, 40), three.copy(200, 300, 115, 40));
    EXPECT_EQ(two.copy(330, 300, 195, 40), three.copy(330, 300, 195, 40));
}

TEST(MapBackgroundDrawing, MissingOutlineFileDrawsNothingAndKeepsTheView) {
    MapFixture f;
    f.layer.image.fill(Qt::yellow);
    f.view = MapProjection::Init(100, 100, 10.0f, 10.0f, 50.0f);
    f.dir.write("res/country.ind", "");
    f.draw();
    EXPECT_EQ(f.count(0x00FFFFu), 640 * 640);
    EXPECT_FLOAT_EQ(f.view.lat0, 10.0f);
}

TEST(MapBackgroundDrawing, CachedFilesDrawTheSameAsFreshOnes) {
    MapFixture f;
    testing::WriteOutlines(f.dir, {{{54.5f, 36.0f}, {55.5f, 38.5f}}});
    f.dir.write("res/punkt.txt", "A 55.2 37.3 B 54.8 36.4");
    f.draw();  // leaves the blue pen that the frames below are drawn with
    f.draw();
    const QImage cached = f.layer.image.copy();
    MapResourceCache fresh;
    DrawMapBackground(f.layer, f.state, f.dir.str(), f.view, fresh);
    EXPECT_EQ(f.layer.image, cached);
    EXPECT_EQ(f.cache.reads(), 2);  // outlines and places once each
}

}  // namespace
}  // namespace kalvera
