// The composite grid: overlap rules, the gather, nodata against nothing
// detected, and the term each site gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "../archive/index_bytes.h"
#include "mosaic/mosaic_grid.h"
#include "mosaic/mosaic_term.h"
#include "products/derived_products.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

// Two sites 200 km apart east-west (their squares overlap by half), a third
// far to the north that overlaps neither.
const std::vector<MosaicSite> kSites = {
    {"A", 55.0f, 37.0f}, {"B", 55.0f, 40.1f}, {"C", 62.0f, 37.0f}};

RadarPicture Uniform(int32_t value) {
    RadarPicture picture;
    picture.values.fill(value);
    return picture;
}

struct Fixture {
    MosaicLayout layout = MosaicLayout::Of(kSites);
    const RadarGrid& grid = layout.grid();

    GridCell CellOf(float lat, float lon) const { return grid.CellAt(lat, lon); }
    // The centre of a composite cell.
    void Centre(size_t index, float& lat, float& lon) const {
        const auto row = static_cast<int>(index / static_cast<size_t>(grid.columns()));
        const auto column = static_cast<int>(index % static_cast<size_t>(grid.columns()));
        lat = grid.latMin() + (static_cast<float>(row) + 0.5f) * grid.cellLat();
        lon = grid.lonMin() + (static_cast<float>(column) + 0.5f) * grid.cellLon();
    }
    bool In(size_t site, float lat, float lon) const {
        return layout.siteGrid(site).CellAt(lat, lon).valid();
    }
};

TEST(Composite, OverlapTakesTheMaximumOrTheNearestSite) {
    const Fixture f;
    const RadarPicture thirty = Uniform(30), forty = Uniform(40);
    const Composite maximum =
        Compose(f.layout, 1, CompositeMethod::Maximum, {&thirty, &forty, nullptr});
    const Composite nearest =
        Compose(f.layout, 1, CompositeMethod::Nearest, {&thirty, &forty, nullptr});
    // The bisector of A and B, for two sites on one parallel, is the meridian
    // halfway between them; one composite cell of slack either side.
    const float bisector = (kSites[0].lon + kSites[1].lon) / 2.0f;
    size_t overlap = 0;
    for (size_t k = 0; k < f.layout.cellCount(); ++k) {
        float lat = 0.0f, lon = 0.0f;
        f.Centre(k, lat, lon);
        if (!f.In(0, lat, lon) || !f.In(1, lat, lon)) continue;
        ++overlap;
        EXPECT_EQ(maximum.values.values[k], 40);
        EXPECT_EQ(maximum.source[k], 1);
        if (std::fabs(lon - bisector) > f.grid.cellLon()) {
            EXPECT_EQ(nearest.values.values[k], lon < bisector ? 30 : 40) << lat << "," << lon;
        }
    }
    EXPECT_GT(overlap, 1000u);
}

TEST(Composite, ASiteCellReachesExactlyTheCellsCentredInIt) {
    const Fixture f;
    RadarPicture picture = Uniform(0);
    const size_t marked = 57 * kGridSide + 31;
    picture.values[marked] = 55;
    const Composite composite = Compose(f.layout, 1, CompositeMethod::Maximum, {&picture});
    int found = 0;
    for (size_t k = 0; k < f.layout.cellCount(); ++k) {
        float lat = 0.0f, lon = 0.0f;
        f.Centre(k, lat, lon);
        const GridCell cell = f.layout.siteGrid(0).CellAt(lat, lon);
        const bool inMarked = cell.valid() && f.layout.siteGrid(0).IndexOf(cell) == marked;
        EXPECT_EQ(composite.values.values[k] == 55, inMarked);
        found += inMarked ? 1 : 0;
    }
    // Half a site cell on a side: about four composite cells to a site cell.
    EXPECT_GE(found, 2);
    EXPECT_LE(found, 6);
}

TEST(Composite, MissingSitesAndOpenGroundAreNoDataNeverZero) {
    const Fixture f;
    const RadarPicture empty = Uniform(0);
    // B is missing: its exclusive area is nodata; C is far away and missing.
    const Composite composite =
        Compose(f.layout, 1, CompositeMethod::Maximum, {&empty, nullptr, nullptr});
    EXPECT_EQ(composite.presentCount(), 1u);
    for (size_t k = 0; k < f.layout.cellCount(); ++k) {
        float lat = 0.0f, lon = 0.0f;
        f.Centre(k, lat, lon);
        const int32_t expected = f.In(0, lat, lon) ? 0 : kOutsideGrid;
        ASSERT_EQ(composite.values.values[k], expected) << lat << "," << lon;
        EXPECT_EQ(composite.source[k] == kNoSource, expected == kOutsideGrid);
    }
}

