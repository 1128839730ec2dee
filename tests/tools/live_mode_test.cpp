// Live mode appends while the viewer reads. A reader that opens, reads and
// closes the files over and over must never meet a complete record whose
// message is not all there, and the writer must stop cleanly on request.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "support/temp_dir.h"
#include "tools/demo_checks.h"

namespace kalvera {
namespace {

// A prepared start directory with one fixed-layout site and 26063 with the
// generic product.
demo::DemoOptions LiveOptions(const testing::TempDir& dir) {
    demo::DemoOptions options = testing::OptionsIn(dir.str());
    options.siteCount = 2;
    options.liveSeconds = 0.02;
    std::string error;
    EXPECT_TRUE(demo::PrepareStartDirectory(options, error)) << error;
    return options;
}

// A clock that moves one minute on at every reading, from 23:56, so that a
// short run crosses midnight.
struct MinuteClock {
    const double start = EncodeDateTime({2026, 6, 30}, {23, 56, 0});
    std::atomic<int> readings{0};
    double now() { return start + readings++ / 1440.0; }
};

void SleepFor(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

struct ReaderReport {
    int decoded = 0;
    int tornReads = 0;  // reads that found a record still being written
    std::vector<std::string> faults;

    void check(const demo::DemoSite& site, const std::string& base, const testing::RawRecord& r,
               const std::string& where) {
        RadarPicture picture;
        DisplayState state;
        if (!testing::DecodeRecord(site, base, r, picture, state)) {
            faults.push_back(where + " does not load");
            return;
        }
        const std::string fault = testing::PictureFault(site, r.layerCode, picture, state);
        if (!fault.empty()) faults.push_back(where + ": " + fault);
        ++decoded;
    }
};

// One pass over both days of every site: decodes each record not seen before,
// then follows the newest term the way the automatic update does (term list,
// its layers, each layer's offset).
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
            for (; done < records.size(); ++done) {
                report.check(site, files.basePath, records[done],
                             files.indexPath + " record " + std::to_string(done));
            }
            std::vector<std::string> terms;
            std::vector<int> layers;
            if (LoadTermList(files.indexPath, terms) == 0 ||
                LoadLayerList(files.indexPath, terms.back(), layers) < 0) {
                continue;
            }
            for (int layer : layers) {
                const int32_t offset = FindMessageOffset(files.indexPath, terms.back(), layer);
                report.check(
                    site, files.basePath, {0, 0, layer, offset},
                    files.indexPath + " " + terms.back() + " layer " + std::to_string(layer));
            }
        }
    }
}

TEST(LiveMode, ReaderNeverMeetsAnIncompleteRecordOrMessage) {
    testing::TempDir dir;
    const demo::DemoOptions options = LiveOptions(dir);
    std::string error;

    MinuteClock clock;
    demo::RecordSplitter splitter;
    int splitCount = 0;
    splitter.splitAt = [&](int record) { return 1 + (record * 5 + splitCount++) % 15; };
    splitter.pause = [] { SleepFor(0.01); };
    demo::LiveHooks hooks;
    hooks.now = [&] { return clock.now(); };
    hooks.sleep = SleepFor;
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
        return elapsed < std::chrono::seconds(3) || clock.readings < 10;
    };
    while (running() && report.faults.empty()) {
        ReadPass(options, clock.start, seen, report);
    }
    stop = true;
    writer.join();
    ReadPass(options, clock.start, seen, report);

    EXPECT_TRUE(writerOk) << writerError;
    EXPECT_TRUE(report.faults.empty()) << report.faults.front();
    EXPECT_GT(report.tornReads, 0) << "the reader never met a record being written";
    EXPECT_GT(report.decoded, 2 * 12);

    // The run went past midnight into the next day's files, which start at 00.00.
    for (auto [day, first] : {std::pair{clock.start, "23.56"}, {clock.start + 1.0, "00.00"}}) {
        std::vector<std::string> terms;
        const std::string code = demo::DemoSites()[0].code;
        ASSERT_GT(
            LoadTermList(DayArchive::Of(demo::DataRootOf(options), code, DayNameOf(day)).indexPath,
                         terms),
            0);
        EXPECT_EQ(terms.front(), first);
    }
}

TEST(LiveMode, StopsAfterTheRecordItIsWritingNotInsideIt) {
    testing::TempDir dir;
    demo::DemoOptions options = LiveOptions(dir);
    options.liveSeconds = 3600.0;  // the stop must cut this sleep short
    std::string error;

    std::atomic<bool> stop{false};
    demo::RecordSplitter splitter;
    splitter.splitAt = [](int record) { return record == 3 ? 7 : 0; };
    // The stop request arrives while half a record is on disk.
    splitter.pause = [&] { stop = true; };
    demo::LiveHooks hooks;
    const double now = EncodeDateTime({2026, 6, 30}, {12, 0, 0});
    hooks.now = [&] { return now; };
    hooks.sleep = SleepFor;
    hooks.splitter = &splitter;
    ASSERT_TRUE(demo::RunLive(options, stop, hooks, error)) << error;

    const DayArchive day = DayArchive::Of(demo::DataRootOf(options), "27612", DayNameOf(now));
    size_t tail = 99;
    EXPECT_EQ(testing::ReadRawRecords(day.indexPath, &tail).size(), 12u);
    EXPECT_EQ(tail, 0u);
}

TEST(LiveMode, SkipsAMinuteWithATermAndCutsOffAHalfWrittenRecord) {
    testing::TempDir dir;
    const demo::DemoOptions options = LiveOptions(dir);
    std::string error;
    const double now = EncodeDateTime({2026, 6, 30}, {9, 0, 20});
    ASSERT_EQ(demo::AppendLiveTerm(options, now, nullptr, error), 2);
    EXPECT_EQ(demo::AppendLiveTerm(options, now + 30.0 / 86400.0, nullptr, error), 0);
    // A writer killed in the middle of a record leaves a piece behind; every
    // record appended after it would be misread if it stayed.
    const DayArchive day = DayArchive::Of(demo::DataRootOf(options), "27612", DayNameOf(now));
    std::FILE* f = std::fopen(day.indexPath.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fwrite("\x09\x01\x05\x00\x10\x00\x00", 1, 7, f);
    std::fclose(f);
    ASSERT_EQ(demo::AppendLiveTerm(options, now + 1.0 / 1440.0, nullptr, error), 2) << error;

    size_t tail = 99;
    const auto records = testing::ReadRawRecords(day.indexPath, &tail);
    EXPECT_EQ(tail, 0u);
    ASSERT_EQ(records.size(), 24u);
    for (const auto& r : records) {
        RadarPicture picture;
        DisplayState state;
        EXPECT_TRUE(testing::DecodeRecord(demo::DemoSites()[0], day.basePath, r, picture, state));
        EXPECT_EQ(r.minute, &r < &records[12] ? 0 : 1);
    }
    std::vector<std::string> terms;
    ASSERT_EQ(LoadTermList(day.indexPath, terms), 2);
    EXPECT_EQ(terms.front(), "09.00");
}

}  // namespace
}  // namespace kalvera
