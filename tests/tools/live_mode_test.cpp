// Live mode appends while the viewer reads. A reader that opens, reads and
// closes the files over and over must never meet a complete record whose
// message is not all there, and the writer must stop cleanly on request.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "common/temp_dir.h"
#include "decode/picture_loader.h"
#include "demo/demo_generator.h"
#include "tools/demo_checks.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;

demo::DemoOptions LiveOptions(const testing::TempDir& dir) {
    demo::DemoOptions options;
    options.dir = dir.str();
    options.dataDir = std::string(KALVERA_SOURCE_DIR) + "/data";
    options.siteCount = 2;  // one fixed-layout site, and 26063 with the generic product
    options.liveSeconds = 0.02;
    return options;
}

// A clock that moves one minute on at every reading, from 23:56, so that a
// short run crosses midnight.
class MinuteClock {
  public:
    double now() {
        std::lock_guard<std::mutex> lock(mutex_);
        const double t = start_ + calls_ / 1440.0;
        ++calls_;
        return t;
    }

    double start() const { return start_; }
    int readings() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

  private:
    std::mutex mutex_;
    double start_ = EncodeDateTime({2026, 6, 30}, {23, 56, 0});
    int calls_ = 0;
};

struct ReaderReport {
    int decoded = 0;
    int tornReads = 0;  // reads that found a record still being written
    std::vector<std::string> faults;
};

// The automatic update's path: newest term, its layers, each layer's offset.
void ReadNewestTermAsTheViewerDoes(const demo::DemoSite& site, const DayArchive& files,
                                   ReaderReport& report) {
    std::vector<std::string> terms;
    if (LoadTermList(files.indexPath, terms) == 0) return;
    std::vector<int> layers;
    if (LoadLayerList(files.indexPath, terms.back(), layers) < 0) return;
    for (int layer : layers) {
        DisplayState state;
        state.siteCode = site.code;
        state.basePath = files.basePath;
        state.layerCode = layer;
        state.recentre = 1;
        RadarPicture picture;
        const int32_t offset = FindMessageOffset(files.indexPath, terms.back(), layer);
        if (offset < 0 || !loadPicture(offset, picture, state)) {
            report.faults.push_back(files.indexPath + " " + terms.back() + " layer " +
                                    std::to_string(layer) + " does not load");
        }
    }
}

// One pass over both days of every site: decodes each record not seen before.
void ReadPass(const demo::DemoOptions& options, double firstDay,
              std::map<std::string, size_t>& seen, ReaderReport& report) {
    for (int s = 0; s < options.siteCount; ++s) {
        const demo::DemoSite& site = demo::DemoSites()[static_cast<size_t>(s)];
        for (double day : {firstDay, firstDay + 1.0}) {
            const DayArchive files =
                DayArchive::Of(demo::DataRootOf(options), site.code, DayNameOf(day));
            size_t tail = 0;
            const auto records = testing::ReadRawRecords(files.indexPath, &tail);
            if (tail != 0) ++report.tornReads;
            size_t& done = seen[files.indexPath];
            for (size_t n = done; n < records.size(); ++n) {
                RadarPicture picture;
                DisplayState state;
                if (!testing::DecodeRecord(site, files.basePath, records[n], picture, state)) {
                    report.faults.push_back(files.indexPath + " record " + std::to_string(n));
                    continue;
                }
                const std::string fault =
                    testing::PictureFault(site, records[n].layerCode, picture, state);
                if (!fault.empty()) report.faults.push_back(fault);
                ++report.decoded;
            }
            done = records.size();
            ReadNewestTermAsTheViewerDoes(site, files, report);
        }
    }
}

