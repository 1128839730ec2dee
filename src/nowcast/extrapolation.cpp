#include "nowcast/extrapolation.h"

#include <algorithm>
#include <cmath>

#include "common/domain_constants.h"
#include "products/derived_products.h"

namespace kalvera {

namespace {

// A departure point is followed back in steps of at most this many minutes,
// so that the path bends with the field rather than cutting across it.
constexpr double kStepMinutes = 5.0;

int32_t Nearest(const GridValues& g, double row, double column) {
    const int i = static_cast<int>(std::lround(row));
    const int j = static_cast<int>(std::lround(column));
    if (i < 0 || j < 0 || i >= g.grid.rows() || j >= g.grid.columns()) return kOutsideGrid;
    return g.values[static_cast<size_t>(i) * g.grid.columns() + j];
}

int32_t Bilinear(const GridValues& g, double row, double column) {
    const int rows = g.grid.rows(), columns = g.grid.columns();
    if (row < -0.5 || column < -0.5 || row > rows - 0.5 || column > columns - 0.5) {
        return kOutsideGrid;
    }
    // Held at the outermost centres: the half cell beyond them is still the grid.
    const double r = std::clamp(row, 0.0, static_cast<double>(rows - 1));
    const double c = std::clamp(column, 0.0, static_cast<double>(columns - 1));
    const int r0 = static_cast<int>(r), c0 = static_cast<int>(c);
    const int r1 = std::min(r0 + 1, rows - 1), c1 = std::min(c0 + 1, columns - 1);
    const auto cell = [&](int i, int j) { return g.values[static_cast<size_t>(i) * columns + j]; };
    const int32_t v00 = cell(r0, c0), v01 = cell(r0, c1), v10 = cell(r1, c0), v11 = cell(r1, c1);
    // Next to uncovered cells there is nothing to mix with.
    if (v00 == kOutsideGrid || v01 == kOutsideGrid || v10 == kOutsideGrid || v11 == kOutsideGrid) {
        return Nearest(g, row, column);
    }
    const double fr = r - r0, fc = c - c0;
    const double v = (1 - fr) * ((1 - fc) * v00 + fc * v01) + fr * ((1 - fc) * v10 + fc * v11);
    return static_cast<int32_t>(std::lround(v));
}

}  // namespace

std::vector<int> NowcastLeads() {
    std::vector<int> leads;
    for (int lead = kLeadStepMinutes; lead <= kMaxLeadMinutes; lead += kLeadStepMinutes) {
        leads.push_back(lead);
    }
    return leads;
}

Advection AdvectionOf(int /*layerCode*/) {
    return Advection::Nearest;
}

std::vector<GridValues> Extrapolate(const GridValues& newest, const MotionField& motion,
                                    const std::vector<int>& leadsMinutes, Advection advection,
                                    std::span<const uint8_t> wanted) {
    const int rows = newest.grid.rows(), columns = newest.grid.columns();
    const size_t cells = static_cast<size_t>(rows) * static_cast<size_t>(columns);
    std::vector<GridValues> forecasts;
    if (newest.values.size() != cells) return forecasts;
    if (!wanted.empty() && wanted.size() != cells) wanted = {};
    const auto skip = [&](size_t k) { return !wanted.empty() && !wanted[k]; };
    const bool matches = motion.rows == rows && motion.columns == columns;
    // Departure points of every cell, followed further back lead by lead.
    std::vector<double> depRow(cells), depColumn(cells);
    for (size_t k = 0; k < cells; ++k) {
        depRow[k] = static_cast<double>(k / static_cast<size_t>(columns));
        depColumn[k] = static_cast<double>(k % static_cast<size_t>(columns));
    }
    double done = 0.0;
    for (const int lead : leadsMinutes) {
        const double span = std::max(0.0, lead - done);
        const int steps = static_cast<int>(std::ceil(span / kStepMinutes));
        if (matches && !motion.still() && steps > 0) {
            const double dt = span / steps;
            for (size_t k = 0; k < cells; ++k) {
                if (skip(k)) continue;
                for (int s = 0; s < steps; ++s) {
                    double east = 0.0, north = 0.0;
                    motion.at(depRow[k], depColumn[k], east, north);
                    depRow[k] -= north * dt;
                    depColumn[k] -= east * dt;
                }
            }
        }
        done = std::max(done, static_cast<double>(lead));
        GridValues& out =
            forecasts.emplace_back(GridValues{newest.grid, std::vector<int32_t>(cells)});
        for (size_t k = 0; k < cells; ++k) {
            if (skip(k)) {
                out.values[k] = kOutsideGrid;
                continue;
            }
            out.values[k] = advection == Advection::Linear
                                ? Bilinear(newest, depRow[k], depColumn[k])
                                : Nearest(newest, depRow[k], depColumn[k]);
        }
    }
    return forecasts;
}

}  // namespace kalvera
