#pragma once
// Where the decoded value grid lies: the square of kSiteGridHalfExtentKm
// around its radar site, 100 rows from the south by 100 columns from the west,
// each cell an equal share of the square's degrees.

#include <cstdint>

namespace kalvera {

// The value of a point outside the grid (and before any picture).
constexpr int32_t kOutsideGrid = 65535;

// The grid covers the square of this half side around the radar site.
constexpr float kSiteGridHalfExtentKm = 200.0f;

// Index (row * cols + column) of the cell that holds a point, or -1 when the
// point lies outside the grid or the grid has no cells. Rows and columns are
// cut off toward zero, so a cell owns its south and west edges.
int GridCellAt(float siteLat, float siteLon, int cols, int rows, float lat, float lon);

}  // namespace kalvera
