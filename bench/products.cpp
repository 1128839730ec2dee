// Derived products and point histories on a demo archive: the column maximum
// and VIL of a term once its layers are decoded, and the history of one point
// over a whole day of 144 terms, read from the files as the viewer reads them.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "demo/demo_sites.h"
#include "demo_scene.h"
#include "geo/settings.h"
#include "products/point_history.h"
#include "products/section.h"
#include "products/term_layers.h"

namespace {

using namespace kalvera;

// Yesterday's complete day (a term every 10 minutes) of the default demo site.
struct DemoDay {
    std::string scratch;
    DisplayState state;
    std::vector<std::string> terms;
    bool ready = false;

    DemoDay() {
        const bench::DemoArchive made = bench::MakeDemoArchive("products", 2);
        scratch = made.scratch;
        if (!made.ready) return;
        AppConfig config;
        std::string error;
        if (!LoadSettingsFrom(config, made.startDir, error)) {
            std::fprintf(stderr, "bench_products: cannot make the demo archive: %s\n",
                         error.c_str());
            return;
        }
        const DayArchive day = DayArchive::Of(config.dataRoot, demo::DefaultDemoSite().code,
                                              DayNameOf(made.now - 1.0));
        state.siteCode = day.siteCode;
        state.dayName = day.dayName;
        state.indexPath = day.indexPath;
        state.basePath = day.basePath;
        state.recentre = 1;
        ready = LoadTermList(day.indexPath, terms) > 0;
        // The busiest term: the one whose layers hold the most echo.
        if (ready) state.termText = terms[terms.size() / 2];
    }
    ~DemoDay() {
        std::error_code ignored;
        if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
    }
};

DemoDay& Day() {
    static DemoDay day;
    return day;
}

// Beyond decoding: both products of a term whose layers are decoded already.
void BM_DeriveBothProducts(benchmark::State& st) {
    DemoDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    DisplayState state = day.state;
    TermLayers term;
    if (!LoadTermLayers(state, HeightLayerCodes(), IndexOffsets(state), term)) {
        return st.SkipWithError("the term does not decode");
    }
    RadarPicture columnMax, vil;
    for (auto _ : st) {
        DeriveProduct(kLayerColumnMax, term.heights(), columnMax);
        DeriveProduct(kLayerVil, term.heights(), vil);
        benchmark::DoNotOptimize(vil.values.data());
    }
}
BENCHMARK(BM_DeriveBothProducts)->Unit(benchmark::kMicrosecond);

// For comparison: reading and decoding the ten layers of the same term.
void BM_DecodeTenLayers(benchmark::State& st) {
    DemoDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    DisplayState state = day.state;
    TermLayers term;
    for (auto _ : st) {
        LoadTermLayers(state, HeightLayerCodes(), IndexOffsets(state), term);
        benchmark::DoNotOptimize(term.grids[0].get());
    }
}
BENCHMARK(BM_DecodeTenLayers)->Unit(benchmark::kMicrosecond);

// The history window's and `kalvera-cli history`'s work for one point.
void BM_PointHistoryOfADay(benchmark::State& st) {
    DemoDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const demo::DemoSite& site = demo::DefaultDemoSite();
    const auto lat = static_cast<float>(site.lat + 0.3), lon = static_cast<float>(site.lon - 0.4);
    std::vector<HistoryRow> rows;
    for (auto _ : st) {
        PointHistory(day.state, lat, lon, rows);
        benchmark::DoNotOptimize(rows.data());
    }
    st.counters["terms"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_PointHistoryOfADay)->Unit(benchmark::kMillisecond);

// A section across the whole grid, the decode included.
void BM_SectionAcrossTheGrid(benchmark::State& st) {
    DemoDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const demo::DemoSite& site = demo::DefaultDemoSite();
    const GeoPoint from{static_cast<float>(site.lat), static_cast<float>(site.lon)};
    Section section;
    for (auto _ : st) {
        DisplayState state = day.state;
        LoadSection(state, {from.lat - 1.8f, from.lon - 3.2f}, {from.lat + 1.8f, from.lon + 3.2f},
                    section);
        benchmark::DoNotOptimize(section.samples.data());
    }
    st.counters["samples"] = static_cast<double>(section.samples.size());
}
BENCHMARK(BM_SectionAcrossTheGrid)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
