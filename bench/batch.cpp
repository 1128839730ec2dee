// Batch runs at scale, on an archive of made-up sites written for the run:
// terms per second through a whole run (every product of a term, decoded
// once) for GeoTIFF and ODIM_H5 with one and two workers, and the peak memory
// of kalvera-cli batch over one day and over a week, which must be the same.
// The figures are what a year of a network is estimated from (README).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "demo/synthetic_sites.h"
#include "geo/settings.h"
#include "output/batch_run.h"
#include "output/term_products.h"

namespace {

using namespace kalvera;

namespace fs = std::filesystem;

constexpr int kSites = 8;
constexpr int kDays = 7;
constexpr int kStepMinutes = 60;
constexpr int kThroughputSites = 4;

// User and system CPU time of the whole process, all threads, in seconds.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Archive {
    std::string scratch, startDir;
    std::vector<std::string> sites, days;
    AppConfig config;
    OdimIdentifiers odim;
    bool ready = false;
};

// kSites sites, kDays whole days up to 6 December 2026, a term an hour.
Archive& TheArchive() {
    static Archive archive = [] {
        Archive a;
        std::string pattern = (fs::temp_directory_path() / "kalvera-bench-batch-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return a;
        a.scratch = pattern;
        demo::DemoOptions options;
        options.dir = a.scratch + "/start";
        options.dataDir = (fs::path(__FILE__).parent_path().parent_path() / "data").string();
        options.days = kDays;
        options.stepMinutes = kStepMinutes;
        options.syntheticSites = kSites;
        const double now = EncodeDateTime({2026, 12, 6}, {23, 59, 0});
        std::string error;
        if (!demo::PrepareStartDirectory(options, error) ||
            demo::WriteHistory(options, now, error) <= 0 ||
            !LoadSettingsFrom(a.config, options.dir, error) ||
            !LoadOdimIdentifiers(options.dir, a.odim, error)) {
            std::fprintf(stderr, "bench_batch: cannot make the archive: %s\n", error.c_str());
            return a;
        }
        LoadPalette(a.config);
        a.startDir = options.dir;
        for (const demo::DemoSite& site : demo::SyntheticSites(kSites))
            a.sites.push_back(site.code);
        a.days = DaysBetween("261130", "261206");
        a.ready = true;
        return a;
    }();
    return archive;
}

// One day of kThroughputSites sites, every product: state.range(0) 0 for
// tif, 1 for h5; state.range(1) workers. Every file is synced as it is
// written, so more workers than cores still gain while others wait on the disk.
void BM_BatchTerms(benchmark::State& state) {
    Archive& archive = TheArchive();
    if (!archive.ready) return state.SkipWithError("no archive");
    BatchJob job;
    job.config = &archive.config;
    job.units = SiteDaysOf({archive.sites.begin(), archive.sites.begin() + kThroughputSites},
                           {archive.days.back()});
    job.layers = TermProductCodes();
    job.format = state.range(0) == 0 ? BatchFormat::GeoTiff : BatchFormat::OdimH5;
    job.outDir = archive.scratch + "/out";
    job.odim = archive.odim;
    job.jobs = static_cast<int>(state.range(1));
    int64_t terms = 0, files = 0;
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(job.outDir);
        state.ResumeTiming();
        const BatchReport report = RunBatch(job);
        if (report.totals.counts.failed != 0) return state.SkipWithError("a file failed");
        terms += report.totals.termsDone;
        files += report.totals.counts.written;
    }
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    state.SetItemsProcessed(terms);
    // What a core does when it never waits for the disk to sync a file.
    state.counters["terms per CPU-second"] = cpu > 0.0 ? static_cast<double>(terms) / cpu : 0.0;
    state.SetLabel(job.format == BatchFormat::GeoTiff ? "tif, 14 files a term"
                                                      : "h5, one file a term");
    state.counters["terms/s per worker"] = benchmark::Counter(
        static_cast<double>(terms) / static_cast<double>(job.jobs), benchmark::Counter::kIsRate);
    state.counters["files"] = static_cast<double>(files) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BatchTerms)
    ->ArgNames({"h5", "jobs"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({0, 4})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({1, 4})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Peak resident memory of kalvera-cli batch (h5, two workers) over the first
// state.range(0) days of the archive, as the system counts it for the child.
void BM_BatchPeakMemory(benchmark::State& state) {
    Archive& archive = TheArchive();
    if (!archive.ready) return state.SkipWithError("no archive");
    std::error_code error;
    const std::string cli = (fs::read_symlink("/proc/self/exe", error).parent_path().parent_path() /
                             "tools" / "kalvera-cli")
                                .string();
    if (!fs::exists(cli)) return state.SkipWithError("kalvera-cli is not built");
    const std::string to = archive.days[static_cast<size_t>(state.range(0) - 1)];
    const std::string out = archive.scratch + "/memory";
    long peakKb = 0;
    for (auto _ : state) {
        fs::remove_all(out);
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execl(cli.c_str(), cli.c_str(), "batch", "--start-dir", archive.startDir.c_str(),
                  "--from", archive.days.front().c_str(), "--to", to.c_str(), "--layers", "all",
                  "--format", "h5", "--out", out.c_str(), "--jobs", "2",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return state.SkipWithError("kalvera-cli batch failed");
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    state.counters["days"] = static_cast<double>(state.range(0));
    state.counters["peak MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(BM_BatchPeakMemory)
    ->Arg(1)
    ->Arg(kDays)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
