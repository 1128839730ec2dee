#pragma once
// Echo fields made for the nowcast's tests: storms as smooth blobs of
// reflectivity on a regular grid, placed anywhere, so that a field can be
// moved by any fraction of a cell.

#include <cmath>
#include <vector>

#include "geo/radar_grid.h"

namespace kalvera::test {

struct Blob {
    double row = 0.0, column = 0.0;  // centre, in cells
    double radius = 4.0;             // cells
    double peakDbz = 50.0;
};

// rows x columns cells of `cellDegrees` (0.05 by default, coarser than a
// site's); values 2 x dBZ, 0 below 10 dBZ.
inline GridValues BlobField(int rows, int columns, const std::vector<Blob>& blobs,
                            double shiftRows = 0.0, double shiftColumns = 0.0,
                            float cellDegrees = 0.05f) {
    GridValues g{RadarGrid::Regular(30.0f, 50.0f, cellDegrees, cellDegrees, rows, columns),
                 std::vector<int32_t>(static_cast<size_t>(rows) * static_cast<size_t>(columns))};
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            double dbz = 0.0;
            for (const Blob& b : blobs) {
                const double dr = i - b.row - shiftRows, dc = j - b.column - shiftColumns;
                dbz = std::max(
                    dbz, b.peakDbz * std::exp(-(dr * dr + dc * dc) / (2.0 * b.radius * b.radius)));
            }
            g.values[static_cast<size_t>(i) * columns + j] =
                dbz >= 10.0 ? static_cast<int32_t>(std::lround(dbz * 2.0)) : 0;
        }
    }
    return g;
}

// A field of explicit rows (the first the southern), for small cases.
inline GridValues RowsField(const std::vector<std::vector<int32_t>>& rows) {
    const int n = static_cast<int>(rows.size());
    const int m = n ? static_cast<int>(rows.front().size()) : 0;
    GridValues g{RadarGrid::Regular(30.0f, 50.0f, 0.05f, 0.05f, n, m), {}};
    for (const auto& row : rows) g.values.insert(g.values.end(), row.begin(), row.end());
    return g;
}

}  // namespace kalvera::test
