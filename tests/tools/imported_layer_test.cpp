// Imported products in the generic layout: every value and no data read back
// as written, even for a grid with no two neighbours alike.

#include <gtest/gtest.h>

#include "common/display_state.h"
#include "decode/picture_loader.h"
#include "demo/term_products.h"

namespace kalvera {
namespace {

struct LayerCase {
    const char* name;
    int layerCode;
    const char* site;
    int32_t top;   // largest archive value
    int32_t step;  // archive values come in steps of
};

TEST(ImportedLayer, NoisyGridsWithGapsReadBackCellForCell) {
    const LayerCase cases[] = {
        {"reflectivity", 3, "90001", 254, 1},
        {"reflectivity without reference", 3, "26063", 254, 1},
        {"echo tops", kLayerEchoTops, "90001", 51000, 100},
        {"phenomena", kLayerWeather, "90001", 19, 1},
    };
    for (const LayerCase& c : cases) {
        demo::Grid values{};
        // Values changing at every cell (the largest message) and every
        // seventh cell without data.
        for (int k = 0; k < kGridCells; ++k)
            values[k] = k % 7 == 0 ? 65535 : (k * 37 % (c.top / c.step + 1)) * c.step;
        const demo::DemoSite site{c.site, 62.83, 31.96, false};
        const demo::TermMessage message =
            demo::EncodeImportedLayer(site, values, c.layerCode, 45000.5);
        RadarPicture picture;
        DisplayState state;
        state.siteCode = c.site;
        state.layerCode = c.layerCode;
        ASSERT_TRUE(decodeMessage(message.bytes, picture, state)) << c.name;
        for (int k = 0; k < kGridCells; ++k)
            ASSERT_EQ(picture.values[k], values[k]) << c.name << " cell " << k;
    }
}

}  // namespace
}  // namespace kalvera
