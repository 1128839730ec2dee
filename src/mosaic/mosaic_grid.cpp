#include "mosaic/mosaic_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "geo/geodesy.h"
#include "geo/map_projection.h"
#include "products/derived_products.h"

namespace kalvera {

namespace {

// Rank of phenomena codes 0..19, in the order the header gives them.
constexpr std::array<int, 20> kPhenomenonRank = {
    0,           // none
    2,  3,       // Ci-As, Ns
    5,  6,  7,   // precipitation light, moderate, heavy
    4,           // towering cumulus
    8,  9,  10,  // showers
    11, 12, 13,  // thunderstorms
    14, 15, 16,  // hail
    17, 18, 19,  // squalls
    20,          // tornado
};
// Codes outside the table rank above none and below every known class.
constexpr int kUnknownPhenomenonRank = 1;

// The value's rank among the layer's: phenomena by severity, everything else
// by size.
int64_t RankOf(int layerCode, int32_t value) {
    return layerCode == kLayerWeather ? PhenomenonSeverity(value) : value;
}

}  // namespace

int PhenomenonSeverity(int32_t code) {
    if (code >= 0 && static_cast<size_t>(code) < kPhenomenonRank.size()) {
        return kPhenomenonRank[static_cast<size_t>(code)];
    }
    return kUnknownPhenomenonRank;
}

bool CompositeMethodNamed(const std::string& name, CompositeMethod& method) {
    if (name == "max") {
        method = CompositeMethod::Maximum;
        return true;
    }
    if (name == "nearest") {
        method = CompositeMethod::Nearest;
        return true;
    }
    return false;
}

const char* CompositeMethodName(CompositeMethod method) {
    return method == CompositeMethod::Maximum ? "max" : "nearest";
}

bool IsPlaceableSite(const MosaicSite& site) {
    return std::isfinite(site.lat) && std::isfinite(site.lon) &&
           std::fabs(site.lat) <= kMaxMosaicLatitude && std::fabs(site.lon) <= 360.0f;
}

MosaicLayout MosaicLayout::Of(const std::vector<MosaicSite>& sites, double cellsPerSiteCell) {
    MosaicLayout layout;
    layout.grid_ = RadarGrid::Regular(0.0f, 0.0f, 1.0f, 1.0f, 1, 1);
    layout.sites_.assign(sites.begin(), sites.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                            sites.size(), kMaxMosaicSites)));
    if (layout.sites_.empty() ||
        !std::all_of(layout.sites_.begin(), layout.sites_.end(), IsPlaceableSite)) {
        layout.sites_.clear();
        return layout;
    }
    // Every square is written on the same side of the antimeridian as the first.
    const float reference = layout.sites_.front().lon;
    double west = std::numeric_limits<double>::max(), south = west;
    double east = std::numeric_limits<double>::lowest(), north = east;
    for (MosaicSite& site : layout.sites_) {
        site.lon = LonNear(site.lon, reference);
        const RadarGrid square = RadarGrid::AroundSite(site.lon, site.lat);
        layout.siteGrids_.push_back(square);
        west = std::min(west, static_cast<double>(square.lonMin()));
        south = std::min(south, static_cast<double>(square.latMin()));
        east = std::max(east, static_cast<double>(square.EdgeLon(square.columns())));
        north = std::max(north, static_cast<double>(square.EdgeLat(square.rows())));
    }
    // Half a site cell on a side: the latitude step is every site's, the
    // longitude step that of a site in the middle of the union.
    const RadarGrid middle = RadarGrid::AroundSite(0.0f, static_cast<float>((south + north) / 2));
    const auto fraction = static_cast<float>(std::clamp(cellsPerSiteCell, 1.0 / 16, 16.0));
    const float cellLat = middle.cellLat() / fraction;
    const float cellLon = middle.cellLon() / fraction;
    const auto count = [](double span, float step) {
        return std::max(1, static_cast<int>(std::min(std::ceil(span / step - 1e-6), 1e8)));
    };
    // The bound is on the ground covered: coarser cells allow fewer of them.
    const double scale = fraction / kCellsPerSiteCell;
    if (static_cast<double>(count(north - south, cellLat)) * count(east - west, cellLon) >
        static_cast<double>(kMaxMosaicCells) * scale * scale) {
        layout.sites_.clear();
        layout.siteGrids_.clear();
        return layout;
    }
    layout.grid_ =
        RadarGrid::Regular(static_cast<float>(west), static_cast<float>(south), cellLon, cellLat,
                           count(north - south, cellLat), count(east - west, cellLon));

    const RadarGrid& grid = layout.grid_;
    for (size_t s = 0; s < layout.sites_.size(); ++s) {
        const MosaicSite& site = layout.sites_[s];
        const RadarGrid& square = layout.siteGrids_[s];
        Cover cover;
        const auto first = [](double edge, double origin, float step) {
            return std::max(0, static_cast<int>(std::floor((edge - origin) / step)));
        };
        const int i0 = first(square.latMin(), grid.latMin(), cellLat);
        const int j0 = first(square.lonMin(), grid.lonMin(), cellLon);
        const int i1 = std::min(
            grid.rows(), i0 + count(square.EdgeLat(square.rows()) - square.latMin(), cellLat) + 2);
        const int j1 =
            std::min(grid.columns(),
                     j0 + count(square.EdgeLon(square.columns()) - square.lonMin(), cellLon) + 2);
        for (int i = i0; i < i1; ++i) {
            const float lat = grid.latMin() + (static_cast<float>(i) + 0.5f) * cellLat;
            for (int j = j0; j < j1; ++j) {
                const float lon = grid.lonMin() + (static_cast<float>(j) + 0.5f) * cellLon;
                const GridCell cell = square.CellAt(lat, lon);
                if (!cell.valid()) continue;
                cover.cell.push_back(static_cast<uint32_t>(grid.IndexOf({i, j})));
                cover.siteCell.push_back(static_cast<uint16_t>(square.IndexOf(cell)));
                cover.distanceKm.push_back(
                    static_cast<float>(GroundDistanceKm(lat, lon, site.lat, site.lon)));
            }
        }
        layout.covers_.push_back(std::move(cover));
    }
    return layout;
}

