#pragma once
// The decoded grid's cells on the ground and on a viewport. The grid covers
// the 400 km square around the radar site; row 0 is its southern edge and
// column 0 its western edge. Drawing goes forward (cell edges to pixels), the
// readout backward (a point or pixel to its cell), through the same bounds.

#include <cstdint>
#include <vector>

#include "common/radar_picture.h"
#include "geo/viewport.h"

namespace kalvera {

// The half side of the square the grid covers.
constexpr float kRadarGridHalfExtentKm = kGridHalfExtentKm;

// What a reading shows for a point outside the grid (and before any picture).
constexpr int32_t kOutsideGrid = 65535;

struct GridCell {
    int row = -1;     // from the south
    int column = -1;  // from the west
    bool valid() const { return row >= 0 && column >= 0; }
};

// Pixel edges of every column (west to east) and row (south to north): cell
// (i, j) spans x[j]..x[j + 1] and y[i]..y[i + 1], y[i] being below y[i + 1].
struct CellEdges {
    std::vector<int> x;
    std::vector<int> y;
};

class RadarGrid {
  public:
    // The square around a site, cut into rows x columns cells (each at least 1).
    static RadarGrid AroundSite(float siteLon, float siteLat, int rows = kGridSide,
                                int columns = kGridSide);
    // Any regular latitude/longitude grid: its south-western corner, its cell
    // steps in degrees and its size (the composite of several sites).
    static RadarGrid Regular(float lonMin, float latMin, float cellLon, float cellLat, int rows,
                             int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    float lonMin() const { return lonMin_; }
    float latMin() const { return latMin_; }
    float cellLon() const { return cellLon_; }
    float cellLat() const { return cellLat_; }
    // Longitude of the western edge of column j, latitude of the southern edge of row i.
    float EdgeLon(int j) const { return lonMin_ + static_cast<float>(j) * cellLon_; }
    float EdgeLat(int i) const { return latMin_ + static_cast<float>(i) * cellLat_; }

    // Forward: every edge through the viewport's projection once.
    CellEdges EdgesOn(const Viewport& viewport) const;
    // Backward: the cell that holds a point, or an invalid cell outside the
    // grid (and for points that are not numbers).
    GridCell CellAt(float lat, float lon) const;
    // The cell under a device pixel of the viewport.
    GridCell CellUnder(const Viewport& viewport, int x, int y) const;
    // Index of a valid cell in the value array.
    size_t IndexOf(GridCell cell) const {
        return static_cast<size_t>(cell.row) * static_cast<size_t>(columns_) +
               static_cast<size_t>(cell.column);
    }

  private:
    int rows_ = kGridSide;
    int columns_ = kGridSide;
    float lonMin_ = 0.0f;
    float latMin_ = 0.0f;
    float cellLon_ = 0.0f;
    float cellLat_ = 0.0f;
};

// A grid of any size with its place on the ground: a site's picture or the
// composite of several. Values run by rows from the south, each row from the
// west; a cell that no data covers holds kOutsideGrid.
struct GridValues {
    RadarGrid grid;
    std::vector<int32_t> values;

    int32_t At(GridCell cell) const { return values[grid.IndexOf(cell)]; }
    // A site's 100 x 100 picture on its square.
    static GridValues OfPicture(const RadarPicture& picture, float siteLon, float siteLat);
};

}  // namespace kalvera
