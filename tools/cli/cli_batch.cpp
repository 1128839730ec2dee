// kalvera-cli batch: every term of a range of days at many sites, each
// product to its own file, with N workers on this machine and, through
// --shard K/N, a share of the work that N machines split among themselves
// without talking to each other. A rerun keeps the files made as now asked
// and rebuilds the rest (see output/batch_record.h).

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "common/date_time.h"
#include "geo/settings.h"
#include "output/batch_run.h"
#include "output/picture_export.h"
#include "output/png_writer.h"
#include "products/term_layers.h"
#include "render/picture_render.h"
#include "render/viewer_state.h"

namespace kalvera::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxJobs = 256;
constexpr int kPictureSide = 700;

struct BatchArgs {
    std::string startDir, from, to, sites = "all", out;
    std::vector<int> layers;
    BatchFormat format = BatchFormat::GeoTiff;
    int jobs = 1, shardK = 1, shardN = 1;
    // A worker process of an h5 run (see RunWorkers): its part of the shard.
    int workerK = 0, workerN = 0;
    bool mosaic = false;
    bool allowMissing = false;  // a composite without an asked site is no failure
    MosaicChoice choice;        // --method and --tolerance of the composite
};

bool ParseShard(const std::string& text, int& k, int& n) {
    const size_t slash = text.find('/');
    return slash != std::string::npos && ParseInt(text.substr(0, slash), k) &&
           ParseInt(text.substr(slash + 1), n) && n >= 1 && k >= 1 && k <= n;
}

int ParseOption(const std::string& name, const std::string& value, BatchArgs& batch) {
    if (name == "--start-dir") {
        batch.startDir = value;
    } else if (name == "--from" || name == "--to") {
        if (!IsDayName(value)) return UsageError(name + " needs a date as YYMMDD");
        (name == "--from" ? batch.from : batch.to) = value;
    } else if (name == "--sites") {
        batch.sites = value;
    } else if (name == "--layers") {
        if (!ParseLayerList(value, batch.layers)) return UsageError(kLayersUsage);
    } else if (name == "--format") {
        if (!ParseBatchFormat(value, batch.format))
            return UsageError("--format needs tif, h5, png or kmz");
    } else if (name == "--out") {
        batch.out = value;
    } else if (name == "--jobs") {
        if (!ParseInt(value, batch.jobs) || batch.jobs < 1 || batch.jobs > kMaxJobs)
            return UsageError("--jobs needs a number from 1 to " + std::to_string(kMaxJobs));
    } else if (name == "--shard") {
        if (!ParseShard(value, batch.shardK, batch.shardN))
            return UsageError("--shard needs K/N with 1 <= K <= N");
    } else if (name == "--worker") {
        if (!ParseShard(value, batch.workerK, batch.workerN))
            return UsageError("--worker needs K/N with 1 <= K <= N");
    } else if (name == "--method" || name == "--tolerance") {
        if (!batch.mosaic) return UsageError(name + " goes with --mosaic");
        return ParseMosaicOption(name, value, batch.choice);
    } else {
        return UsageError("unknown option " + name);
    }
    return 0;
}

int ParseArgs(std::vector<std::string> args, BatchArgs& batch) {
    const auto mosaic = std::find(args.begin(), args.end(), std::string("--mosaic"));
    if (mosaic != args.end()) {
        batch.mosaic = true;
        args.erase(mosaic);
    }
    const auto allow = std::find(args.begin(), args.end(), std::string("--allow-missing"));
    if (allow != args.end()) {
        if (!batch.mosaic) return UsageError("--allow-missing goes with --mosaic");
        batch.allowMissing = true;
        args.erase(allow);
    }
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(
            args, {"--start-dir", "--from", "--to", "--layers", "--format", "--out"}, options);
        usage != 0) {
        return usage;
    }
    for (const auto& [name, value] : options) {
        if (const int usage = ParseOption(name, value, batch); usage != 0) return usage;
    }
    if (DaysBetween(batch.from, batch.to).empty()) return UsageError("--to comes before --from");
    return 0;
}

