#pragma once
// The radar sites of the demo archive.

#include <string>
#include <vector>

namespace kalvera::demo {

struct DemoSite {
    std::string code;  // five-digit WMO index, also the site directory name
    double lat = 0.0;  // antenna position, degrees
    double lon = 0.0;
    // Reflectivity in the fixed-layout product (else the generic one); echo
    // tops and phenomena always travel in the generic product.
    bool fixedLayout = false;
};

const std::vector<DemoSite>& DemoSites();
// The site the viewer opens first.
const DemoSite& DefaultDemoSite();

}  // namespace kalvera::demo
