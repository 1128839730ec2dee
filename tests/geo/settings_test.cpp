#include "geo/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/temp_dir.h"

namespace kalvera {
namespace {

using testing::TempDir;

const char kSettings[] = "/data/radar/ 300 SITE1 spare 55.75 37.62";

class SettingsFile : public ::testing::Test {
  protected:
    bool load(const std::string& text) {
        dir.write("settings", text);
        return LoadSettingsFrom(config, dir.str(), error);
    }
    TempDir dir;
    AppConfig config;
    std::string error;
};

TEST_F(SettingsFile, SixTokensFillTheFields) {
    ASSERT_TRUE(load(kSettings)) << error;
    EXPECT_EQ(config.startDir, dir.str());
    EXPECT_EQ(config.dataRoot, "/data/radar/");
    EXPECT_EQ(config.updatePeriod, 300);
    EXPECT_EQ(config.defaultSite, "SITE1");
    EXPECT_EQ(config.spareText, "spare");
    EXPECT_FLOAT_EQ(config.centreLat, 55.75f);
    EXPECT_FLOAT_EQ(config.centreLon, 37.62f);
    EXPECT_TRUE(error.empty());
}

TEST_F(SettingsFile, TokensReadTheSameOnOneLineOrOnSix) {
    ASSERT_TRUE(load(kSettings));
    const AppConfig oneLine = config;
    ASSERT_TRUE(load("/data/radar/\n300\nSITE1\nspare\n55.75\n37.62\n"));
    EXPECT_EQ(config.dataRoot, oneLine.dataRoot);
    EXPECT_EQ(config.updatePeriod, oneLine.updatePeriod);
    EXPECT_EQ(config.defaultSite, oneLine.defaultSite);
    EXPECT_EQ(config.spareText, oneLine.spareText);
    EXPECT_EQ(config.centreLat, oneLine.centreLat);
    EXPECT_EQ(config.centreLon, oneLine.centreLon);
    ASSERT_TRUE(load("\r\n\t/data/radar/\r\n300\t\tSITE1\r\n  spare 55.75\r\n37.62"));
    EXPECT_EQ(config.defaultSite, "SITE1");
    EXPECT_EQ(config.centreLon, oneLine.centreLon);
}

TEST_F(SettingsFile, NumbersTakeSignsAndExponentsAndLaterWordsAreIgnored) {
    ASSERT_TRUE(load("/d/ +60 S x -12.5 1e1 trailing words")) << error;
    EXPECT_EQ(config.updatePeriod, 60);
    EXPECT_FLOAT_EQ(config.centreLat, -12.5f);
    EXPECT_FLOAT_EQ(config.centreLon, 10.0f);
    ASSERT_TRUE(load("/d/ 0 S x 55 37")) << error;
    EXPECT_EQ(config.updatePeriod, 0);
    EXPECT_FLOAT_EQ(config.centreLat, 55.0f);
}

TEST_F(SettingsFile, APeriodThatIsNotAWholeNumberIsNamed) {
    EXPECT_FALSE(load("/d/ abc S x 55 37"));
    EXPECT_EQ(error, "Cannot read settings file \"" + dir.str() +
                         "/settings\": token 2 (update period) \"abc\" is not a whole number.");
    for (const char* period : {"60abc", "1.5", "99999999999", "--1"}) {
        EXPECT_FALSE(load(std::string("/d/ ") + period + " S x 55 37")) << period;
        EXPECT_NE(error.find("token 2 (update period)"), std::string::npos) << error;
    }
}

TEST_F(SettingsFile, ACoordinateThatIsNotANumberIsNamed) {
    EXPECT_FALSE(load("/d/ 60 S x 55,75 37"));
    EXPECT_NE(error.find("token 5 (centre latitude) \"55,75\" is not a number."), std::string::npos)
        << error;
    EXPECT_FALSE(load("/d/ 60 S x 55 east"));
    EXPECT_NE(error.find("token 6 (centre longitude) \"east\""), std::string::npos) << error;
    EXPECT_FALSE(load("/d/ 60 S x nan 37"));
    EXPECT_FALSE(load("/d/ 60 S x 55 inf"));
}

TEST_F(SettingsFile, TooFewTokensNameTheFirstMissingOne) {
    EXPECT_FALSE(load("/d/ 60"));
    EXPECT_NE(error.find("/settings\": token 3 (default site) is missing"), std::string::npos)
        << error;
    EXPECT_FALSE(load(""));
    EXPECT_NE(error.find("token 1 (data root) is missing"), std::string::npos) << error;
    EXPECT_FALSE(load("/d/ 60 S x 55"));
    EXPECT_NE(error.find("token 6 (centre longitude) is missing"), std::string::npos) << error;
}

TEST_F(SettingsFile, TextTokensLongerThan255BytesAreRefused) {
    const std::string fits(255, 'a');
    ASSERT_TRUE(load("/d/ 60 " + fits + " x 55 37")) << error;
    EXPECT_EQ(config.defaultSite, fits);
    EXPECT_FALSE(load("/d/ 60 " + fits + "b x 55 37"));
    EXPECT_NE(error.find("token 3 (default site) is longer than 255 bytes"), std::string::npos)
        << error;
}

TEST_F(SettingsFile, AMissingFileIsAFailureNamingIt) {
    EXPECT_FALSE(LoadSettingsFrom(config, dir.str(), error));
    EXPECT_NE(error.find("Cannot read settings file \"" + dir.str() + "/settings\": "),
              std::string::npos)
        << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

TEST_F(SettingsFile, LoadSettingsStartsFromTheCurrentDirectory) {
    dir.write("settings", kSettings);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool loaded = LoadSettings(config, error);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(std::filesystem::path(config.startDir), std::filesystem::canonical(dir.path()));
    EXPECT_EQ(config.defaultSite, "SITE1");
}

TEST(ResourcePaths, HangBelowTheStartDirectory) {
    EXPECT_EQ(SettingsPath("/opt/k"), "/opt/k/settings");
    EXPECT_EQ(TownsPath("/opt/k"), "/opt/k/res/towns.txt");
    EXPECT_EQ(PalettePath("/opt/k"), "/opt/k/res/colors.bin");
    EXPECT_EQ(CountryBinPath("/opt/k"), "/opt/k/res/country.bin");
    EXPECT_EQ(CountryIndPath("/opt/k"), "/opt/k/res/country.ind");
    EXPECT_EQ(PlacesPath("/opt/k"), "/opt/k/res/punkt.txt");
}

class SiteTableFile : public SettingsFile {
  protected:
    bool loadTowns(const std::string& towns) {
        dir.write("res/towns.txt", towns);
        return load(kSettings);
    }
};

TEST_F(SiteTableFile, AMissingTableLeavesSitesShowingTheirCodes) {
    ASSERT_TRUE(load(kSettings)) << error;
    EXPECT_TRUE(config.siteTable.codes.empty());
    EXPECT_EQ(SiteDisplayName(config, "SITE1"), "SITE1");
}

TEST_F(SiteTableFile, Windows1251NamesAreHeldAsUtf8) {
    ASSERT_TRUE(loadTowns("MSK \xCC\xEE\xF1\xEA\xE2\xE0\r\nSPB \xCF\xE8\xF2\xE5\xF0\r\n"));
    ASSERT_EQ(config.siteTable.codes.size(), 2u);
    EXPECT_EQ(SiteDisplayName(config, "MSK"), "Москва");
    EXPECT_EQ(SiteDisplayName(config, "SPB"), "Питер");
}

TEST_F(SiteTableFile, AUtf8TableIsTakenAsItStands) {
    ASSERT_TRUE(loadTowns("MSK Москва\nKZN Казань\n"));
    EXPECT_EQ(SiteDisplayName(config, "KZN"), "Казань");
}

TEST_F(SiteTableFile, TheEncodingIsDecidedForTheWholeFile) {
    // "Щё" alone would pass for UTF-8; the rest of the file shows it is not.
    ASSERT_TRUE(loadTowns("A \xD9\xB8\nB \xCC\xEE\xF1\xEA\xE2\xE0\n"));
    EXPECT_EQ(SiteDisplayName(config, "A"), "Щё");
}

TEST_F(SiteTableFile, TheFirstOfTwoEqualCodesWins) {
    ASSERT_TRUE(loadTowns("MSK First MSK Second"));
    EXPECT_EQ(SiteDisplayName(config, "MSK"), "First");
    EXPECT_EQ(SiteDisplayName(config, "msk"), "msk") << "codes compare exactly";
    EXPECT_EQ(config.siteTable.codes.size(), 2u);
}

TEST_F(SiteTableFile, ACodeWithoutANameAtTheEndAddsNothing) {
    ASSERT_TRUE(loadTowns("MSK Moscow KZN"));
    EXPECT_EQ(config.siteTable.codes.size(), 1u);
    EXPECT_EQ(SiteDisplayName(config, "KZN"), "KZN");
}

TEST_F(SiteTableFile, ANameWithABlankShiftsThePairing) {
    ASSERT_TRUE(loadTowns("A Nizhny Novgorod B Kazan"));
    EXPECT_EQ(SiteDisplayName(config, "A"), "Nizhny");
    EXPECT_EQ(SiteDisplayName(config, "Novgorod"), "B");
}

TEST_F(SiteTableFile, EveryPairIsKeptInFileOrder) {
    std::string towns;
    for (int i = 0; i < 100; ++i)
        towns += "S" + std::to_string(i) + " N" + std::to_string(i) + "\n";
    ASSERT_TRUE(loadTowns(towns));
    ASSERT_EQ(config.siteTable.codes.size(), 100u);
    EXPECT_EQ(config.siteTable.codes[64], "S64");
    EXPECT_EQ(SiteDisplayName(config, "S99"), "N99");
}

TEST_F(SiteTableFile, AnUnreadableTableIsAFailure) {
    dir.mkdir("res/towns.txt");
    EXPECT_FALSE(load(kSettings));
    EXPECT_NE(error.find("Cannot read site table \"" + dir.str() + "/res/towns.txt\""),
              std::string::npos)
        << error;
}

}  // namespace
}  // namespace kalvera
