#pragma once
// A network of made-up sites for archives the size of a national service's,
// for trying batch runs at scale: as many sites as asked for, laid out on a
// regular pattern over the region the weather scene covers.

#include <vector>

#include "demo/demo_sites.h"

namespace kalvera::demo {

inline constexpr int kMaxSyntheticSites = 400;

// `count` sites (1..kMaxSyntheticSites) with codes 90001, 90002, ...;
// every other one sends its reflectivity in the fixed-layout product.
std::vector<DemoSite> SyntheticSites(int count);

}  // namespace kalvera::demo
