// A generated demo archive, read back through the viewer's own readers: the
// settings, the index files and every message they point at.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "demo/term_products.h"
#include "geo/geodesy.h"
#include "geo/settings.h"
#include "mosaic/mosaic_term.h"
#include "support/temp_dir.h"
#include "tools/demo_checks.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;
using testing::RawRecord;

class DemoArchive : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<testing::TempDir>();
        options_ = testing::OptionsIn(dir_->str() + "/start");
        options_.days = 2;
        options_.stepMinutes = 90;
        std::string error;
        ASSERT_TRUE(demo::PrepareStartDirectory(options_, error)) << error;
        written_ = demo::WriteHistory(options_, Now(), error);
        ASSERT_GT(written_, 0) << error;
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // A summer afternoon, so that the scene has convection in it.
    static double Now() { return EncodeDateTime({2026, 6, 15}, {16, 40, 0}); }

    static DayArchive DayOf(const demo::DemoSite& site, double date) {
        return DayArchive::Of(demo::DataRootOf(options_), site.code, DayNameOf(date));
    }

    static std::unique_ptr<testing::TempDir> dir_;
    static demo::DemoOptions options_;
    static int written_;
};

std::unique_ptr<testing::TempDir> DemoArchive::dir_;
demo::DemoOptions DemoArchive::options_;
int DemoArchive::written_ = 0;

TEST_F(DemoArchive, EveryRecordDecodesToTheSimulatedGridAtItsSite) {
    // Both products, the special reference of 26063 and the single cells of
    // strong echo in the fixed layout all come back as the generator meant.
    const demo::WeatherModel model(options_.seed);
    int decoded = 0;
    int strongFixedCells = 0;
    for (const demo::DemoSite& site : demo::DemoSites()) {
        for (double date : {Now() - 1.0, Now()}) {
            const DayArchive day = DayOf(site, date);
            size_t tail = 99;
            const std::vector<RawRecord> records = testing::ReadRawRecords(day.indexPath, &tail);
            ASSERT_FALSE(records.empty()) << day.indexPath;
            EXPECT_EQ(tail, 0u) << day.indexPath;
            std::map<int, demo::TermGrids> grids;
            for (const RawRecord& r : records) {
                const std::string where = site.code + " " + TermTextOf(r.hour, r.minute) +
                                          " layer " + std::to_string(r.layerCode);
                // One record per term and layer, so the lookup finds this one.
                ASSERT_EQ(
                    FindMessageOffset(day.indexPath, TermTextOf(r.hour, r.minute), r.layerCode),
                    r.offset);
                RadarPicture picture;
                DisplayState state;
                ASSERT_TRUE(testing::DecodeRecord(site, day.basePath, r, picture, state)) << where;
                EXPECT_EQ(testing::PictureFault(site, r.layerCode, picture, state), "") << where;
                const int term = r.hour * 60 + r.minute;
                if (grids.count(term) == 0) {
                    grids[term] =
                        demo::SampleTerm(site, model.at(std::floor(date) + term / 1440.0));
                }
                const demo::TermGrids& g = grids[term];
                const demo::Grid& want = r.layerCode == 21   ? g.echoTopsM
                                         : r.layerCode == 22 ? g.phenomena
                                                             : g.reflectivity[r.layerCode];
                int mismatches = 0;
                for (int k = 0; k < kGridCells; ++k) {
                    mismatches += picture.values[k] != want[k];
                    strongFixedCells += site.fixedLayout && r.layerCode <= 10 && want[k] > 126;
                }
                ASSERT_EQ(mismatches, 0) << where;
                ++decoded;
            }
        }
    }
    EXPECT_EQ(decoded, written_ * 12);
    EXPECT_GT(strongFixedCells, 0) << "no echo above 63 dBZ at a fixed-layout site";
}

TEST_F(DemoArchive, TermsRunUpToNowEachWithTenReflectivityLayersTopsAndPhenomena) {
    const std::vector<int> layers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 21, 22};
    for (const demo::DemoSite& site : demo::DemoSites()) {
        std::vector<std::string> terms;
        ASSERT_EQ(LoadTermList(DayOf(site, Now() - 1.0).indexPath, terms), 16);  // 24 h / 90 min
        EXPECT_EQ(terms.front(), "00.00");
        EXPECT_EQ(terms.back(), "22.30");
        const std::string today = DayOf(site, Now()).indexPath;
        ASSERT_EQ(LoadTermList(today, terms), 12);
        EXPECT_EQ(terms.back(), "16.30");  // the last step before 16.40
        for (const std::string& term : terms) {
            std::vector<int> found;
            EXPECT_EQ(LoadLayerList(today, term, found), 22);
            EXPECT_EQ(found, layers) << site.code << " " << term;
        }
    }
    EXPECT_EQ(written_, static_cast<int>(demo::DemoSites().size()) * (16 + 12));
}

