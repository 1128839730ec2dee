#pragma once
// Turns the weather scene over one site into the messages of one term:
// reflectivity layers 1..10, echo tops and phenomena.

#include <array>
#include <cstdint>
#include <vector>

#include "common/domain_constants.h"
#include "demo/demo_sites.h"
#include "demo/weather_model.h"

namespace kalvera::demo {

// Reflectivity cell values count half decibels (value 2 x dBZ), so that the
// viewer's steps of ten values span the 5 dBZ classes of its legend.
constexpr int kMaxReflectivityValue = 190;

using Grid = std::array<int32_t, 10000>;

// The values the viewer should show for each layer, row 0 south.
struct TermGrids {
    std::array<Grid, kLastHeightLayer + 1> reflectivity{};  // index = layer code
    Grid echoTopsM{};                                       // metres, whole kilometres
    Grid phenomena{};                                       // codes 0..19
};

struct TermMessage {
    int layerCode = 0;
    std::vector<uint8_t> bytes;
};

// Centre latitude and longitude of every cell of the site's 400 km square,
// laid out as the viewer places the grid around the site.
void CellCentres(const DemoSite& site, std::vector<double>& lats, std::vector<double>& lons);

TermGrids SampleTerm(const DemoSite& site, const WeatherScene& scene);

// `dateTime` stamps the messages (GMT date and time of the term).
std::vector<TermMessage> EncodeTerm(const DemoSite& site, const TermGrids& grids, double dateTime);

// One product of a term brought in from elsewhere, in the generic layout,
// where a cell may also be 65535 (no data): values are archive values
// (reflectivity in half dBZ, echo tops in metres, phenomena codes).
TermMessage EncodeImportedLayer(const DemoSite& site, const Grid& values, int layerCode,
                                double dateTime);

}  // namespace kalvera::demo
