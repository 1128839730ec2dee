#pragma once
// One term's layer as the map exports need it: its own copy of the grid (the
// viewer's grid stays as it is), where the site is, and what to call it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "geo/app_config.h"
#include "geo/radar_grid.h"
#include "mosaic/mosaic_grid.h"

namespace kalvera {

struct MapSource {
    RadarPicture grid;  // raw values, row 0 at the south, column 0 at the west
    int layerCode = 0;
    float siteLat = 0.0f;
    float siteLon = 0.0f;
    std::string siteCode;
    std::string siteName;  // as the viewer names the site
    std::string dayName;   // YYMMDD
    std::string termText;  // HH.MM, GMT
    Palette palette{};
    // A forecast's minutes after termText (its base term); 0 for the
    // observed term itself.
    int leadMinutes = 0;
    // A composite instead of one site: its grid, the sites that made it and
    // how. The site fields above then name the composite as a whole.
    std::optional<GridValues> composite;
    std::vector<MosaicSite> compositeSites;
    std::string compositeMethod;

    // The cells on their grid: the composite's, or the site's square.
    GridValues Cells() const;
    // The table chosen for the layer's kind; null for the palette.
    std::shared_ptr<const ColourTable> table;
};

// Decodes layer `layerCode` of the term that `at` names (its index and base
// files, site, day and term). Null, with the reason in `error`, when the index
// cannot be read, holds no such message, or the message does not decode.
std::unique_ptr<MapSource> LoadMapSource(const AppConfig& config, const DisplayState& at,
                                         int layerCode, std::string& error);

// Every cell through `convert`, north row first as images hold them (the grid
// keeps row 0 at the south).
template <typename T, typename Convert>
std::vector<T> NorthUpCells(const GridValues& grid, Convert convert) {
    const auto rows = static_cast<size_t>(grid.grid.rows());
    const auto columns = static_cast<size_t>(grid.grid.columns());
    std::vector<T> cells(rows * columns);
    for (size_t row = 0; row < rows; ++row) {
        for (size_t col = 0; col < columns; ++col) {
            cells[(rows - 1 - row) * columns + col] = convert(grid.values[row * columns + col]);
        }
    }
    return cells;
}

// "2026-12-07T12:00:00Z" for day 261207 and term 12.00; empty when either
// does not read as one.
std::string IsoTimeOf(const std::string& dayName, const std::string& termText);
// The time the grid shows: the term's, or for a forecast its base term's
// plus the lead (into the next day when it runs past midnight).
std::string ValidTimeOf(const MapSource& source);

}  // namespace kalvera
