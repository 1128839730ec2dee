#pragma once
// One term's layer as the map exports need it: its own copy of the grid (the
// viewer's grid stays as it is), where the site is, and what to call it.

#include <memory>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "geo/app_config.h"

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
std::vector<T> NorthUpCells(const RadarPicture& grid, Convert convert) {
    std::vector<T> cells(kGridCells);
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            cells[static_cast<size_t>((kGridSide - 1 - row) * kGridSide + col)] =
                convert(grid.values[static_cast<size_t>(row * kGridSide + col)]);
        }
    }
    return cells;
}

// "2026-12-07T12:00:00Z" for day 261207 and term 12.00; empty when either
// does not read as one.
std::string IsoTimeOf(const std::string& dayName, const std::string& termText);

}  // namespace kalvera
