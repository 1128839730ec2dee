#include <gtest/gtest.h>

#include "render/map_background.h"
#include "render/map_files.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

// Two viewers drawing the same pictures, one through the kept map bitmap
// and one drawing the map every time.
struct TwoViewers {
    testing::TempDir dir;
    ViewerState kept, fresh;

    TwoViewers() {
        testing::WriteOutlines(dir, {{{54.5f, 36.0f}, {55.5f, 38.5f}}});
        dir.write("res/punkt.txt", "A 55.2 37.3");
        for (ViewerState* v : {&kept, &fresh}) {
            testing::LayOut(*v, 500);
            v->config.startDir = dir.str();
            v->display.viewLat = 55.0f;
            v->display.viewLon = 37.0f;
            v->display.viewHalfExtentKm = 200.0f;
            v->picture.values.fill(15);
            v->display.layerCode = 1;
        }
    }
    void draw() {
        DrawDecodedPicture(kept);
        fresh.mapDrawnFor = {};
        DrawDecodedPicture(fresh);
    }
};

TEST(KeptMapBackground, AFrameDrawsOnlyItsCellsAndLooksAsIfTheMapWereDrawnAgain) {
    TwoViewers t;
    const struct {
        const char* name;
        std::function<void(ViewerState&)> change;
        bool redrawn;
    } steps[] = {
        {"first", [](ViewerState&) {}, true},
        {"second: the map's pens have changed", [](ViewerState&) {}, true},
        {"another grid", [](ViewerState& v) { v.picture.values.fill(150); }, false},
        {"another centre", [](ViewerState& v) { v.display.viewLat = 55.5f; }, true},
        {"another scale", [](ViewerState& v) { v.display.viewHalfExtentKm = 100.0f; }, true},
        {"the same view", [](ViewerState&) {}, false},
    };
    for (const auto& step : steps) {
        step.change(t.kept);
        step.change(t.fresh);
        const qint64 before = t.kept.MapLayer.image.cacheKey();  // any drawing changes it
        t.draw();
        EXPECT_EQ(t.kept.MapLayer.image.cacheKey() != before, step.redrawn) << step.name;
        EXPECT_EQ(t.kept.WindowDC.image, t.fresh.WindowDC.image) << step.name;
        EXPECT_EQ(t.kept.view.lat0, t.fresh.view.lat0) << step.name;
    }
    testing::WriteOutlines(t.dir, {{{54.0f, 36.0f}, {55.0f, 38.0f}, {56.0f, 36.5f}}});
    t.draw();
    EXPECT_EQ(t.kept.WindowDC.image, t.fresh.WindowDC.image) << "changed outline file";
}

}  // namespace
}  // namespace kalvera
