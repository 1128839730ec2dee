// Speed of the automatic export at a picture side of 1000 pixels (compose the
// layers and header, encode the JPEG, replace the file), and of kalvera-cli
// render as a whole process, on a demo archive made for the run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "common/clock.h"
#include "demo/demo_generator.h"
#include "demo/demo_sites.h"
#include "geo/settings.h"
#include "output/jpeg_writer.h"
#include "output/picture_export.h"
#include "render/picture_render.h"

namespace {

using namespace kalvera;

constexpr int kSide = 1000;

struct Scene {
    std::string scratch;
    std::string startDir;
    std::string site;
    std::string day;
    std::string term;
    std::unique_ptr<ViewerState> viewer;
    std::string exportPath;
    bool ready = false;
};

std::filesystem::path ExecutableDir() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

// A one-site demo archive of today and the viewer state of its newest term,
// rendered at side 1000 as the window would.
Scene& TheScene() {
    static Scene scene = [] {
        Scene s;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kalvera-bench-export-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return s;
        s.scratch = pattern;
        demo::DemoOptions options;
        options.dir = s.scratch + "/start";
        options.dataDir =
            (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string();
        options.days = 1;
        options.siteCount = 1;
        std::string error;
        if (!demo::PrepareStartDirectory(options, error) ||
            demo::WriteHistory(options, systemClock().now(), error) <= 0) {
            std::fprintf(stderr, "bench_export: cannot make the demo archive: %s\n", error.c_str());
            return s;
        }
        s.startDir = options.dir;
        s.site = demo::DefaultDemoSite().code;
        s.day = DayNameOf(systemClock().now());

        s.viewer = std::make_unique<ViewerState>();
        ViewerState& v = *s.viewer;
        if (!LoadSettingsFrom(v.config, s.startDir, error)) return s;
        LoadPalette(v.config);
        const DayArchive archive = DayArchive::Of(v.config.dataRoot, s.site, s.day);
        std::vector<std::string> terms;
        if (LoadTermList(archive.indexPath, terms) == 0) return s;
        s.term = terms.back();
        v.display.siteCode = s.site;
        v.display.dayName = s.day;
        v.display.indexPath = archive.indexPath;
        v.display.basePath = archive.basePath;
        v.display.currentDate = systemClock().now();
        v.display.termText = s.term;
        v.display.layerCode = 1;  // the lowest reflectivity layer: the most cells
        v.display.viewHalfExtentKm = 200.0f;
        v.display.recentre = 0;
        v.layout = ComputePictureLayout(176, kSide + 40);
        v.MapLayer.setSize(kSide, kSide);
        v.PictureLayer.setSize(kSide, kSide);
        v.WindowDC.setSize(WindowWidthFor(v.layout), kSide + 50, kWhite);
        if (!RenderPicture(v)) return s;
        s.exportPath = s.scratch + "/zeb.jpg";
        std::ofstream(s.exportPath) << "placeholder";
        s.ready = true;
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
