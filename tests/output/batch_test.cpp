// Batch runs over an archive: shards that machines share without talking,
// a run that resumes where an interrupted one stopped, and a broken day
// reported while the rest is done.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "geo/settings.h"
#include "output/batch_run.h"
#include "output/cli_fixture.h"
#include "output/term_products.h"
#include "support/file_bytes.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;

// The products, not the hidden run records beside them.
std::set<std::string> FilesUnder(const std::string& dir) {
    std::set<std::string> files;
    std::error_code failure;
    for (fs::recursive_directory_iterator it(dir, failure), end; !failure && it != end;
         it.increment(failure)) {
        if (it->is_regular_file() && it->path().filename().string()[0] != '.')
            files.insert(fs::relative(it->path(), dir).string());
    }
    return files;
}

TEST(BatchShards, AreDisjointWholeAndTheSameEveryTime) {
    const std::vector<std::string> sites = {"26063", "27595", "27612", "34122", "90001"};
    const struct {
        const char* from;
        const char* to;
        int n;
    } rows[] = {{"261201", "261201", 1},
                {"261201", "261201", 7},
                {"261130", "261203", 3},
                {"240101", "241231", 50},
                {"261201", "261205", 25}};
    for (const auto& row : rows) {
        const std::vector<SiteDay> all = SiteDaysOf(sites, DaysBetween(row.from, row.to));
        std::vector<SiteDay> joined;
        size_t smallest = all.size(), largest = 0;
        for (int k = 1; k <= row.n; ++k) {
            const std::vector<SiteDay> part = ShardOf(all, k, row.n);
            EXPECT_EQ(part, ShardOf(SiteDaysOf(sites, DaysBetween(row.from, row.to)), k, row.n));
            joined.insert(joined.end(), part.begin(), part.end());
            smallest = std::min(smallest, part.size());
            largest = std::max(largest, part.size());
        }
        const auto key = [](const SiteDay& u) { return u.day + "/" + u.site; };
        std::set<std::string> distinct;
        for (const SiteDay& unit : joined) distinct.insert(key(unit));
        EXPECT_EQ(joined.size(), all.size()) << row.from << " /" << row.n << ": no unit twice";
        EXPECT_EQ(distinct.size(), all.size()) << row.from << " /" << row.n << ": none left out";
        EXPECT_LE(largest - smallest, 1u) << row.from << " /" << row.n;
    }
    EXPECT_EQ(DaysBetween("240228", "240301").size(), 3u);
    EXPECT_TRUE(DaysBetween("261202", "261201").empty());
}

class BatchRun : public testing::CliArchive {
  protected:
    std::string batch(const std::string& out, const std::string& more = "",
                      const std::string& startDir = "", const std::string& layers = "1,22,max") {
        return "batch --start-dir " + (startDir.empty() ? start_ : startDir) + " --from " + day_ +
               " --to " + day_ + " --layers " + layers + " --format tif --out " + out + more;
    }
};

TEST_F(BatchRun, ShardsTogetherWriteWhatOneRunWrites) {
    ASSERT_EQ(run(batch(dir.file("whole"), " --jobs 2")), 0) << err;
    std::set<std::string> shards;
    for (const char* shard : {"1/3", "2/3", "3/3"}) {
        const std::string out = dir.file(std::string("shard") + shard[0]);
        ASSERT_EQ(run(batch(out, std::string(" --shard ") + shard)), 0) << err;
        for (const std::string& file : FilesUnder(out))
            EXPECT_TRUE(shards.insert(file).second) << file << " in two shards";
    }
    EXPECT_EQ(shards, FilesUnder(dir.file("whole")));
    EXPECT_FALSE(shards.empty());
}

