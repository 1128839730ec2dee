#include "demo/synthetic_sites.h"

#include <algorithm>
#include <cstdio>

namespace kalvera::demo {

namespace {
// Sites 250 km or so apart, as a network spaces them, eight to a row.
constexpr int kPerRow = 8;
constexpr double kFirstLat = 50.0, kFirstLon = 28.0;
constexpr double kLatStep = 2.2, kLonStep = 3.6;
}  // namespace

std::vector<DemoSite> SyntheticSites(int count) {
    std::vector<DemoSite> sites;
    count = std::clamp(count, 1, kMaxSyntheticSites);
    for (int i = 0; i < count; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%05d", 90001 + i);
        const int row = i / kPerRow, column = i % kPerRow;
        sites.push_back(
            {code, kFirstLat + row * kLatStep, kFirstLon + column * kLonStep, i % 2 == 0});
    }
    return sites;
}

}  // namespace kalvera::demo