// The archive's site folders in name order, or the sites named.
bool SitesOf(const std::string& text, const std::string& dataRoot, std::vector<std::string>& sites,
             std::string& error) {
    sites.clear();
    if (text != "all") {
        size_t start = 0;
        while (start <= text.size()) {
            const size_t comma = std::min(text.find(',', start), text.size());
            const std::string site = text.substr(start, comma - start);
            if (site.empty() || site.find('/') != std::string::npos || site[0] == '.') {
                error = "--sites needs all or site codes separated by commas";
                return false;
            }
            // A mistyped code would otherwise write nothing and report success.
            std::error_code failure;
            if (!fs::is_directory(fs::path(dataRoot) / site, failure)) {
                error = "unknown site " + site + ": the data root " + dataRoot +
                        " has no folder of that name";
                return false;
            }
            sites.push_back(site);
            start = comma + 1;
        }
        return true;
    }
    std::error_code failure;
    for (fs::directory_iterator it(dataRoot, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::string name = it->path().filename().string();
        if (name[0] != '.' && it->is_directory(failure)) sites.push_back(name);
    }
    if (failure) {
        error = "cannot list the data root " + dataRoot + ": " + failure.message();
        return false;
    }
    std::sort(sites.begin(), sites.end());
    if (sites.empty()) error = "the data root " + dataRoot + " holds no site";
    return !sites.empty();
}

// The picture as render writes it, drawn in one viewer kept for the run so
// that the map of a site is drawn once.
std::function<std::optional<std::string>(const DisplayState&, std::string&)> PictureDrawer(
    const AppConfig& config) {
    auto viewer = std::make_shared<std::unique_ptr<ViewerState>>();
    return [viewer, &config](const DisplayState& at, std::string& error) {
        if (!*viewer) {
            *viewer = std::make_unique<ViewerState>();
            (*viewer)->config = config;
        }
        ViewerState& state = **viewer;
        CivilDate date;
        ParseDayName(at.dayName, date);
        // The view render takes without --centre and --half-extent: the
        // square around the site.
        DisplayState term = at;
        term.viewHalfExtentKm = kDefaultHalfExtentKm;
        term.recentre = 0;
        SetUpTerm(state, term, EncodeDate(date.year, date.month, date.day), kPictureSide);
        if (!RenderPicture(state)) {
            error = WhyNotLoaded(state.display);
            return std::optional<std::string>();
        }
        std::optional<std::string> bytes = EncodePng(ComposeExportImage(state));
        if (!bytes) error = "the PNG could not be encoded";
        return bytes;
    };
}

// The picture mosaic writes, with the map's files read once for the run.
std::function<std::optional<std::string>(const MapSource&, const MosaicTerm&, std::string&)>
CompositeDrawer(const AppConfig& config) {
    auto cache = std::make_shared<MapResourceCache>();
    return [cache, &config](const MapSource& source, const MosaicTerm& term, std::string& error) {
        const QImage image = MosaicPicture(config, source, term, *cache);
        std::optional<std::string> bytes;
        if (!image.isNull()) bytes = EncodePng(image);
        if (!bytes) error = "the picture of the composite could not be drawn";
        return bytes;
    };
}

std::string Duration(double seconds) {
    const auto s = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lldh%02lldm", s / 3600, s / 60 % 60);
    else
        std::snprintf(text, sizeof text, "%lldm%02llds", s / 60, s % 60);
    return text;
}

// On a terminal one line that keeps being rewritten; otherwise, for logs, a
// line per finished day.
BatchHooks Reporting(bool terminal) {
    const auto started = std::chrono::steady_clock::now();
    auto shown = std::make_shared<std::chrono::steady_clock::time_point>();
    BatchHooks hooks;
    if (terminal) {
        hooks.progress = [started, shown](const BatchProgress& p) {
            const auto now = std::chrono::steady_clock::now();
            if (now - *shown < std::chrono::milliseconds(250) && p.termsDone < p.termsTotal) return;
            *shown = now;
            const double elapsed = std::chrono::duration<double>(now - started).count();
            const double rate = elapsed > 0.0 ? static_cast<double>(p.termsDone) / elapsed : 0.0;
            const double left =
                rate > 0.0 ? static_cast<double>(p.termsTotal - p.termsDone) / rate : 0.0;
            std::fprintf(stderr, "\r%lld/%lld terms  %.1f terms/s  %s left  %lld failed   ",
                         static_cast<long long>(p.termsDone), static_cast<long long>(p.termsTotal),
                         rate, Duration(left).c_str(), static_cast<long long>(p.counts.failed));
            std::fflush(stderr);
        };
    } else {
        hooks.dayDone = [](const BatchDay& day) {
            std::printf("%s: %lld terms, %lld written, %lld skipped, %lld failed\n",
                        day.day.c_str(), static_cast<long long>(day.terms),
                        static_cast<long long>(day.counts.written),
                        static_cast<long long>(day.counts.skipped),
                        static_cast<long long>(day.counts.failed));
            std::fflush(stdout);
        };
    }
    return hooks;
}

int Summarise(const BatchReport& report, bool terminal, bool mosaic, bool allowMissing) {
    if (terminal) std::fputc('\n', stderr);
    const BatchCounts& c = report.totals.counts;
    std::printf(
        "%lld terms: %lld files written, %lld skipped (already there), %lld absent (not in the "
        "archive), %lld failed; %d site days without data",
        static_cast<long long>(report.totals.termsDone), static_cast<long long>(c.written),
        static_cast<long long>(c.skipped), static_cast<long long>(c.absent),
        static_cast<long long>(c.failed), report.siteDaysWithoutData);
    if (mosaic) {
        std::printf("; %lld composite terms incomplete (made without an asked site)",
                    static_cast<long long>(c.incomplete));
    }
    std::printf("\n");
    for (const std::string& line : report.incomplete)
        std::fprintf(stderr, "kalvera-cli: incomplete: %s\n", line.c_str());
    if (c.incomplete > static_cast<int64_t>(report.incomplete.size())) {
        std::fprintf(stderr, "kalvera-cli: and %lld more incomplete\n",
                     static_cast<long long>(c.incomplete) -
                         static_cast<long long>(report.incomplete.size()));
    }
    for (const std::string& failure : report.failures)
        std::fprintf(stderr, "kalvera-cli: failed: %s\n", failure.c_str());
    if (c.failed > static_cast<int64_t>(report.failures.size())) {
        std::fprintf(
            stderr, "kalvera-cli: and %lld more failures\n",
            static_cast<long long>(c.failed) - static_cast<long long>(report.failures.size()));
    }
    return c.failed > 0 || (c.incomplete > 0 && !allowMissing) ? 1 : 0;
}

// A worker process tells its parent how far it is and, at the end, what it
// came to, a line each on its standard output; its failures go to standard
// error as the run's own would.
constexpr const char* kWorkerProgress = "progress ";
constexpr const char* kWorkerTotals = "totals ";

BatchHooks WorkerReporting() {
    BatchHooks hooks;
    auto last = std::make_shared<int64_t>(0);
    hooks.progress = [last](const BatchProgress& p) {
        std::printf("%s%lld\n", kWorkerProgress, static_cast<long long>(p.termsDone - *last));
        std::fflush(stdout);
        *last = p.termsDone;
    };
    return hooks;
}

int WorkerSummary(const BatchReport& report) {
    const BatchCounts& c = report.totals.counts;
    for (const std::string& failure : report.failures)
        std::fprintf(stderr, "kalvera-cli: failed: %s\n", failure.c_str());
    for (const std::string& line : report.incomplete)
        std::fprintf(stderr, "kalvera-cli: incomplete: %s\n", line.c_str());
    std::printf("%s%lld %lld %lld %lld %lld %lld %d\n", kWorkerTotals,
                static_cast<long long>(report.totals.termsDone), static_cast<long long>(c.written),
                static_cast<long long>(c.skipped), static_cast<long long>(c.absent),
                static_cast<long long>(c.failed), static_cast<long long>(c.incomplete),
                report.siteDaysWithoutData);
    std::fflush(stdout);
    return 0;
}

// libhdf5 runs every call under one lock, and building an ODIM_H5 file's
// groups and attributes is about a third of its work: threads would queue
// for it. An h5 run with several workers runs them as processes instead,
// each on its part of the site days, and adds up what they report.
int RunWorkers(const std::vector<std::string>& args, const BatchArgs& batch, int64_t termsTotal,
               bool terminal) {
    std::vector<std::string> common;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--jobs" && i + 1 < args.size()) {
            ++i;
            continue;
        }
        common.push_back(args[i]);
    }
    std::error_code failure;
    const std::string self = fs::read_symlink("/proc/self/exe", failure).string();
    if (failure) return LoadFailure("cannot find this program to start its workers");
    struct Worker {
        pid_t pid = -1;
        FILE* out = nullptr;
    };
    std::vector<Worker> workers;
    for (int k = 1; k <= batch.jobs; ++k) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return LoadFailure("cannot start the workers");
        std::vector<std::string> argv = {self, "batch"};
        argv.insert(argv.end(), common.begin(), common.end());
        argv.insert(argv.end(), {"--worker", std::to_string(k) + "/" + std::to_string(batch.jobs)});
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
            std::vector<char*> raw;
            for (std::string& arg : argv) raw.push_back(arg.data());
            raw.push_back(nullptr);
            execv(self.c_str(), raw.data());
            _exit(127);
        }
        close(pipeFds[1]);
        if (pid < 0) {
            close(pipeFds[0]);
            return LoadFailure("cannot start the workers");
        }
        workers.push_back({pid, fdopen(pipeFds[0], "r")});
    }
    BatchReport report;
    report.totals.termsTotal = termsTotal;
    const BatchHooks hooks = Reporting(terminal);
    std::vector<pollfd> polls;
    for (const Worker& worker : workers) polls.push_back({fileno(worker.out), POLLIN, 0});
    size_t open = workers.size();
    bool complete = true;
    std::vector<bool> reported(workers.size(), false);
    while (open > 0) {
        if (poll(polls.data(), polls.size(), -1) < 0 && errno != EINTR) break;
        for (size_t w = 0; w < workers.size(); ++w) {
            if (polls[w].fd < 0 || polls[w].revents == 0) continue;
            char line[512];
            if (!std::fgets(line, sizeof line, workers[w].out)) {
                polls[w].fd = -1;
                --open;
                continue;
            }
            const std::string text = line;
            if (text.rfind(kWorkerProgress, 0) == 0) {
                report.totals.termsDone += std::atoll(text.c_str() + std::strlen(kWorkerProgress));
                if (hooks.progress) hooks.progress(report.totals);
            } else if (text.rfind(kWorkerTotals, 0) == 0) {
                long long t = 0, wr = 0, sk = 0, ab = 0, fa = 0, in = 0;
                int without = 0;
                if (std::sscanf(text.c_str() + std::strlen(kWorkerTotals),
                                "%lld %lld %lld %lld %lld %lld %d", &t, &wr, &sk, &ab, &fa, &in,
                                &without) == 7) {
                    BatchCounts& c = report.totals.counts;
                    c.written += wr;
                    c.skipped += sk;
                    c.absent += ab;
                    c.failed += fa;
                    c.incomplete += in;
                    report.siteDaysWithoutData += without;
                    reported[w] = true;
                }
            }
        }
    }
    for (size_t w = 0; w < workers.size(); ++w) {
        std::fclose(workers[w].out);
        int status = 0;
        waitpid(workers[w].pid, &status, 0);
        // A worker that ended without its totals (killed, or a usage error)
        // makes the run a failure.
        if (!reported[w] || !WIFEXITED(status) || WEXITSTATUS(status) != 0) complete = false;
    }
    report.totals.termsDone = std::min(report.totals.termsDone, termsTotal);
    if (!complete) {
        std::fprintf(stderr, "kalvera-cli: a worker process did not finish\n");
        ++report.totals.counts.failed;
    }
    return Summarise(report, terminal, batch.mosaic, batch.allowMissing);
}