TEST(Composite, PhenomenaTakeAClassSomeContributingSiteHadThere) {
    const Fixture f;
    RadarPicture a, b;
    for (int k = 0; k < kGridCells; ++k) {
        a.values[static_cast<size_t>(k)] = (k * 7) % 20;
        b.values[static_cast<size_t>(k)] = (k * 13 + 5) % 20;
    }
    for (const CompositeMethod method : {CompositeMethod::Maximum, CompositeMethod::Nearest}) {
        const Composite composite = Compose(f.layout, kLayerWeather, method, {&a, &b, nullptr});
        for (size_t k = 0; k < f.layout.cellCount(); ++k) {
            if (composite.values.values[k] == kOutsideGrid) continue;
            float lat = 0.0f, lon = 0.0f;
            f.Centre(k, lat, lon);
            std::set<int32_t> offered;
            for (size_t s = 0; s < 2; ++s) {
                const GridCell cell = f.layout.siteGrid(s).CellAt(lat, lon);
                if (cell.valid()) {
                    offered.insert((s == 0 ? a : b).values[f.layout.siteGrid(s).IndexOf(cell)]);
                }
            }
            ASSERT_TRUE(offered.count(composite.values.values[k]));
            if (method == CompositeMethod::Maximum) {
                for (const int32_t other : offered) {
                    EXPECT_GE(PhenomenonSeverity(composite.values.values[k]),
                              PhenomenonSeverity(other));
                }
            }
        }
    }
}

TEST(Composite, OverlappingPhenomenaGiveTheOneThatMattersMore) {
    const Fixture f;
    const struct {
        int32_t a, b, kept;
    } rows[] = {
        {5, 6, 5},     // heavy precipitation over towering cumulus
        {6, 2, 6},     // towering cumulus over Ns
        {2, 1, 2},     // Ns over Ci-As
        {1, 0, 1},     // any class over none
        {3, 6, 3},     // light precipitation over every cloud class
        {9, 10, 10},   // thunderstorm over shower
        {15, 16, 16},  // squall over hail
        {18, 19, 19},  // tornado over all
        {31, 1, 1},    // a code the table does not know comes last
    };
    float lat = 0.0f, lon = 0.0f;
    size_t both = 0;  // a cell both sites cover
    for (;; ++both) {
        f.Centre(both, lat, lon);
        if (f.In(0, lat, lon) && f.In(1, lat, lon)) break;
    }
    for (const auto& row : rows) {
        const RadarPicture a = Uniform(row.a), b = Uniform(row.b);
        const Composite composite =
            Compose(f.layout, kLayerWeather, CompositeMethod::Maximum, {&a, &b, nullptr});
        EXPECT_EQ(composite.values.values[both], row.kept) << row.a << " " << row.b;
    }
}

TEST(Composite, DerivedProductsComeFromTheCompositedLayers) {
    const Fixture f;
    // Site A has its echo low, site B high: the composite's column holds both.
    const RadarPicture low = Uniform(60), high = Uniform(80), none = Uniform(0);
    std::array<Composite, kHeightLayers> layers;
    std::array<const Composite*, kHeightLayers> pointers{};
    for (size_t l = 0; l < kHeightLayers; ++l) {
        const RadarPicture* a = l == 0 ? &low : &none;
        const RadarPicture* b = l == 5 ? &high : &none;
        layers[l] =
            Compose(f.layout, static_cast<int>(l) + 1, CompositeMethod::Maximum, {a, b, nullptr});
        pointers[l] = &layers[l];
    }
    const Composite vil = DeriveComposite(kLayerVil, pointers);
    const Composite maximum = DeriveComposite(kLayerColumnMax, pointers);
    for (size_t k = 0; k < f.layout.cellCount(); ++k) {
        float lat = 0.0f, lon = 0.0f;
        f.Centre(k, lat, lon);
        if (!f.In(0, lat, lon) || !f.In(1, lat, lon)) continue;
        CellColumn column;
        for (size_t l = 0; l < kHeightLayers; ++l) column[l] = l == 0 ? 60 : l == 5 ? 80 : 0;
        EXPECT_EQ(vil.values.values[k], *DerivedValue(kLayerVil, column));
        EXPECT_EQ(maximum.values.values[k], 80);
        break;
    }
}

