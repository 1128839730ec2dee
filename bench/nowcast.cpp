// The nowcast on a demo day: the motion and six leads of one 100 x 100 grid,
// the cells of one term found and matched to the term before, the whole
// day's verification as `kalvera-cli verify` runs it, reading included, and
// one `nowcast --mosaic` of six leads on the composite of the six demo
// sites (reading the three terms the motion needs, composing them, the
// motion and the leads; the files it writes not included), against reading
// the day up to the term as it was done before; and `cells --mosaic` and
// `verify --mosaic` of the composite's day, with their peak memory.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "demo/demo_sites.h"
#include "demo_scene.h"
#include "geo/settings.h"
#include "nowcast/day_nowcast.h"
#include "nowcast/verification.h"
#include "output/mosaic_source.h"
#include "products/derived_products.h"

namespace {

using namespace kalvera;

// The busy moment's day up to 16.00 (a term every 10 minutes) of the default demo site,
// its column maximum, echo tops and VIL read once.
struct NowcastDay {
    std::string scratch;
    DisplayState state;
    DisplayState fullDay;  // the day before, all 144 terms of it
    std::vector<DayTerm> terms;
    size_t busiest = 0;  // the term with the most storm cells
    bool ready = false;

    NowcastDay() {
        const bench::DemoArchive made = bench::MakeDemoArchive("nowcast", 2);
        scratch = made.scratch;
        if (!made.ready) return;
        AppConfig config;
        std::string error;
        if (!LoadSettingsFrom(config, made.startDir, error)) return;
        const DayArchive day =
            DayArchive::Of(config.dataRoot, demo::DefaultDemoSite().code, DayNameOf(made.now));
        state.siteCode = day.siteCode;
        state.dayName = day.dayName;
        state.indexPath = day.indexPath;
        state.basePath = day.basePath;
        state.recentre = 1;
        const DayArchive before = DayArchive::Of(config.dataRoot, demo::DefaultDemoSite().code,
                                                 DayNameOf(made.now - 1.0));
        fullDay = state;
        fullDay.dayName = before.dayName;
        fullDay.indexPath = before.indexPath;
        fullDay.basePath = before.basePath;
        if (!LoadDayTerms(state, {kLayerColumnMax, kLayerEchoTops, kLayerVil}, "", terms, error)) {
            std::fprintf(stderr, "bench_nowcast: %s\n", error.c_str());
            return;
        }
        size_t most = 0;
        for (size_t k = 2; k < terms.size(); ++k) {
            const GridValues* g = terms[k].layer(kLayerColumnMax);
            if (!g) continue;
            const size_t cells = IdentifyCells(*g).size();
            if (cells > most) most = cells, busiest = k;
        }
        ready = busiest > 0;
    }
    ~NowcastDay() {
        std::error_code ignored;
        if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
    }
};

NowcastDay& Day() {
    static NowcastDay day;
    return day;
}

void BM_MotionAndSixLeads(benchmark::State& st) {
    NowcastDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const GridValues& newest = *day.terms[day.busiest].layer(kLayerColumnMax);
    const std::vector<int> leads = NowcastLeads();
    for (auto _ : st) {
        const MotionField motion = MotionAt(day.terms, day.busiest, kLayerColumnMax);
        const std::vector<GridValues> forecasts =
            Extrapolate(newest, motion, leads, AdvectionOf(kLayerColumnMax));
        benchmark::DoNotOptimize(forecasts.data());
    }
}
BENCHMARK(BM_MotionAndSixLeads)->Unit(benchmark::kMillisecond);

// The tracker holds the day up to the term before; each round adds the term.
void BM_CellsOfATerm(benchmark::State& st) {
    NowcastDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    CellTracker before;
    for (size_t k = 0; k < day.busiest; ++k) {
        const DayTerm& t = day.terms[k];
        before.add({t.termText, t.minutes, t.layer(kLayerColumnMax), t.layer(kLayerEchoTops),
                    t.layer(kLayerVil)},
                   MotionAt(day.terms, k, kLayerColumnMax));
    }
    const DayTerm& t = day.terms[day.busiest];
    const CellFields fields{t.termText, t.minutes, t.layer(kLayerColumnMax),
                            t.layer(kLayerEchoTops), t.layer(kLayerVil)};
    // The motion is the nowcast's, made once per term for both.
    const MotionField motion = MotionAt(day.terms, day.busiest, kLayerColumnMax);
    size_t cells = 0;
    for (auto _ : st) {
        CellTracker tracker = before;
        cells = tracker.add(fields, motion).cells.size();
        benchmark::DoNotOptimize(cells);
    }
    st.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_CellsOfATerm)->Unit(benchmark::kMicrosecond);

// `kalvera-cli verify` over the whole day before: reading and deriving the column maximum
// of every term, then the nowcasts from each and their scores.
void BM_VerifyADay(benchmark::State& st) {
    NowcastDay& day = Day();
    if (!day.ready) return st.SkipWithError("no demo archive");
    size_t terms = 0;
    for (auto _ : st) {
        std::vector<DayTerm> read;
        std::string error;
        LoadDayTerms(day.fullDay, {kLayerColumnMax}, "", read, error);
        std::vector<VerifyTerm> verified;
        for (DayTerm& t : read) {
            if (const GridValues* g = t.layer(kLayerColumnMax)) {
                verified.push_back({t.termText, t.minutes, *g});
            }
        }
        terms = verified.size();
        const std::vector<VerifyRow> rows = VerifyDay(verified, 60, kLayerColumnMax);
        benchmark::DoNotOptimize(rows.data());
    }
    st.counters["terms"] = static_cast<double>(terms);
}
BENCHMARK(BM_VerifyADay)->Unit(benchmark::kMillisecond)->Iterations(3);

// The six demo sites' archive of the busy moment's day.
struct MosaicDay {
    bench::DemoArchive made;
    AppConfig config;
    std::string day;
    std::string term = "16.00";
    bool ready = false;

