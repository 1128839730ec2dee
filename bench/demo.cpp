// Demo archive generation: the whole history the run command writes, and the
// parts of one term. Target: 3 sites x 3 days at 10-minute terms under 10 s.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "demo/term_products.h"
#include "demo/weather_model.h"

namespace {

namespace fs = std::filesystem;

double SummerAfternoon() {
    return kalvera::EncodeDateTime({2026, 7, 10}, {23, 59, 0});
}

void BM_History3Sites3Days(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("kalvera-bench-demo-" + std::to_string(getpid()));
    kalvera::demo::DemoOptions options;
    options.dir = dir.string();
    // The shipped resources, found beside this source file's folder.
    options.dataDir = (fs::path(__FILE__).parent_path().parent_path() / "data").string();
    options.siteCount = static_cast<int>(state.range(0));
    options.days = 3;
    options.stepMinutes = 10;
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(dir);
        std::string error;
        if (!kalvera::demo::PrepareStartDirectory(options, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
        written = kalvera::demo::WriteHistory(options, SummerAfternoon(), error);
    }
    fs::remove_all(dir);
    state.counters["site_terms"] = written;
    state.counters["messages"] = written * 12;
}
BENCHMARK(BM_History3Sites3Days)->Arg(3)->Arg(4)->Unit(benchmark::kSecond)->Iterations(2);

void BM_SceneAt(benchmark::State& state) {
    const kalvera::demo::WeatherModel model(20240611);
    double t = SummerAfternoon() - 0.4;
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.at(t));
        t += 10.0 / 1440.0;
    }
}
BENCHMARK(BM_SceneAt)->Unit(benchmark::kMicrosecond);

void BM_SampleTerm(benchmark::State& state) {
    const auto scene = kalvera::demo::WeatherModel(20240611).at(SummerAfternoon() - 0.4);
    const auto& site = kalvera::demo::DemoSites()[0];
    for (auto _ : state) benchmark::DoNotOptimize(kalvera::demo::SampleTerm(site, scene));
}
BENCHMARK(BM_SampleTerm)->Unit(benchmark::kMillisecond);

void BM_EncodeTerm(benchmark::State& state) {
    const auto& site = kalvera::demo::DemoSites()[static_cast<size_t>(state.range(0))];
    const auto t = SummerAfternoon() - 0.4;
    const auto grids = kalvera::demo::SampleTerm(site, kalvera::demo::WeatherModel(20240611).at(t));
    size_t bytes = 0;
    for (auto _ : state) {
        const auto messages = kalvera::demo::EncodeTerm(site, grids, t);
        bytes = 0;
        for (const auto& m : messages) bytes += m.bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["term_bytes"] = static_cast<double>(bytes);
}
// Site 0 writes the fixed layout, site 1 the generic product.
BENCHMARK(BM_EncodeTerm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
