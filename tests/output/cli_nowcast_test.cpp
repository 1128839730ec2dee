// kalvera-cli nowcast, cells and verify as a script runs them: the forecast
// file says what it is, the tables have their columns, and the composite of
// all sites goes through the same commands.

#include <gdal.h>

#include <filesystem>
#include <sstream>

#include "output/cli_fixture.h"

namespace kalvera {
namespace {

using CliNowcast = testing::CliArchive;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

size_t Lines(const std::string& text) {
    size_t n = 0;
    for (const char c : text) n += c == '\n';
    return n;
}

TEST_F(CliNowcast, AForecastGeoTiffGivesItsBaseTermAndLead) {
    const std::string out = dir.file("forecast.tif");
    ASSERT_EQ(run(args(out, 1, "nowcast") + " --lead 40"), 0) << err;
    GDALAllRegister();
    GDALDatasetH opened = GDALOpen(out.c_str(), GA_ReadOnly);
    ASSERT_NE(opened, nullptr);
    const auto item = [&](const char* name) {
        const char* v = GDALGetMetadataItem(opened, name, nullptr);
        return std::string(v ? v : "");
    };
    EXPECT_EQ(item("BASE_TERM"), term_);
    EXPECT_EQ(item("LEAD_MIN"), "40");
    EXPECT_EQ(item("SKILL"), "low");
    GDALClose(opened);
}

TEST_F(CliNowcast, AForecastPictureIsWritten) {
    const std::string out = dir.file("forecast.png");
    ASSERT_EQ(run(args(out, 1, "nowcast") + " --lead 10"), 0) << err;
    EXPECT_FALSE(load(out).isNull());
}

TEST_F(CliNowcast, TheCompositeGoesThroughEveryCommand) {
    const std::string day = " --start-dir " + start_ + " --mosaic --method max --day " + day_;
    const std::string forecast = dir.file("m.tif");
    const std::string header =
        "term,id,lat,lon,area_km2,max_dbz,top_m,vil_max,speed_kmh,heading_deg,motion";
    const struct {
        std::string command;
        std::string firstLine;  // of the table printed; empty for a file
    } rows[] = {
        {"cells" + day + " --term " + term_ + " --csv", header},
        {"verify" + day + " --csv", "lead_min,method,hits,misses,false_alarms,pod,far,csi,fss"},
        {"nowcast" + day + " --term " + term_ + " --layer max --lead 10 --out " + forecast, ""},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(run(row.command), 0) << row.command << "\n" << err;
        if (!row.firstLine.empty()) {
            EXPECT_EQ(FirstLine(printed), row.firstLine) << row.command;
        }
    }
    GDALAllRegister();
    GDALDatasetH opened = GDALOpen(forecast.c_str(), GA_ReadOnly);
    ASSERT_NE(opened, nullptr);
    // The composite's grid, wider than any one site's square.
    EXPECT_GT(GDALGetRasterXSize(opened), 100);
    const char* lead = GDALGetMetadataItem(opened, "LEAD_MIN", nullptr);
    EXPECT_EQ(std::string(lead ? lead : ""), "10");
    GDALClose(opened);
}

TEST_F(CliNowcast, ASiteAndTheCompositeTogetherAreRefused) {
    const std::string both =
        " --start-dir " + start_ + " --mosaic --site " + site_ + " --day " + day_;
    for (const std::string& command : {"cells" + both, "verify" + both,
                                       "nowcast" + both + " --term " + term_ +
                                           " --layer max --lead 10 --out " + dir.file("m.tif")}) {
        EXPECT_EQ(run(command), 2) << command;
        EXPECT_NE(err.find("exclude each other"), std::string::npos) << err;
    }
}

// The real showers run across midnight: the composite's first term of the
// day reads the motion and tracks of the day before, and every cell moves.
TEST_F(CliNowcast, TheCompositesCellsAtMidnightMove) {
    const std::string real = std::string(KALVERA_SOURCE_DIR) + "/tests/data/real-weather";
    ASSERT_EQ(run("cells --start-dir " + real +
                  " --mosaic --sites 90101 --day 170510 --term 00.00 --threshold 35 --csv"),
              0)
        << err;
    std::istringstream rows(printed);
    std::string row;
    std::getline(rows, row);
    size_t cells = 0;
    while (std::getline(rows, row)) {
        EXPECT_FALSE(row.ends_with(",,,")) << row;
        EXPECT_FALSE(row.ends_with(",implausible")) << row;
        ++cells;
    }
    EXPECT_GT(cells, 0u);
}

TEST_F(CliNowcast, AListOfLeadsWritesAFileEach) {
    ASSERT_EQ(run(args(dir.file("f.tif"), 1, "nowcast") + " --lead 30,10"), 0) << err;
    for (const char* name : {"f+10.tif", "f+30.tif"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("f.tif")));
}

TEST_F(CliNowcast, LeadsOtherThanTheNowcastsAreUsageErrors) {
    for (const char* lead : {"0", "15", "70", "x", "10,", "10,15", ","}) {
        EXPECT_EQ(run(args(dir.file("f.tif"), 1, "nowcast") + " --lead " + lead), 2) << lead;
    }
}

TEST_F(CliNowcast, VerifyPrintsBothMethodsAtEveryLead) {
    ASSERT_EQ(
        run("verify --start-dir " + start_ + " --site " + site_ + " --day " + day_ + " --csv"), 0)
        << err;
    EXPECT_EQ(FirstLine(printed), "lead_min,method,hits,misses,false_alarms,pod,far,csi,fss");
    EXPECT_EQ(Lines(printed), 13u);
}

TEST_F(CliNowcast, CellsPrintTheirColumns) {
    ASSERT_EQ(run("cells --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                  " --term " + term_ + " --csv"),
              0)
        << err;
    EXPECT_EQ(FirstLine(printed),
              "term,id,lat,lon,area_km2,max_dbz,top_m,vil_max,speed_kmh,heading_deg,motion");
    std::istringstream rows(printed);
    std::string row;
    std::getline(rows, row);
    while (std::getline(rows, row)) EXPECT_TRUE(row.starts_with(term_ + ",")) << row;
}

}  // namespace
}  // namespace kalvera