TEST(MosaicTerm, EachSiteGivesItsNearestTermWithinTheTolerance) {
    testing::TempDir dir;
    const auto index = [&](const std::string& day,
                           std::initializer_list<std::pair<int, int>> terms) {
        std::string bytes;
        for (const auto& [hour, minute] : terms)
            bytes += testing::IndexRecordBytes(hour, minute, 1, 0);
        dir.write("S/" + day + ".ind", bytes);
    };
    index("261207", {{11, 50}, {11, 58}, {12, 3}, {23, 58}});
    index("261208", {{0, 9}});
    const struct {
        const char* day;
        const char* term;
        int tolerance;
        const char* matchedDay;  // empty: none
        const char* matchedTerm;
    } rows[] = {
        {"261207", "12.00", 5, "261207", "11.58"},  // the nearer of two
        {"261207", "12.01", 5, "261207", "12.03"},
        {"261207", "11.54", 4, "261207", "11.50"},  // equal distances: the earlier
        {"261207", "12.20", 5, "", ""},             // none near enough
        {"261208", "00.01", 5, "261207", "23.58"},  // across midnight
        {"261207", "23.59", 0, "", ""},
    };
    for (const auto& row : rows) {
        std::string day, term;
        const bool found =
            MatchSiteTerm(dir.prefix(), "S", row.day, row.term, row.tolerance, day, term);
        EXPECT_EQ(found, *row.matchedDay != '\0') << row.day << " " << row.term;
        if (found) {
            EXPECT_EQ(day, row.matchedDay);
            EXPECT_EQ(term, row.matchedTerm);
        }
    }
}

// A site at 55 N 37 E whose every cell holds the message's offset; offset
// 666 does not decode.
bool SiteDecode(int32_t offset, RadarPicture& picture, DisplayState& state) {
    if (offset == 666) return false;
    picture.values.fill(offset % 100);
    state.siteLat = 55.0f;
    state.siteLon = 37.0f;
    return true;
}

// A column missing any of its layers keeps the site out of the composite,
// however many layers fail and in whatever order the products are asked.
TEST(MosaicTerm, ASiteWithBrokenHeightLayersIsLeftOutWithAllOfThem) {
    const struct {
        std::vector<int> broken;
        std::vector<int> asked;
        const char* why;  // empty: the site takes part
    } rows[] = {
        {{}, {kLayerEchoTops, kLayerColumnMax}, ""},
        {{5}, {kLayerEchoTops, kLayerColumnMax}, "layer 5 of term 12.00 does not decode"},
        {{21, 5}, {kLayerEchoTops, kLayerColumnMax}, "layer 5 of term 12.00 does not decode"},
        {{21, 5}, {kLayerColumnMax, kLayerEchoTops}, "layer 5 of term 12.00 does not decode"},
        {{9, 3}, {kLayerVil}, "layers 3, 9 of term 12.00 do not decode"},
    };
    for (const auto& row : rows) {
        testing::TempDir dir;
        std::string records;
        for (const int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 21}) {
            const bool broken =
                std::find(row.broken.begin(), row.broken.end(), code) != row.broken.end();
            records += testing::IndexRecordBytes(12, 0, code, broken ? 666 : 10 * code);
        }
        dir.write("S/261207.ind", records);
        MosaicLoader loader(SiteDecode);
        const MosaicRequest request{dir.prefix(), {"S"}, "261207", "12.00"};
        const MosaicTerm term = loader.Load(request, row.asked);
        ASSERT_EQ(term.sites.size(), 1u);
        EXPECT_EQ(term.sites[0].present, *row.why == '\0') << row.why;
        EXPECT_EQ(term.sites[0].why, row.why);
        for (const Composite& product : term.Products(row.asked, CompositeMethod::Maximum)) {
            EXPECT_EQ(product.presentCount(), *row.why == '\0' ? 1u : 0u) << product.layerCode;
        }
    }
}

}  // namespace
}  // namespace kalvera
