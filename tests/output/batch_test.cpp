// Batch runs over an archive: shards that machines share without talking,
// a run that resumes where an interrupted one stopped, and a broken day
// reported while the rest is done.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
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

// `text` with its N as `count`.
std::string Filled(std::string text, size_t count) {
    const size_t at = text.find('N');
    if (at != std::string::npos) text.replace(at, 1, std::to_string(count));
    return text;
}

// A rerun keeps what was made as now asked and rebuilds the rest; what a
// killed run left half-written goes.
TEST_F(BatchRun, ARerunRebuildsWhatIsAskedDifferentlyAndKeepsTheRest) {
    std::vector<std::string> listed;
    LoadTermList(start_ + "/archive/" + site_ + "/" + day_ + ".ind", listed);
    const std::string out = dir.file("rerun");
    const std::string stale =
        out + "/" + site_ + "/" + day_ + "/." + site_ + "_" + day_ + "_0000.h5.Ab12Cd";
    const struct {
        const char* layers;
        const char* summary;
    } rows[] = {
        {"1", "N files written, 0 skipped"},    {"1", "0 files written, N skipped"},
        {"1,22", "N files written, 0 skipped"},  // a wider choice of products
        {"22,1", "0 files written, N skipped"},  // the same choice written otherwise
        {"1", "N files written, 0 skipped"},     // a narrower one
    };
    for (const auto& row : rows) {
        if (fs::exists(out)) testing::WriteWholeFile(stale, "half");
        ASSERT_EQ(
            run("batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ + " --sites " +
                site_ + " --format h5 --out " + out + " --layers " + row.layers),
            0)
            << err;
        const std::string summary = Filled(row.summary, listed.size());
        EXPECT_NE(printed.find(summary), std::string::npos) << row.layers << ": " << printed;
        EXPECT_FALSE(fs::exists(stale)) << row.layers;
    }
    EXPECT_EQ(run("batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
                  " --sites " + site_ + ",99999 --format h5 --layers 1 --out " + out),
              2);
    EXPECT_NE(err.find("unknown site 99999"), std::string::npos) << err;
}

// A composite made without a site says so and fails the run unless that is
// allowed; once the site's data are there, a rerun puts it in.
TEST_F(BatchRun, ACompositeWithoutASiteIsReportedAndRebuiltWhenItComes) {
    const std::string copy = dir.file("start");
    fs::copy(start_, copy, fs::copy_options::recursive);
    std::string settings = testing::ReadWholeFile(copy + "/settings");
    settings.replace(0, settings.find('\n'), copy + "/archive/");
    testing::WriteWholeFile(copy + "/settings", settings);
    const std::string day = copy + "/archive/" + site_ + "/" + day_;
    const std::string aside = dir.file("aside");
    fs::rename(day + ".ind", aside + ".ind");
    fs::rename(day + ".bas", aside + ".bas");
    std::set<std::string> terms;
    for (const auto& site : fs::directory_iterator(copy + "/archive")) {
        std::vector<std::string> listed;
        LoadTermList(site.path().string() + "/" + day_ + ".ind", listed);
        terms.insert(listed.begin(), listed.end());
    }
    const std::string out = dir.file("out");
    const std::string composite = batch(out, " --mosaic", copy, "1,max");
    const struct {
        const char* more;
        bool siteBack;
        int status;
        const char* summary;
        const char* incomplete;
    } rows[] = {
        {"", false, 1, "N files written, 0 skipped", "T composite terms incomplete"},
        {" --allow-missing", false, 0, "0 files written, N skipped",
         "T composite terms incomplete"},
        {"", true, 0, "N files written, 0 skipped", "; 0 composite terms incomplete"},
        {"", true, 0, "0 files written, N skipped", "; 0 composite terms incomplete"},
    };
    for (const auto& row : rows) {
        if (row.siteBack && fs::exists(aside + ".ind")) {
            fs::rename(aside + ".ind", day + ".ind");
            fs::rename(aside + ".bas", day + ".bas");
        }
        EXPECT_EQ(run(composite + row.more), row.status) << row.more << err;
        const std::string summary = Filled(row.summary, 2 * terms.size());
        std::string incomplete = row.incomplete;
        if (incomplete[0] == 'T') incomplete.replace(0, 1, std::to_string(terms.size()));
        EXPECT_NE(printed.find(summary), std::string::npos) << summary << " in " << printed;
        EXPECT_NE(printed.find(incomplete), std::string::npos) << incomplete << " in " << printed;
        EXPECT_EQ(err.find("made without " + site_) != std::string::npos, !row.siteBack) << err;
    }
}