    MosaicDay() {
        made =
            bench::MakeDemoArchive("nowcast-mosaic", 1, static_cast<int>(demo::DemoSites().size()));
        std::string error;
        if (!made.ready || !LoadSettingsFrom(config, made.startDir, error)) return;
        ListSites(config);
        day = DayNameOf(made.now);
        ready = true;
    }
    ~MosaicDay() {
        std::error_code ignored;
        if (!made.scratch.empty()) std::filesystem::remove_all(made.scratch, ignored);
    }
};

MosaicDay& Mosaic() {
    static MosaicDay day;
    return day;
}

void BM_MosaicNowcastSixLeads(benchmark::State& st, size_t termsRead) {
    MosaicDay& day = Mosaic();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const MosaicRequest request = MosaicRequestOf(day.config, MosaicChoice{}, day.day, "");
    size_t cells = 0;
    for (auto _ : st) {
        MosaicLoader loader;
        std::vector<DayTerm> terms;
        std::string error;
        LoadMosaicTermsAcrossDays(loader, request, CompositeMethod::Maximum, {kLayerColumnMax},
                                  TermSelection(day.term, termsRead), terms, error);
        if (terms.empty() || !terms.back().layer(kLayerColumnMax)) {
            return st.SkipWithError("no composite of the term");
        }
        const MotionField motion = MotionAt(terms, terms.size() - 1, kLayerColumnMax);
        const std::vector<GridValues> leads =
            Extrapolate(*terms.back().layer(kLayerColumnMax), motion, NowcastLeads(),
                        AdvectionOf(kLayerColumnMax));
        cells = leads.front().values.size();
        benchmark::DoNotOptimize(leads.data());
    }
    st.counters["cells"] = static_cast<double>(cells);
}
// Three terms, as `nowcast` reads them; 0: the day up to the term.
BENCHMARK_CAPTURE(BM_MosaicNowcastSixLeads, three_terms, 3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_MosaicNowcastSixLeads, day_up_to_the_term, 0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// `kalvera-cli cells --mosaic` of the day: the composite's column maximum, echo
// tops and VIL of every term read a part at a time and the cells tracked. The
// peak resident size is the process's so far: run it alone with
// --benchmark_filter=MosaicCells for the command's own.
void BM_MosaicCellsADay(benchmark::State& st) {
    MosaicDay& day = Mosaic();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const MosaicRequest request = MosaicRequestOf(day.config, MosaicChoice{}, day.day, "");
    size_t terms = 0;
    for (auto _ : st) {
        MosaicLoader loader;
        std::vector<TermCells> cells;
        std::string error;
        TrackMosaicDay(loader, request, CompositeMethod::Maximum, TermSelection(), CellOptions{},
                       cells, error);
        terms = cells.size();
        benchmark::DoNotOptimize(cells.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    st.counters["terms"] = static_cast<double>(terms);
    st.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_MosaicCellsADay)->Unit(benchmark::kMillisecond)->Iterations(1);

// `kalvera-cli verify --mosaic`: the composite's column maximum of every term of the
// day read and composed, then the nowcasts from each and their scores. The peak
// resident size is the process's so far (getrusage), read after the run.
void BM_MosaicVerifyADay(benchmark::State& st) {
    MosaicDay& day = Mosaic();
    if (!day.ready) return st.SkipWithError("no demo archive");
    const MosaicRequest request = MosaicRequestOf(day.config, MosaicChoice{}, day.day, "");
    size_t terms = 0;
    for (auto _ : st) {
        MosaicLoader loader;
        std::vector<DayTerm> read;
        std::string error;
        LoadMosaicTermsAcrossDays(loader, request, CompositeMethod::Maximum, {kLayerColumnMax},
                                  TermSelection(), read, error);
        std::vector<VerifyTerm> verified;
        for (DayTerm& t : read) {
            if (GridValues* g =
                    t.layers.count(kLayerColumnMax) ? &t.layers[kLayerColumnMax] : nullptr) {
                verified.push_back({t.termText, t.minutes, std::move(*g)});
            }
        }
        terms = verified.size();
        const std::vector<VerifyRow> rows = VerifyDay(verified, 60, kLayerColumnMax);
        benchmark::DoNotOptimize(rows.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    st.counters["terms"] = static_cast<double>(terms);
    st.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_MosaicVerifyADay)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
