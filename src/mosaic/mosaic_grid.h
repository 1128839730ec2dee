#pragma once
// The composite of several sites: one regular latitude/longitude grid over
// the union of their squares, with cells half a site cell on a side. Where
// each site's cells fall on it is worked out once per set of sites (the
// layout); each term's product is then a gather from the sites' grids.
//
// "No site covers this cell" (kOutsideGrid) and "covered, nothing detected"
// (0) stay apart in every composite.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/radar_picture.h"
#include "geo/radar_grid.h"

namespace kalvera {

// How overlapping sites make one value: the largest (for phenomena the most
// severe class), or the value of the site nearest the cell's centre.
enum class CompositeMethod { Maximum, Nearest };

// "max" and "nearest", as options and file metadata name them.
bool CompositeMethodNamed(const std::string& name, CompositeMethod& method);
const char* CompositeMethodName(CompositeMethod method);

// How much a phenomenon matters to an operator, the one table everything
// that ranks phenomena goes through. The codes do not rise with it: towering
// cumulus (6), a cloud class, comes after heavy precipitation (5). From the
// least: none (0); a code the table does not know; the cloud classes Ci-As
// (1), Ns (2), towering cumulus (6); precipitation light, moderate, heavy
// (3, 4, 5); showers (7, 8, 9); thunderstorms (10, 11, 12); hail (13, 14,
// 15); squalls (16, 17, 18); the tornado (19).
int PhenomenonSeverity(int32_t code);

struct MosaicSite {
    std::string code;
    float lat = 0.0f;  // antenna, degrees
    float lon = 0.0f;
};

// The cell of the composite that is not any site's: the source of a nodata cell.
constexpr uint8_t kNoSource = 255;
// A layout holds at most this many sites, so that a cell's source fits a byte.
constexpr size_t kMaxMosaicSites = 254;
// Nor more cells than this (a continent at 2 km, or the same ground in
// coarser cells); sites spread wider than that, or placed where no square
// can be, give an empty layout.
constexpr size_t kMaxMosaicCells = 16'000'000;
// Squares of sites further from the equator are not placed.
constexpr float kMaxMosaicLatitude = 85.0f;

// A site whose square can be placed on the composite's grid.
bool IsPlaceableSite(const MosaicSite& site);

class MosaicLayout {
  public:
    // The grid over the union of the sites' squares, and each site's cells on
    // it. Sites past kMaxMosaicSites are left out; no sites, a site that is
    // not placeable or a grid beyond kMaxMosaicCells give an empty layout (a
    // grid of one cell that no site covers). Cells are half a site cell on a
    // side; `cellsPerSiteCell` other than kCellsPerSiteCell is for the fuzz
    // target, which needs small grids to run fast enough to explore.
    static constexpr double kCellsPerSiteCell = 2.0;
    static MosaicLayout Of(const std::vector<MosaicSite>& sites,
                           double cellsPerSiteCell = kCellsPerSiteCell);

    const RadarGrid& grid() const { return grid_; }
    size_t cellCount() const {
        return static_cast<size_t>(grid_.rows()) * static_cast<size_t>(grid_.columns());
    }
    const std::vector<MosaicSite>& sites() const { return sites_; }
    // The square of a site's own 100 x 100 grid.
    const RadarGrid& siteGrid(size_t site) const { return siteGrids_[site]; }
    // The same sites at the same places (a layout can be reused).
    bool Holds(const std::vector<MosaicSite>& sites) const;

    // The composite cells that a site's square covers, each with the site's
    // cell there and the ground distance from the cell's centre to the site.
    struct Cover {
        std::vector<uint32_t> cell;
        std::vector<uint16_t> siteCell;
        std::vector<float> distanceKm;
    };
    const Cover& cover(size_t site) const { return covers_[site]; }

  private:
    RadarGrid grid_;
    std::vector<MosaicSite> sites_;
    std::vector<RadarGrid> siteGrids_;
    std::vector<Cover> covers_;
};

// One product of one term on the composite grid.
struct Composite {
    int layerCode = 0;
    GridValues values;
    // Per cell: the layout's index of the site that gave the value (for the
    // maximum, the site that held it), kNoSource where no site covers it.
    std::vector<uint8_t> source;
    // Per layout site: whether it took part.
    std::vector<bool> present;

    size_t presentCount() const;
};

// The product of a layer from the sites' pictures of it, one per layout site
// in its order (null for a missing site). Equal maxima go to the nearer site.
Composite Compose(const MosaicLayout& layout, int layerCode, CompositeMethod method,
                  const std::vector<const RadarPicture*>& pictures);

// The column maximum or VIL (tenths) of the composited layers 1..10 (index
// N - 1, null where no site had the layer). A cell is nodata where none of
// them covers it. The source is that of the layer holding the column's
// largest value.
Composite DeriveComposite(int productCode,
                          const std::array<const Composite*, kHeightLayers>& layers);

}  // namespace kalvera
