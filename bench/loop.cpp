// The loop's figures on a demo archive of two days made for the run: a frame
// switch at a picture side of 1000 pixels, on a plain screen and on one of
// device pixel ratio 2 (the decoded grid drawn over the
// map with its legend and term cell), preparing 72 frames, the resident
// memory of a 72-frame loop at that side, and 36 frames written as an
// animated GIF at side 700.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "archive/frame_selection.h"
#include "archive/frame_store.h"
#include "demo_scene.h"
#include "output/loop_animation.h"
#include "products/term_layers.h"
#include "render/picture_render.h"

namespace {

using namespace kalvera;
using Scene = bench::DemoScene;

constexpr int kSide = 1000;
constexpr int kGifSide = 700;

Scene& TheScene() {
    static Scene scene = bench::MakeDemoScene("loop", kSide, 2);
    return scene;
}

// Screens of device pixel ratio 2: 1920 x 1080 at 200 % gives a picture of
// about 500 logical pixels (the device pixels of kSide at ratio 1), a 4K
// screen at 200 % one of kSide (four times as many).
Scene& TheSceneAtRatio2() {
    static Scene scene = bench::MakeDemoScene("loop-ratio2", kSide / 2, 2, 2.0);
    return scene;
}
Scene& TheLargeSceneAtRatio2() {
    static Scene scene = bench::MakeDemoScene("loop-ratio2-4k", kSide, 2, 2.0);
    return scene;
}

std::vector<LoopFrame> Frames(const Scene& scene, int count) {
    const ViewerState& v = *scene.viewer;
    return SelectLoopFrames(v.config.dataRoot, scene.site, v.display.currentDate, scene.term,
                            count);
}

void PrepareAll(FrameStore& store) {
    while (store.prepareSome(std::chrono::hours(1))) {
    }
}

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kilobytes = 0.0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kilobytes;
            break;
        }
    }
    return kilobytes / 1024.0;
}

// Frames load as the window's loop loads them.
GridLoader Loader(const ViewerState& v) {
    return [&v](DisplayState& state, RadarPicture& grid) {
        return LoadLayerPicture(state, grid, v.decoder);
    };
}

// What the window does when the frame timer fires: the next grid drawn over
// the map, the legend and the term cell.
void SwitchFrames(benchmark::State& state, Scene& scene) {
    if (!scene.ready) return state.SkipWithError("no demo scene");
    ViewerState& v = *scene.viewer;
    FrameStore store(Loader(v));
    store.setFrames(Frames(scene, kLoopFramesMax), scene.site, v.display.layerCode);
    PrepareAll(store);
    int shown = 0;
    for (auto _ : state) {
        shown = store.nextShowable(shown + 1, +1);
        if (shown < 0) return state.SkipWithError("no frame decodes");
        const FrameGrid& grid = *store.grid(shown);
        v.picture = grid.picture;
        v.display.siteLat = grid.siteLat;
        v.display.siteLon = grid.siteLon;
        DrawDecodedPicture(v);
        WriteHeaderCell(v, 0, store.frame(shown).termText);
    }
    state.counters["frames"] = store.size();
}

void BM_FrameSwitch(benchmark::State& state) {
    SwitchFrames(state, TheScene());
}
BENCHMARK(BM_FrameSwitch)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_FrameSwitchAtRatio2(benchmark::State& state) {
    SwitchFrames(state, TheSceneAtRatio2());
}
BENCHMARK(BM_FrameSwitchAtRatio2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_FrameSwitchAtRatio2On4K(benchmark::State& state) {
    SwitchFrames(state, TheLargeSceneAtRatio2());
}
BENCHMARK(BM_FrameSwitchAtRatio2On4K)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Prepare72Frames(benchmark::State& state) {
    NEED_SCENE(state);
    const std::vector<LoopFrame> frames = Frames(scene, kLoopFramesMax);
    for (auto _ : state) {
        FrameStore store(Loader(v));
        store.setFrames(frames, scene.site, v.display.layerCode);
        PrepareAll(store);
    }
    state.counters["frames"] = static_cast<double>(frames.size());
}
BENCHMARK(BM_Prepare72Frames)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The whole process with the window's bitmaps at side 1000 and a prepared
// 72-frame loop.
void BM_LoopResidentMemory(benchmark::State& state) {
    NEED_SCENE(state);
    FrameStore store(Loader(v));
    for (auto _ : state) {
        store.setFrames(Frames(scene, kLoopFramesMax), scene.site, v.display.layerCode);
        PrepareAll(store);
        for (int i = 0; i < store.size(); ++i) {
            if (const FrameGrid* grid = store.grid(i)) {
                v.picture = grid->picture;
                DrawDecodedPicture(v);
            }
        }
    }
    state.counters["rss_MB"] = ResidentMegabytes();
    state.counters["frames"] = store.size();
}
BENCHMARK(BM_LoopResidentMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// kalvera-cli loop's work for 36 frames at side 700: decode, draw, compose,
// index the colours and encode, then write the file.
void BM_Gif36Frames(benchmark::State& state) {
    NEED_SCENE(state);
    ViewerState like;
    like.config = v.config;
    like.display = v.display;
    like.layout = ComputePictureLayout(176, kGifSide + kHeaderHeight + 10);
    like.MapLayer.setSize(kGifSide, kGifSide);
    like.PictureLayer.setSize(kGifSide, kGifSide);
    like.WindowDC.setSize(WindowWidthFor(like.layout), like.layout.picture.bottom() + 10, kWhite);
    const std::vector<LoopFrame> frames = Frames(scene, 36);
    const std::string path = scene.scratch + "/loop.gif";
    int shown = 0;
    for (auto _ : state) {
        std::string error;
        if (!WriteLoopAnimation(like, frames, {}, path, error, &shown)) {
            return state.SkipWithError(error.c_str());
        }
    }
    state.counters["frames"] = shown;
}
BENCHMARK(BM_Gif36Frames)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kalvera::bench::RunBenchmarks(argc, argv, [] {
        kalvera::bench::RemoveScratch(TheScene());
        kalvera::bench::RemoveScratch(TheSceneAtRatio2());
        kalvera::bench::RemoveScratch(TheLargeSceneAtRatio2());
    });
}
