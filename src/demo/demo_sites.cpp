#include "demo/demo_sites.h"

#include "common/domain_constants.h"

namespace kalvera::demo {

const std::vector<DemoSite>& DemoSites() {
    // The site without a reference value is included on purpose: its generic
    // reflectivity carries no -64 reference, unlike every other site's.
    static const std::vector<DemoSite> sites = {
        {"27612", 55.65, 37.77, true},
        {kNoReferenceSite, 59.97, 30.70, false},
        {"27595", 55.79, 49.18, false},
        {"34122", 51.70, 39.25, true},
        // Two sites whose squares overlap their neighbours' by 100 km and
        // more, so that the composite has seams to join; Saint Petersburg
        // and Kazan stay alone.
        {"27719", 54.20, 37.62, false},
        {"27532", 55.58, 42.05, true},
    };
    return sites;
}

const DemoSite& DefaultDemoSite() {
    return DemoSites().front();
}

}  // namespace kalvera::demo
