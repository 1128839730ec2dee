#include "nowcast/storm_cells.h"

#include <algorithm>
#include <cmath>

namespace kalvera {

namespace {

// Basins of the flooding from the highest value down, kept in a union-find.
struct Basins {
    std::vector<int> parent;
    std::vector<int32_t> peak;
    std::vector<int> size;

    int make(int32_t value) {
        parent.push_back(static_cast<int>(parent.size()));
        peak.push_back(value);
        size.push_back(0);
        return parent.back();
    }
    int root(int b) {
        while (parent[static_cast<size_t>(b)] != b) {
            parent[static_cast<size_t>(b)] =
                parent[static_cast<size_t>(parent[static_cast<size_t>(b)])];
            b = parent[static_cast<size_t>(b)];
        }
        return b;
    }
    void join(int into, int from) {
        parent[static_cast<size_t>(from)] = into;
        size[static_cast<size_t>(into)] += size[static_cast<size_t>(from)];
    }
};

}  // namespace

std::vector<CellRegion> IdentifyCells(const GridValues& columnMax, const CellOptions& options) {
    const int rows = columnMax.grid.rows(), columns = columnMax.grid.columns();
    const size_t cells = static_cast<size_t>(rows) * static_cast<size_t>(columns);
    if (columnMax.values.size() != cells) return {};
    const auto threshold = static_cast<int32_t>(std::ceil(options.thresholdDbz * 2.0));
    const double depth = options.splitDepthDbz * 2.0;
    std::vector<size_t> order;
    for (size_t k = 0; k < cells; ++k) {
        const int32_t v = columnMax.values[k];
        if (v >= threshold && v != kOutsideGrid) order.push_back(k);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return columnMax.values[a] > columnMax.values[b]; });
    Basins basins;
    std::vector<int> label(cells, -1);
    for (const size_t k : order) {
        const int32_t v = columnMax.values[k];
        const int i = static_cast<int>(k / static_cast<size_t>(columns));
        const int j = static_cast<int>(k % static_cast<size_t>(columns));
        std::vector<int> touching;
        for (int di = -1; di <= 1; ++di) {
            for (int dj = -1; dj <= 1; ++dj) {
                const int ni = i + di, nj = j + dj;
                if ((di == 0 && dj == 0) || ni < 0 || nj < 0 || ni >= rows || nj >= columns)
                    continue;
                const int l = label[static_cast<size_t>(ni) * columns + nj];
                if (l < 0) continue;
                const int r = basins.root(l);
                if (std::find(touching.begin(), touching.end(), r) == touching.end()) {
                    touching.push_back(r);
                }
            }
        }
        int home;
        if (touching.empty()) {
            home = basins.make(v);
        } else {
            std::sort(touching.begin(), touching.end(), [&](int a, int b) {
                return basins.peak[static_cast<size_t>(a)] > basins.peak[static_cast<size_t>(b)];
            });
            home = touching.front();
            for (size_t t = 1; t < touching.size(); ++t) {
                const int other = touching[t];
                const bool apart = basins.peak[static_cast<size_t>(other)] - v >= depth &&
                                   basins.size[static_cast<size_t>(other)] >= options.minCells &&
                                   basins.size[static_cast<size_t>(home)] >= options.minCells;
                if (!apart) basins.join(home, other);
            }
        }
        label[k] = home;
        ++basins.size[static_cast<size_t>(home)];
    }
    std::vector<int> regionOf(basins.parent.size(), -1);
    std::vector<CellRegion> regions;
    for (const size_t k : order) {
        const int r = basins.root(label[k]);
        if (basins.size[static_cast<size_t>(r)] < options.minCells) continue;
        int& index = regionOf[static_cast<size_t>(r)];
        if (index < 0) {
            index = static_cast<int>(regions.size());
            regions.emplace_back().peak = basins.peak[static_cast<size_t>(r)];
        }
        regions[static_cast<size_t>(index)].members.push_back(k);
    }
    for (CellRegion& region : regions) {
        // Weighted by how far each cell reaches above the threshold, so the
        // centroid follows the core rather than a ragged edge.
        double sum = 0.0, row = 0.0, column = 0.0;
        for (const size_t k : region.members) {
            const double w = columnMax.values[k] - threshold + 1.0;
            sum += w;
            row += w * static_cast<double>(k / static_cast<size_t>(columns));
            column += w * static_cast<double>(k % static_cast<size_t>(columns));
        }
        region.centroid = {row / sum, column / sum};
        std::sort(region.members.begin(), region.members.end());
    }
    return regions;
}

const char* CellMotionName(CellMotion motion) {
    switch (motion) {
        case CellMotion::Track:
            return "track";
        case CellMotion::FieldYoung:
            return "field_young";
        case CellMotion::FieldOverTrack:
            return "field_over_track";
        case CellMotion::Implausible:
            return "implausible";
        case CellMotion::Unknown:
            break;
    }
    return "";
}

}  // namespace kalvera
