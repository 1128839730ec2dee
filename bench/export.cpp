// Speed of the automatic export at a picture side of 1000 pixels (compose the
// layers and header, encode the JPEG, replace the file), and of kalvera-cli
// render as a whole process, on a demo archive made for the run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "demo_scene.h"
#include "output/jpeg_writer.h"
#include "output/picture_export.h"
#include "render/picture_render.h"

namespace {

using namespace kalvera;

constexpr int kSide = 1000;

struct Scene : bench::DemoScene {
    std::string exportPath;
};

std::filesystem::path ExecutableDir() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

// The export replaces only an existing file, so one is put in place first.
Scene& TheScene() {
    static Scene scene = [] {
        Scene s;
        static_cast<bench::DemoScene&>(s) = bench::MakeDemoScene("export", kSide);
        if (!s.ready) return s;
        s.exportPath = s.scratch + "/zeb.jpg";
        std::ofstream(s.exportPath) << "placeholder";
        return s;
    }();
    return scene;
}

void BM_ExportPictureFile(benchmark::State& state) {
    Scene& scene = TheScene();
    if (!scene.ready) return state.SkipWithError("no demo scene");
    for (auto _ : state) {
        if (!ExportPictureFile(*scene.viewer, scene.exportPath)) {
            return state.SkipWithError("export failed");
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(scene.exportPath));
}
BENCHMARK(BM_ExportPictureFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The parts of the export: composing the bitmap, and the JPEG encoding alone.
void BM_ComposeExportImage(benchmark::State& state) {
    Scene& scene = TheScene();
    if (!scene.ready) return state.SkipWithError("no demo scene");
    for (auto _ : state) benchmark::DoNotOptimize(ComposeExportImage(*scene.viewer));
}
BENCHMARK(BM_ComposeExportImage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_EncodeJpeg(benchmark::State& state) {
    Scene& scene = TheScene();
    if (!scene.ready) return state.SkipWithError("no demo scene");
    const QImage image = ComposeExportImage(*scene.viewer);
    std::vector<unsigned char> jpeg;
    std::string error;
    for (auto _ : state) EncodeJpeg(image, kJpegQuality, jpeg, error);
}
BENCHMARK(BM_EncodeJpeg)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// kalvera-cli render from process start to exit: start-up, settings, decode,
// map, cells, legend, JPEG.
void BM_CliRenderProcess(benchmark::State& state) {
    Scene& scene = TheScene();
    const std::filesystem::path cli = ExecutableDir().parent_path() / "tools" / "kalvera-cli";
    if (!scene.ready || !std::filesystem::exists(cli)) {
        return state.SkipWithError("kalvera-cli or the demo scene is missing");
    }
    const std::string command = cli.string() + " render --start-dir " + scene.startDir +
                                " --site " + scene.site + " --day " + scene.day + " --term " +
                                scene.term + " --layer 1 --side " + std::to_string(state.range(0)) +
                                " --out " + scene.scratch + "/cli.jpg";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) return state.SkipWithError("render failed");
    }
}
BENCHMARK(BM_CliRenderProcess)
    ->Arg(700)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kalvera::bench::RunBenchmarks(argc, argv,
                                         [] { kalvera::bench::RemoveScratch(TheScene()); });
}