// The same inputs and options give the same bytes in every format, so a
// checksum tells a changed product from a rerun.
TEST_F(BatchRun, TwoRunsGiveTheSameBytes) {
    for (const char* format : {"tif", "h5", "kmz", "png"}) {
        std::map<std::string, std::string> first;
        for (const char* out : {"a", "b"}) {
            const std::string path = dir.file(std::string(format) + out);
            ASSERT_EQ(
                run("batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
                    " --sites " + site_ + " --layers 1,22 --format " + format + " --out " + path),
                0)
                << err;
            for (const std::string& file : FilesUnder(path)) {
                const std::string bytes = testing::ReadWholeFile(path + "/" + file);
                if (first.count(file) == 0)
                    first[file] = bytes;
                else
                    EXPECT_TRUE(first[file] == bytes) << format << " " << file;
            }
        }
        EXPECT_FALSE(first.empty()) << format;
    }
}

// h5 workers are processes: together they write what one worker writes,
// and the summary adds up what each did.
TEST_F(BatchRun, WorkerProcessesWriteWhatOneWorkerWrites) {
    std::map<std::string, std::string> one;
    for (const char* jobs : {"1", "3"}) {
        const std::string out = dir.file(std::string("jobs") + jobs);
        ASSERT_EQ(run("batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
                      " --layers 1,22 --format h5 --jobs " + jobs + " --out " + out),
                  0)
            << err;
        const std::set<std::string> files = FilesUnder(out);
        EXPECT_NE(printed.find(std::to_string(files.size()) + " files written, 0 skipped"),
                  std::string::npos)
            << printed;
        for (const std::string& file : files) {
            const std::string bytes = testing::ReadWholeFile(out + "/" + file);
            if (one.count(file) == 0) one[file] = bytes;
            EXPECT_TRUE(one[file] == bytes) << jobs << " " << file;
        }
        EXPECT_EQ(files.size(), one.size()) << jobs;
    }
}

// A run killed at any moment leaves no file that is not whole: every file
// there is byte for byte the one an uninterrupted run makes, and the next
// run finishes the rest and clears what the killed ones left.
TEST_F(BatchRun, AKilledRunLeavesNoTruncatedFile) {
    const std::string clean = dir.file("clean"), killed = dir.file("killed");
    const std::string args = " --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
                             " --layers all --format tif --jobs 2 --out ";
    ASSERT_EQ(run("batch" + args + clean), 0) << err;
    const std::set<std::string> all = FilesUnder(clean);
    for (const char* after : {"0.3", "0.6", "0.9", "1.2", "1.5", "2"}) {
        // Killed or finished: either way what is there must be whole.
        [[maybe_unused]] const int status = std::system(
            ("timeout -s KILL " + std::string(after) + " " + testing::Quoted(testing::kCli) +
             " batch" + args + killed + " >/dev/null 2>&1")
                .c_str());
        for (const std::string& file : FilesUnder(killed)) {
            EXPECT_TRUE(testing::ReadWholeFile(clean + "/" + file) ==
                        testing::ReadWholeFile(killed + "/" + file))
                << "killed after " << after << " s: " << file;
        }
    }
    ASSERT_EQ(run("batch" + args + killed), 0) << err;
    EXPECT_EQ(FilesUnder(killed), all);
    for (fs::recursive_directory_iterator it(killed), end; it != end; ++it) {
        const std::string name = it->path().filename().string();
        EXPECT_TRUE(name[0] != '.' || name == ".batch-record") << name;
    }
}

}  // namespace
}  // namespace kalvera
