// Speed of the map exports of one term, each as the update tick and
// kalvera-cli export run it (decode the layer from the archive, make the file
// in memory, replace the target), and of the encoders alone on a grid full of
// cells. Run from the build directory: the demo archive takes the map
// resources from ../data.

#include "output/map_export.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "demo_scene.h"

namespace {

using namespace kalvera;

bench::DemoScene& TheScene() {
    static bench::DemoScene scene = bench::MakeDemoScene("map-export", 700);
    return scene;
}

void BM_WriteTermMap(benchmark::State& state, const char* name) {
    bench::DemoScene& scene = TheScene();
    if (!scene.ready) return state.SkipWithError("no demo scene");
    const ViewerState& viewer = *scene.viewer;
    const std::string path = scene.scratch + "/" + name;
    std::string error;
    for (auto _ : state) {
        if (!WriteTermMap(viewer.config, viewer.display, viewer.display.layerCode, path, error)) {
            return state.SkipWithError(error.c_str());
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["cells"] = bench::DrawnCells(viewer);
}
BENCHMARK_CAPTURE(BM_WriteTermMap, geotiff, "map.tif")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_WriteTermMap, kmz, "map.kmz")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_WriteTermMap, geojson, "map.geojson")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_WriteTermMap, gpkg, "map.gpkg")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The worst case for the encoders: every cell drawn, the classes changing
// from cell to cell so that each makes polygons of its own.
void BM_EncodeDenseGrid(benchmark::State& state, MapFormat format) {
    MapSource source;
    source.layerCode = 1;
    source.siteLat = 55.65f;
    source.siteLon = 37.77f;
    for (size_t k = 0; k < source.palette.size(); ++k) {
        source.palette[k] = static_cast<uint32_t>(0x102030 + 0x0B0705 * k);
    }
    for (int i = 0; i < kGridCells; ++i) {
        source.grid.values[static_cast<size_t>(i)] = 5 + 10 * ((i * 7 + i / kGridSide) % 19);
    }
    std::string error;
    size_t bytes = 0;
    for (auto _ : state) {
        const std::optional<std::string> file =
            format == MapFormat::GeoTiff ? EncodeGeoTiff(source, error)
            : format == MapFormat::Kmz   ? EncodeKmz(source, error)
                                         : EncodeClassPolygons(source, "GeoJSON", error);
        if (!file) return state.SkipWithError(error.c_str());
        bytes = file->size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(BM_EncodeDenseGrid, geotiff, MapFormat::GeoTiff)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_EncodeDenseGrid, kmz, MapFormat::Kmz)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_EncodeDenseGrid, geojson, MapFormat::GeoJson)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return kalvera::bench::RunBenchmarks(argc, argv,
                                         [] { kalvera::bench::RemoveScratch(TheScene()); });
}
