// Exports never depend on the screen: a window whose bitmaps are made for a
// high-density screen exports the same images, pixel for pixel, as at 1.

#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "geo/settings.h"
#include "output/output_test_support.h"
#include "output/picture_export.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

struct Exported {
    QImage automatic;  // the automatic export and the animation's frames
    QImage saved;      // the save button's JPEG
};

// A map with an outline and a place, cells over part of it, drawn twice (the
// second view starts with the pens the first left) at a device pixel ratio.
Exported ExportAt(double ratio) {
    testing::TempDir dir;
    testing::WriteMapFiles(dir.str(), {{{54.0f, 36.0f}, {56.0f, 38.5f}}},
                           {{"Москва", {55.75f, 37.6f}}});
    ViewerState viewer;
    testing::LayOut(viewer, 318, ratio);
    viewer.config.startDir = dir.str();
    viewer.config.palette = DefaultPalette();
    DisplayState& d = viewer.display;
    d.viewLat = d.siteLat = 55.0f;
    d.viewLon = d.siteLon = 37.0f;
    d.viewHalfExtentKm = 200.0f;
    d.layerCode = 3;
    d.termText = "10.30";
    viewer.decoder = [](int32_t, RadarPicture& picture, DisplayState&) {
        for (int k = 0; k < kGridSide * kGridSide; ++k) picture.values[k] = (k % 7) * 9;
        return true;
    };
    EXPECT_TRUE(RenderPicture(viewer));
    d.viewLon = 37.5f;
    EXPECT_TRUE(RenderPicture(viewer));
    return {ComposeExportImage(viewer), ComposeWindowImage(viewer)};
}

TEST(ExportsOnEveryScreen, AreTheSameAtRatiosOneOneAndAHalfAndTwo) {
    const Exported one = ExportAt(1.0);
    for (double ratio : {1.5, 2.0}) {
        const Exported other = ExportAt(ratio);
        EXPECT_EQ(other.automatic.devicePixelRatio(), 1.0);
        EXPECT_EQ(other.automatic, one.automatic) << ratio;
        EXPECT_EQ(other.saved, one.saved) << ratio;
    }
}

}  // namespace
}  // namespace kalvera
