// Speed of RenderPicture at a picture side of 1000 pixels on a demo archive
// made for the run: decode, map background, cells, composition and legend as
// one, and each of them alone to show what the whole is made of.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "decode/picture_loader.h"
#include "demo_scene.h"
#include "render/map_background.h"
#include "render/picture_render.h"

namespace {

using namespace kalvera;

constexpr int kSide = 1000;

using Scene = bench::DemoScene;

Scene& TheScene() {
    static Scene scene = bench::MakeDemoScene("render", kSide);
    return scene;
}

void BM_RenderPicture(benchmark::State& state) {
    NEED_SCENE(state);
    for (auto _ : state) {
        if (!RenderPicture(v)) return state.SkipWithError("render failed");
    }
    state.counters["cells"] = bench::DrawnCells(v);
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
    return kalvera::bench::RunBenchmarks(argc, argv,
                                         [] { kalvera::bench::RemoveScratch(TheScene()); });
}