int runBatch(const std::vector<std::string>& args) {
    BatchArgs batch;
    if (const int usage = ParseArgs(args, batch); usage != 0) return usage;
    // Pictures and KMZ legends are texts in the picture language.
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, batch.startDir, error)) return LoadFailure(error);
    LoadPalette(config);
    TermChoice root;
    root.startDir = batch.startDir;
    config.dataRoot = DataRootOf(root, config.dataRoot);
    std::vector<std::string> sites;
    if (!SitesOf(batch.sites, config.dataRoot, sites, error)) {
        return batch.sites == "all" ? LoadFailure(error) : UsageError(error);
    }
    BatchJob job;
    job.config = &config;
    // The composite's days are shared out as the sites' days are.
    if (batch.mosaic) {
        job.mosaic = batch.choice;
        job.mosaic->sites = sites;
    }
    job.units = ShardOf(SiteDaysOf(batch.mosaic ? std::vector<std::string>{kMosaicUnit} : sites,
                                   DaysBetween(batch.from, batch.to)),
                        batch.shardK, batch.shardN);
    if (batch.workerN > 0) job.units = ShardOf(job.units, batch.workerK, batch.workerN);
    job.layers = batch.layers;
    job.format = batch.format;
    job.outDir = batch.out;
    job.jobs = batch.jobs;
    if (batch.format == BatchFormat::OdimH5) {
        // Every file must say where it comes from: a missing identifier stops
        // the run before it writes anything rather than failing every term.
        if (!LoadOdimIdentifiers(config.startDir, job.odim, error)) return LoadFailure(error);
        std::string source;
        bool ok = batch.mosaic ? OdimCompositeSource(job.odim, source, error) : true;
        for (size_t s = 0; ok && !batch.mosaic && s < sites.size(); ++s)
            ok = OdimSiteSource(job.odim, sites[s], source, error);
        if (!ok) return LoadFailure("Cannot make ODIM_H5 files: " + error);
    }
    if (batch.format == BatchFormat::Png) {
        job.drawPicture = PictureDrawer(config);
        job.drawComposite = CompositeDrawer(config);
    }
    if (batch.workerN > 0) return WorkerSummary(RunBatch(job, WorkerReporting()));
    const bool terminal = isatty(STDERR_FILENO) != 0;
    if (batch.format == BatchFormat::OdimH5 && batch.jobs > 1)
        return RunWorkers(args, batch, CountBatchTerms(job), terminal);
    return Summarise(RunBatch(job, Reporting(terminal)), terminal, batch.mosaic,
                     batch.allowMissing);
}

const CliRegistrar registrar({"batch", runBatch});

}  // namespace

}  // namespace kalvera::cli