TEST(LiveMode, ReaderNeverMeetsAnIncompleteRecordOrMessage) {
    testing::TempDir dir;
    const demo::DemoOptions options = LiveOptions(dir);
    std::string error;
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;

    MinuteClock clock;
    demo::RecordSplitter splitter;
    int splitCount = 0;
    splitter.splitAt = [&](int record) { return 1 + (record * 5 + splitCount++) % 15; };
    splitter.pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(10)); };
    demo::LiveHooks hooks;
    hooks.now = [&] { return clock.now(); };
    hooks.sleep = [](double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); };
    hooks.splitter = &splitter;

    std::atomic<bool> stop{false};
    bool writerOk = false;
    std::string writerError;
    std::thread writer([&] { writerOk = demo::RunLive(options, stop, hooks, writerError); });

    ReaderReport report;
    std::map<std::string, size_t> seen;
    // Reads for a few seconds and until the writer is well into the next day;
    // the cap only keeps a broken writer from hanging the test.
    const auto start = std::chrono::steady_clock::now();
    auto running = [&] {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed > std::chrono::seconds(60)) return false;
        return elapsed < std::chrono::seconds(3) || clock.readings() < 10;
    };
    while (running() && report.faults.empty()) {
        ReadPass(options, clock.start(), seen, report);
    }
    stop = true;
    writer.join();
    ReadPass(options, clock.start(), seen, report);

    EXPECT_TRUE(writerOk) << writerError;
    EXPECT_TRUE(report.faults.empty()) << report.faults.front();
    EXPECT_GT(report.tornReads, 0) << "the reader never met a record being written";
    EXPECT_GT(report.decoded, 2 * 12);

    // The run went past midnight into the next day's files, which start at 00.00.
    const demo::DemoSite& site = demo::DemoSites()[0];
    std::vector<std::string> before, after;
    const std::string root = demo::DataRootOf(options);
    EXPECT_GT(
        LoadTermList(DayArchive::Of(root, site.code, DayNameOf(clock.start())).indexPath, before),
        0);
    ASSERT_GT(LoadTermList(
                  DayArchive::Of(root, site.code, DayNameOf(clock.start() + 1.0)).indexPath, after),
              0);
    EXPECT_EQ(before.front(), "23.56");
    EXPECT_EQ(after.front(), "00.00");
}

TEST(LiveMode, StopsAfterTheRecordItIsWritingNotInsideIt) {
    testing::TempDir dir;
    demo::DemoOptions options = LiveOptions(dir);
    options.liveSeconds = 3600.0;  // the stop must cut this sleep short
    std::string error;
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;

    std::atomic<bool> stop{false};
    demo::RecordSplitter splitter;
    splitter.splitAt = [](int record) { return record == 3 ? 7 : 0; };
    // The stop request arrives while half a record is on disk.
    splitter.pause = [&] { stop = true; };
    demo::LiveHooks hooks;
    const double now = EncodeDateTime({2026, 6, 30}, {12, 0, 0});
    hooks.now = [&] { return now; };
    hooks.sleep = [](double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); };
    hooks.splitter = &splitter;
    ASSERT_TRUE(demo::RunLive(options, stop, hooks, error)) << error;

    const DayArchive day = DayArchive::Of(demo::DataRootOf(options), "27612", DayNameOf(now));
    size_t tail = 99;
    EXPECT_EQ(testing::ReadRawRecords(day.indexPath, &tail).size(), 12u);
    EXPECT_EQ(tail, 0u);
}

TEST(LiveMode, SkipsAMinuteThatAlreadyHasATerm) {
    testing::TempDir dir;
    const demo::DemoOptions options = LiveOptions(dir);
    std::string error;
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;
    const double now = EncodeDateTime({2026, 6, 30}, {9, 41, 20});
    EXPECT_EQ(demo::AppendLiveTerm(options, now, nullptr, error), 2);
    EXPECT_EQ(demo::AppendLiveTerm(options, now + 30.0 / 86400.0, nullptr, error), 0);
    const DayArchive day = DayArchive::Of(demo::DataRootOf(options), "26063", DayNameOf(now));
    std::vector<std::string> terms;
    ASSERT_EQ(LoadTermList(day.indexPath, terms), 1);
    EXPECT_EQ(terms.front(), "09.41");
}

TEST(LiveMode, CutsOffARecordLeftHalfWrittenBeforeAppending) {
    // A writer killed in the middle of a record leaves a piece behind; every
    // record appended after it would be misread if it stayed.
    testing::TempDir dir;
    const demo::DemoOptions options = LiveOptions(dir);
    std::string error;
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;
    const double now = EncodeDateTime({2026, 6, 30}, {9, 0, 0});
    ASSERT_EQ(demo::AppendLiveTerm(options, now, nullptr, error), 2);
    const DayArchive day = DayArchive::Of(demo::DataRootOf(options), "27612", DayNameOf(now));
    {
        std::FILE* f = std::fopen(day.indexPath.c_str(), "ab");
        ASSERT_NE(f, nullptr);
        std::fwrite("\x09\x01\x05\x00\x10\x00\x00", 1, 7, f);
        std::fclose(f);
    }
    ASSERT_EQ(demo::AppendLiveTerm(options, now + 1.0 / 1440.0, nullptr, error), 2) << error;

    size_t tail = 99;
    const auto records = testing::ReadRawRecords(day.indexPath, &tail);
    EXPECT_EQ(tail, 0u);
    ASSERT_EQ(records.size(), 24u);
    for (const auto& r : records) {
        RadarPicture picture;
        DisplayState state;
        EXPECT_TRUE(testing::DecodeRecord(demo::DemoSites()[0], day.basePath, r, picture, state));
        EXPECT_EQ(r.hour, 9);
    }
    EXPECT_EQ(records.back().minute, 1);
}

}  // namespace
}  // namespace kalvera