bool MosaicLayout::Holds(const std::vector<MosaicSite>& sites) const {
    if (sites.size() != sites_.size() || sites.empty()) return false;
    for (size_t s = 0; s < sites.size(); ++s) {
        if (sites[s].code != sites_[s].code || sites[s].lat != sites_[s].lat ||
            LonNear(sites[s].lon, sites_.front().lon) != sites_[s].lon) {
            return false;
        }
    }
    return true;
}

size_t Composite::presentCount() const {
    return static_cast<size_t>(std::count(present.begin(), present.end(), true));
}

Composite Compose(const MosaicLayout& layout, int layerCode, CompositeMethod method,
                  const std::vector<const RadarPicture*>& pictures) {
    Composite out;
    out.layerCode = layerCode;
    const size_t cells = layout.cellCount();
    out.values = {layout.grid(), std::vector<int32_t>(cells, kOutsideGrid)};
    out.source.assign(cells, kNoSource);
    out.present.assign(layout.sites().size(), false);
    std::vector<float> distance(cells, std::numeric_limits<float>::max());
    for (size_t s = 0; s < layout.sites().size() && s < pictures.size(); ++s) {
        const RadarPicture* picture = pictures[s];
        if (picture == nullptr) continue;
        out.present[s] = true;
        const MosaicLayout::Cover& cover = layout.cover(s);
        for (size_t k = 0; k < cover.cell.size(); ++k) {
            const int32_t v = picture->values[cover.siteCell[k]];
            if (v == kOutsideGrid) continue;
            const uint32_t cell = cover.cell[k];
            const float d = cover.distanceKm[k];
            bool take = out.source[cell] == kNoSource || d < distance[cell];
            if (method == CompositeMethod::Maximum && out.source[cell] != kNoSource) {
                const int64_t rank = RankOf(layerCode, v);
                const int64_t held = RankOf(layerCode, out.values.values[cell]);
                take = rank > held || (rank == held && d < distance[cell]);
            }
            if (!take) continue;
            out.values.values[cell] = v;
            out.source[cell] = static_cast<uint8_t>(s);
            distance[cell] = d;
        }
    }
    return out;
}

Composite DeriveComposite(int productCode,
                          const std::array<const Composite*, kHeightLayers>& layers) {
    Composite out;
    out.layerCode = productCode;
    const Composite* any = nullptr;
    for (const Composite* layer : layers) {
        if (layer != nullptr && any == nullptr) any = layer;
    }
    if (any == nullptr) return out;
    const size_t cells = any->values.values.size();
    out.values = {any->values.grid, std::vector<int32_t>(cells, kOutsideGrid)};
    out.source.assign(cells, kNoSource);
    out.present.assign(any->present.size(), false);
    for (const Composite* layer : layers) {
        if (layer == nullptr) continue;
        for (size_t s = 0; s < out.present.size() && s < layer->present.size(); ++s) {
            if (layer->present[s]) out.present[s] = true;
        }
    }
    for (size_t cell = 0; cell < cells; ++cell) {
        CellColumn column;
        int32_t strongest = std::numeric_limits<int32_t>::min();
        uint8_t source = kNoSource;
        for (size_t l = 0; l < layers.size(); ++l) {
            const Composite* layer = layers[l];
            if (layer == nullptr || layer->source[cell] == kNoSource) continue;
            const int32_t v = layer->values.values[cell];
            column[l] = v;
            if (v > strongest) {
                strongest = v;
                source = layer->source[cell];
            }
        }
        if (source == kNoSource) continue;
        if (const std::optional<int32_t> value = DerivedValue(productCode, column)) {
            out.values.values[cell] = *value;
            out.source[cell] = source;
        }
    }
    return out;
}

}  // namespace kalvera