TEST_F(DemoArchive, SettingsAndResourcesLeadTheViewerToTheArchive) {
    AppConfig config;
    std::string error;
    ASSERT_TRUE(LoadSettingsFrom(config, options_.dir, error)) << error;
    EXPECT_TRUE(fs::path(config.dataRoot).is_absolute());
    EXPECT_EQ(config.dataRoot, demo::DataRootOf(options_));
    EXPECT_EQ(config.dataRoot.back(), '/');
    EXPECT_EQ(config.defaultSite, "27612");
    EXPECT_GT(config.updatePeriod, 0);
    EXPECT_NEAR(config.centreLat, 55.65, 0.01);
    EXPECT_NEAR(config.centreLon, 37.77, 0.01);
    EXPECT_EQ(SiteDisplayName(config, "26063"), "Санкт-Петербург");
    for (const demo::DemoSite& site : demo::DemoSites())
        EXPECT_NE(SiteDisplayName(config, site.code), site.code) << "no name in towns.txt";
    ListSites(config);
    EXPECT_EQ(config.siteList.names.size(), demo::DemoSites().size());
    DisplayState state;
    state.siteCode = "26063";
    FixedClock clock(Now());
    EXPECT_TRUE(FindLatestDay(state, config.dataRoot, clock));
    EXPECT_EQ(state.dayName, DayNameOf(Now()));
    for (const char* name : {"country.ind", "country.bin", "punkt.txt", "towns.txt", "colors.bin",
                             "colors/colourblind-reflectivity.pal", "colors/greyscale.pal"}) {
        const fs::path copy = fs::path(options_.dir) / "res" / name;
        ASSERT_TRUE(fs::exists(copy)) << name;
        EXPECT_EQ(fs::file_size(copy), fs::file_size(fs::path(options_.dataDir) / name)) << name;
    }
}

TEST_F(DemoArchive, WritingAgainAddsOnlyTheTermsThatAreMissing) {
    const DayArchive day = DayOf(demo::DemoSites().front(), Now());
    const auto before = fs::file_size(day.indexPath);
    std::string error;
    EXPECT_EQ(demo::WriteHistory(options_, Now(), error), 0);
    EXPECT_EQ(fs::file_size(day.indexPath), before);
    // An hour and a half later one more term exists at each site.
    EXPECT_EQ(demo::WriteHistory(options_, Now() + 1.5 / 24.0, error),
              static_cast<int>(demo::DemoSites().size()));
    EXPECT_EQ(fs::file_size(day.indexPath), before + 12 * 16);
}

TEST(DemoStartDirectory, RefusesWhatItCannotWrite) {
    testing::TempDir dir;
    demo::DemoOptions blank = testing::OptionsIn(dir.str() + "/with blank");
    demo::DemoOptions noData = testing::OptionsIn(dir.str());
    noData.dataDir = dir.str() + "/nowhere";
    for (auto [options, reason] : {std::pair{blank, "white space"}, {noData, "country.ind"}}) {
        std::string error;
        EXPECT_FALSE(demo::PrepareStartDirectory(options, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(DemoStartDirectory, AStopRequestEndsTheHistoryAndARerunKeepsTheOperatorsPalette) {
    testing::TempDir dir;
    const demo::DemoOptions options = testing::OptionsIn(dir.str());
    std::string error;
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;
    const std::atomic<bool> stop{true};
    EXPECT_EQ(demo::WriteHistory(options, EncodeDateTime({2026, 6, 15}, {12, 0, 0}), error, &stop),
              0);
    EXPECT_TRUE(fs::is_empty(fs::path(demo::DataRootOf(options)) / "27612"));
    dir.write("res/colors.bin", std::string(128, '\x11'));
    ASSERT_TRUE(demo::PrepareStartDirectory(options, error)) << error;
    AppConfig config;
    config.startDir = dir.str();
    LoadPalette(config);
    EXPECT_EQ(config.palette[0], 0x11111111u);
}

TEST_F(DemoArchive, SiteSquaresOverlapAndAgreeWhereTheyDo) {
    MosaicRequest request;
    request.dataRoot = demo::DataRootOf(options_);
    for (const demo::DemoSite& site : demo::DemoSites()) request.siteCodes.push_back(site.code);
    request.dayName = DayNameOf(Now());
    request.termText = "15.00";
    MosaicLoader loader;
    const MosaicTerm term = loader.Load(request, {1});
    ASSERT_EQ(term.Present().size(), demo::DemoSites().size()) << term.Missing().front();
    const MosaicLayout& layout = *term.layout;

    // Pairs whose squares overlap by 100 km or more each way, and sites alone.
    const auto overlapKm = [&](size_t a, size_t b, bool eastWest) {
        const RadarGrid& p = layout.siteGrid(a);
        const RadarGrid& q = layout.siteGrid(b);
        if (eastWest) {
            const double degrees = std::min(p.EdgeLon(p.columns()), q.EdgeLon(q.columns())) -
                                   std::max(p.lonMin(), q.lonMin());
            return degrees * KmPerDegreeLonAt(layout.sites()[a].lat);
        }
        return (std::min(p.EdgeLat(p.rows()), q.EdgeLat(q.rows())) -
                std::max(p.latMin(), q.latMin())) *
               kKmPerDegreeLat;
    };
    int widePairs = 0;
    std::vector<int> neighbours(layout.sites().size());
    for (size_t a = 0; a < layout.sites().size(); ++a) {
        for (size_t b = a + 1; b < layout.sites().size(); ++b) {
            const double ew = overlapKm(a, b, true), ns = overlapKm(a, b, false);
            if (ew > 0 && ns > 0) ++neighbours[a], ++neighbours[b];
            if (ew >= 100 && ns >= 100) ++widePairs;
        }
    }
    EXPECT_GE(widePairs, 3);
    EXPECT_TRUE(std::count(neighbours.begin(), neighbours.end(), 0) >= 1);

    // One weather scene under every square: where two sites see the same
    // echo, the strongest and the nearest site's values are close.
    const Composite strongest = term.Product(1, CompositeMethod::Maximum);
    const Composite nearest = term.Product(1, CompositeMethod::Nearest);
    int compared = 0, close = 0;
    for (size_t k = 0; k < strongest.values.values.size(); ++k) {
        if (strongest.source[k] == nearest.source[k] || nearest.values.values[k] <= 0) continue;
        ++compared;
        if (strongest.values.values[k] - nearest.values.values[k] <= 10) ++close;
    }
    EXPECT_GT(compared, 100);
    EXPECT_GE(close, compared * 9 / 10);
}

}  // namespace
}  // namespace kalvera
