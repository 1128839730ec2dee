// kalvera-demo DIR: writes a start directory with settings, resources and a
// demo archive of synthetic radar products, and with --live keeps adding a
// term every SECONDS until interrupted. Its options are told in
// manual/program_pages.cpp, from which --help and the manual page come.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "common/clock.h"
#include "demo/demo_generator.h"
#include "demo/synthetic_sites.h"
#include "manual/manual_page.h"

#ifndef KALVERA_VERSION
#define KALVERA_VERSION "unknown"
#endif

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int) {
    stopRequested.store(true);
}

bool parseNumber(const char* text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool parseArguments(int argc, char** argv, kalvera::demo::DemoOptions& options) {
    if (argc < 2 || argv[1][0] == '-') return false;
    options.dir = argv[1];
    options.dataDir = kalvera::demo::ShippedDataDir();
    for (int i = 2; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) return false;
        const char* text = argv[i + 1];
        double v = 0.0;
        if (name == "--data") {
            options.dataDir = text;
        } else if (name == "--days" && parseNumber(text, 0, 366, v)) {
            options.days = static_cast<int>(v);
        } else if (name == "--step" && parseNumber(text, 1, 1440, v)) {
            options.stepMinutes = static_cast<int>(v);
        } else if (name == "--live" && parseNumber(text, 0.1, 86400, v)) {
            options.liveSeconds = v;
        } else if (name == "--synthetic-sites" &&
                   parseNumber(text, 1, kalvera::demo::kMaxSyntheticSites, v)) {
            options.syntheticSites = static_cast<int>(v);
        } else if (name == "--seed" && parseNumber(text, 0, 4294967295.0, v)) {
            options.seed = static_cast<uint32_t>(v);
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kalvera-demo %s\n", KALVERA_VERSION);
        return 0;
    }
    const std::string usage = kalvera::manual::UsageText(kalvera::manual::DemoPage());
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    kalvera::demo::DemoOptions options;
    if (!parseArguments(argc, argv, options)) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    // A stop request while the history is written ends it after the term in
    // hand, so that no day file is left with half a record.
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    std::string error;
    if (!kalvera::demo::PrepareStartDirectory(options, error)) {
        std::fprintf(stderr, "kalvera-demo: %s\n", error.c_str());
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    const int written = options.days > 0
                            ? kalvera::demo::WriteHistory(options, kalvera::systemClock().now(),
                                                          error, &stopRequested)
                            : 0;
    if (written < 0) {
        std::fprintf(stderr, "kalvera-demo: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%s: %d site terms written in %.1f s\n", options.dir.c_str(), written, seconds);
    std::fflush(stdout);
    if (options.liveSeconds <= 0.0 || stopRequested.load()) return 0;

    // Now and then an index record goes out in two writes with a pause in
    // between, so that readers meet a half-written record as they would
    // with a real archiver.
    std::mt19937 random(options.seed);
    int splitRecord = -1;
    kalvera::demo::RecordSplitter splitter;
    splitter.splitAt = [&](int record) {
        if (record == 0) {
            splitRecord = std::uniform_int_distribution<int>(0, 2)(random) == 0
                              ? std::uniform_int_distribution<int>(0, 11)(random)
                              : -1;
        }
        return record == splitRecord ? std::uniform_int_distribution<int>(1, 15)(random) : 0;
    };
    splitter.pause = [&] {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(300, 1200)(random)));
    };
    kalvera::demo::LiveHooks hooks;
    hooks.now = [] { return kalvera::systemClock().now(); };
    hooks.sleep = [](double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); };
    hooks.splitter = &splitter;
    if (!kalvera::demo::RunLive(options, stopRequested, hooks, error)) {
        std::fprintf(stderr, "kalvera-demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
