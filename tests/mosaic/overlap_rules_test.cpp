// Which site gives an overlapped cell: the nearest on the ground, and on equal
// maxima the nearer, whatever order the sites are listed in.

#include <gtest/gtest.h>

#include <utility>

#include "mosaic/mosaic_grid.h"

namespace kalvera {
namespace {

RadarPicture Uniform(int32_t value) {
    RadarPicture picture;
    picture.values.fill(value);
    return picture;
}

struct Case {
    const char* name;
    MosaicSite nearer, farther;  // from the probed point, on the ground
    float lat, lon;              // the probed point
    CompositeMethod method;
    int32_t nearerValue, fartherValue;
};

// At 60 N a degree of longitude is half a degree of latitude on the ground:
// 1.6 degrees east (89 km) is nearer than 1.0 degree south (111 km), though
// further in degrees.
const Case kCases[] = {
    {"nearest on the ground, not in degrees",
     {"E", 60.0f, 28.4f},
     {"S", 59.0f, 30.0f},
     60.0f,
     30.0f,
     CompositeMethod::Nearest,
     30,
     40},
    {"equal maxima to the nearer site",
     {"W", 55.0f, 37.0f},
     {"O", 55.0f, 40.1f},
     55.0f,
     37.5f,
     CompositeMethod::Maximum,
     35,
     35},
};

TEST(OverlapRule, TheNearerSiteGivesTheCellInEitherOrder) {
    for (const Case& c : kCases) {
        for (const bool nearerFirst : {true, false}) {
            std::vector<MosaicSite> sites = {c.nearer, c.farther};
            const RadarPicture nearer = Uniform(c.nearerValue), farther = Uniform(c.fartherValue);
            std::vector<const RadarPicture*> pictures = {&nearer, &farther};
            if (!nearerFirst) {
                std::swap(sites[0], sites[1]);
                std::swap(pictures[0], pictures[1]);
            }
            const MosaicLayout layout = MosaicLayout::Of(sites);
            const Composite out = Compose(layout, 1, c.method, pictures);
            const GridCell cell = layout.grid().CellAt(c.lat, c.lon);
            ASSERT_TRUE(cell.valid()) << c.name;
            const size_t k = static_cast<size_t>(cell.row) * layout.grid().columns() + cell.column;
            EXPECT_EQ(out.values.values[k], c.nearerValue) << c.name;
            EXPECT_EQ(out.source[k], nearerFirst ? 0 : 1)
                << c.name << ", nearer listed " << (nearerFirst ? "first" : "second");
        }
    }
}

}  // namespace
}  // namespace kalvera
