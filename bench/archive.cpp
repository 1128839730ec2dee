// Index reads on a full day and the latest-day search when a site has no data.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "common/clock.h"
#include "common/date_time.h"

namespace {

using namespace kalvera;
namespace fs = std::filesystem;

constexpr int kHours = 24;
constexpr int kTermsPerHour = 6;
constexpr int kLayers = 25;

class BenchDir {
  public:
    BenchDir() {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("kalvera-bench-" + std::to_string(seed()));
        fs::create_directories(path_ / "MSK");
        fs::create_directories(path_ / "EMPTY");
        std::ofstream out(path_ / "MSK" / "100102.ind", std::ios::binary);
        // A day as the archiver leaves it: every layer of a term, term after term.
        for (int hour = 0; hour < kHours; ++hour) {
            for (int term = 0; term < kTermsPerHour; ++term) {
                for (int layer = 0; layer < kLayers; ++layer) {
                    IndexRecord record;
                    record.hour = static_cast<uint8_t>(hour);
                    record.minute = static_cast<uint8_t>(term * 10);
                    record.layerCode = static_cast<uint8_t>(layer);
                    record.offset = (hour * 1000 + term * 100 + layer) * 4096;
                    const auto bytes = EncodeIndexRecord(record);
                    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
                }
            }
        }
    }
    ~BenchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string index() const { return (path_ / "MSK" / "100102.ind").string(); }
    std::string root() const { return path_.string() + "/"; }

  private:
    fs::path path_;
};

const BenchDir& Dir() {
    static const BenchDir dir;
    return dir;
}

void BM_LoadTermList(benchmark::State& state) {
    const std::string path = Dir().index();
    std::vector<std::string> terms;
    for (auto _ : state) benchmark::DoNotOptimize(LoadTermList(path, terms));
    if (terms.size() != kHours * kTermsPerHour) state.SkipWithError("wrong term count");
}
BENCHMARK(BM_LoadTermList)->Unit(benchmark::kMicrosecond);

void BM_LoadLayerList(benchmark::State& state) {
    const std::string path = Dir().index();
    std::vector<int> layers;
    for (auto _ : state) benchmark::DoNotOptimize(LoadLayerList(path, "23.50", layers));
    if (layers.size() != kLayers) state.SkipWithError("wrong layer count");
}
BENCHMARK(BM_LoadLayerList)->Unit(benchmark::kMicrosecond);

// The last record of the day: the whole file is read before the match.
void BM_FindMessageOffset(benchmark::State& state) {
    const std::string path = Dir().index();
    int32_t offset = 0;
    for (auto _ : state) benchmark::DoNotOptimize(offset = FindMessageOffset(path, "23.50", 24));
    if (offset < 0) state.SkipWithError("offset not found");
}
BENCHMARK(BM_FindMessageOffset)->Unit(benchmark::kMicrosecond);

// 2000 days tried, none with an index: the worst case of every update tick.
void BM_FindLatestDayFullMiss(benchmark::State& state) {
    const std::string root = Dir().root();
    const FixedClock clock(EncodeDateTime({2010, 1, 2}, {12, 0, 0}));
    DisplayState display;
    display.siteCode = "EMPTY";
    bool found = false;
    for (auto _ : state) benchmark::DoNotOptimize(found = FindLatestDay(display, root, clock));
    if (found) state.SkipWithError("a day was found");
}
BENCHMARK(BM_FindLatestDayFullMiss)->Unit(benchmark::kMillisecond);

void BM_FindLatestDayNoSiteDirectory(benchmark::State& state) {
    const std::string root = Dir().root();
    const FixedClock clock(EncodeDateTime({2010, 1, 2}, {12, 0, 0}));
    DisplayState display;
    display.siteCode = "ABSENT";
    for (auto _ : state) benchmark::DoNotOptimize(FindLatestDay(display, root, clock));
}
BENCHMARK(BM_FindLatestDayNoSiteDirectory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
