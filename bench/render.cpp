// Speed of RenderPicture at a picture side of 1000 pixels on a demo archive
// made for the run: decode, map background, cells, composition and legend as
// one, and each of them alone to show what the whole is made of.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "common/clock.h"
#include "decode/picture_loader.h"
#include "demo/demo_generator.h"
#include "demo/demo_sites.h"
#include "geo/map_background.h"
#include "geo/settings.h"
#include "render/picture_render.h"

namespace {

using namespace kalvera;

constexpr int kSide = 1000;

struct Scene {
    std::string scratch;
    std::unique_ptr<ViewerState> viewer;
    bool ready = false;
};

Scene MakeScene() {
    Scene s;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kalvera-bench-render-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return s;
    s.scratch = pattern;
    demo::DemoOptions options;
    options.dir = s.scratch + "/start";
    options.dataDir =
        (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string();
    options.days = 1;
    options.siteCount = 1;
    std::string error;
    const double now = systemClock().now();
    if (!demo::PrepareStartDirectory(options, error) ||
        demo::WriteHistory(options, now, error) <= 0) {
        std::fprintf(stderr, "bench_render: cannot make the demo archive: %s\n", error.c_str());
        return s;
    }
    s.viewer = std::make_unique<ViewerState>();
    ViewerState& v = *s.viewer;
    if (!LoadSettingsFrom(v.config, options.dir, error)) return s;
    LoadPalette(v.config);
    const std::string site = demo::DefaultDemoSite().code;
    const DayArchive archive = DayArchive::Of(v.config.dataRoot, site, DayNameOf(now));
    std::vector<std::string> terms;
    if (LoadTermList(archive.indexPath, terms) == 0) return s;
    DisplayState& d = v.display;
    d.siteCode = site;
    d.indexPath = archive.indexPath;
    d.basePath = archive.basePath;
    d.termText = terms.back();
    d.layerCode = 1;  // the lowest reflectivity layer holds the most cells
    d.viewLat = v.config.centreLat;
    d.viewLon = v.config.centreLon;
    d.viewHalfExtentKm = 200.0f;
    d.recentre = 1;
    v.layout = ComputePictureLayout(176, kSide + 40);
    v.MapLayer.setSize(kSide, kSide);
    v.PictureLayer.setSize(kSide, kSide);
    v.WindowDC.setSize(WindowWidthFor(v.layout), kSide + 40, 0xC0C0C0);
    s.ready = RenderPicture(v);
    return s;
}

Scene& TheScene() {
    static Scene scene = MakeScene();
    return scene;
}

#define NEED_SCENE(state)                                            \
    Scene& scene = TheScene();                                       \
    if (!scene.ready) return (state).SkipWithError("no demo scene"); \
    ViewerState& v = *scene.viewer

void BM_RenderPicture(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) {
        if (!RenderPicture(v)) return state.SkipWithError("render failed");
    }
    int drawn = 0;
    for (int32_t value : v.picture.values) drawn += value > v.display.filterThreshold;
    state.counters["cells"] = drawn;
}
BENCHMARK(BM_RenderPicture)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(true);

void BM_DecodeOnly(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) {
        const int32_t offset =
            FindMessageOffset(v.display.indexPath, v.display.termText, v.display.layerCode);
        benchmark::DoNotOptimize(loadPicture(offset, v.picture, v.display));
    }
}
BENCHMARK(BM_DecodeOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MapBackgroundOnly(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) {
        DrawMapBackground(v.MapLayer, v.display, v.config.startDir, v.view, v.mapCache);
    }
}
BENCHMARK(BM_MapBackgroundOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ComposeOnly(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) ComposePicture(v);
}
BENCHMARK(BM_ComposeOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LegendOnly(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) DrawLegend(v, v.WindowDC);
}
BENCHMARK(BM_LegendOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The paint handler's work: header, composition and legend, no decode.
void BM_RepaintWindow(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) RepaintWindow(v, false);
}
BENCHMARK(BM_RepaintWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!TheScene().scratch.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(TheScene().scratch, ignored);
    }
    return 0;
}