TEST_F(BatchRun, ARerunFinishesAnInterruptedOneWithoutRedoingIt) {
    AppConfig config;
    std::string error;
    ASSERT_TRUE(LoadSettingsFrom(config, start_, error)) << error;
    config.dataRoot = start_ + "/archive/";
    BatchJob job;
    job.config = &config;
    job.units = SiteDaysOf({"26063", "27595", "27612", "34122"}, {day_});
    job.layers = TermProductCodes();
    job.format = BatchFormat::OdimH5;
    ASSERT_TRUE(LoadOdimIdentifiers(start_, job.odim, error)) << error;
    job.outDir = dir.file("out");
    job.jobs = 2;
    int asked = 0;
    BatchHooks interrupt;
    interrupt.stop = [&asked] { return ++asked > 4; };
    const BatchReport first = RunBatch(job, interrupt);
    ASSERT_TRUE(first.stopped);
    const int64_t before = first.totals.counts.written;
    ASSERT_GT(before, 0);
    ASSERT_LT(first.totals.termsDone, first.totals.termsTotal);
    EXPECT_EQ(static_cast<int64_t>(FilesUnder(job.outDir).size()), before);

    const BatchReport second = RunBatch(job);
    EXPECT_FALSE(second.stopped);
    EXPECT_EQ(second.totals.counts.skipped, before);
    EXPECT_EQ(second.totals.counts.failed, 0);
    EXPECT_EQ(second.totals.termsDone, second.totals.termsTotal);
    EXPECT_EQ(static_cast<int64_t>(FilesUnder(job.outDir).size()),
              before + second.totals.counts.written);
    EXPECT_EQ(before + second.totals.counts.written, second.totals.termsTotal);
}

TEST_F(BatchRun, TheCompositeGetsAFilePerTermAndProductAndARerunSkipsThem) {
    const std::string out = dir.file("out");
    ASSERT_EQ(run(batch(out, " --mosaic --jobs 2", "", "1,max")), 0) << err;
    const std::set<std::string> files = FilesUnder(out);
    ASSERT_FALSE(files.empty());
    // The terms are those any site has that day.
    std::set<std::string> terms;
    for (const auto& site : fs::directory_iterator(start_ + "/archive")) {
        std::vector<std::string> listed;
        LoadTermList(site.path().string() + "/" + day_ + ".ind", listed);
        terms.insert(listed.begin(), listed.end());
    }
    EXPECT_EQ(files.size(), 2 * terms.size());
    const std::string first = *terms.begin();
    const std::string hhmm = first.substr(0, 2) + first.substr(3, 2);
    EXPECT_EQ(files.count("mosaic/" + day_ + "/mosaic_" + day_ + "_" + hhmm + "_max.tif"), 1u);
    ASSERT_EQ(run(batch(out, " --mosaic", "", "1,max")), 0) << err;
    EXPECT_NE(printed.find("0 files written, " + std::to_string(files.size()) + " skipped"),
              std::string::npos)
        << printed;
    // The shards deal out the composite's days, not its sites: a one-day range is one part.
    ASSERT_EQ(run(batch(dir.file("second"), " --mosaic --shard 2/2", "", "1,max")), 0) << err;
    EXPECT_TRUE(FilesUnder(dir.file("second")).empty());
}

TEST_F(BatchRun, ABrokenDayIsReportedAndTheRestIsDone) {
    // A copy of the archive whose one site day has a base file of garbage.
    const std::string copy = dir.file("start");
    fs::copy(start_, copy, fs::copy_options::recursive);
    // The settings' first line is the data root, which the demo writes absolute.
    std::string settings = testing::ReadWholeFile(copy + "/settings");
    settings.replace(0, settings.find('\n'), copy + "/archive/");
    testing::WriteWholeFile(copy + "/settings", settings);
    const std::string broken = copy + "/archive/" + site_ + "/" + day_ + ".bas";
    const auto size = fs::file_size(broken);
    {
        std::FILE* file = std::fopen(broken.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        for (uintmax_t i = 0; i < size; ++i) std::fputc(static_cast<int>(i * 7 % 251), file);
        std::fclose(file);
    }
    const std::string out = dir.file("out");
    EXPECT_EQ(run(batch(out, "", copy, "1,22")), 1);
    EXPECT_NE(err.find("failed: " + out + "/" + site_ + "/" + day_), std::string::npos) << err;
    EXPECT_NE(err.find(broken), std::string::npos) << "names the broken file: " << err;
    EXPECT_NE(printed.find(" failed"), std::string::npos) << printed;
    // Every other site's day is there in full.
    size_t others = 0;
    for (const std::string& file : FilesUnder(out)) {
        if (file.rfind(site_ + "/", 0) != 0) ++others;
    }
    ASSERT_EQ(run(batch(dir.file("clean"), "", start_, "1,22")), 0) << err;
    size_t cleanOthers = 0;
    for (const std::string& file : FilesUnder(dir.file("clean"))) {
        if (file.rfind(site_ + "/", 0) != 0) ++cleanOthers;
    }
    EXPECT_EQ(others, cleanOthers);
    EXPECT_GT(others, 0u);
}

}  // namespace
}  // namespace kalvera
