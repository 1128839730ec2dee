#include "geo/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace kalvera {
namespace {

const char kSettings[] = "/data/radar/ 300 SITE1 spare 55.75 37.62";

class SettingsFile : public ::testing::Test {
  protected:
    bool load(const std::string& text) {
        dir.write("settings", text);
        return LoadSettingsFrom(config, dir.str(), error);
    }
    bool loadTowns(const std::string& towns) {
        dir.write("res/towns.txt", towns);
        return load(kSettings);
    }
    testing::TempDir dir;
    AppConfig config;
    std::string error;
};

TEST_F(SettingsFile, SixTokensOnOneLineOrOnSixFillTheFields) {
    for (const char* text : {kSettings, "/data/radar/\n300\nSITE1\nspare\n55.75\n37.62\n",
                             "\r\n\t/data/radar/\r\n300\t\tSITE1\r\n  spare 55.75\r\n37.62"}) {
        config = {};
        ASSERT_TRUE(load(text)) << error;
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(config.startDir, dir.str());
        EXPECT_EQ(config.dataRoot, "/data/radar/");
        EXPECT_EQ(config.updatePeriod, 300);
        EXPECT_EQ(config.defaultSite, "SITE1");
        EXPECT_EQ(config.spareText, "spare");
        EXPECT_FLOAT_EQ(config.centreLat, 55.75f);
        EXPECT_FLOAT_EQ(config.centreLon, 37.62f);
    }
}

TEST_F(SettingsFile, NumbersTakeSignsAndExponentsAndLaterWordsAreIgnored) {
    ASSERT_TRUE(load("/d/ +60 S x -12.5 1e1 trailing words")) << error;
    EXPECT_EQ(config.updatePeriod, 60);
    EXPECT_FLOAT_EQ(config.centreLat, -12.5f);
    EXPECT_FLOAT_EQ(config.centreLon, 10.0f);
    ASSERT_TRUE(load("/d/ 0 S x 55 37")) << error;
    EXPECT_EQ(config.updatePeriod, 0);
}

TEST_F(SettingsFile, AFailureNamesTheFileAndTheToken) {
    EXPECT_FALSE(load("/d/ abc S x 55 37"));
    EXPECT_EQ(error, "Cannot read settings file \"" + dir.str() +
                         "/settings\": token 2 (update period) \"abc\" is not a whole number.");
    const std::string longest(255, 'a');
    ASSERT_TRUE(load("/d/ 60 " + longest + " x 55 37")) << error;
    const struct {
        const char* text;
        const char* names;
    } rows[] = {
        {"/d/ 60abc S x 55 37", "token 2 (update period)"},
        {"/d/ 1.5 S x 55 37", "token 2 (update period)"},
        {"/d/ 99999999999 S x 55 37", "token 2 (update period)"},
        {"/d/ --1 S x 55 37", "token 2 (update period)"},
        {"/d/ 60 S x 55,75 37", "token 5 (centre latitude) \"55,75\" is not a number."},
        {"/d/ 60 S x 55 east", "token 6 (centre longitude) \"east\""},
        {"/d/ 60 S x nan 37", "token 5 (centre latitude)"},
        {"/d/ 60 S x 55 inf", "token 6 (centre longitude)"},
        {"", "token 1 (data root) is missing"},
        {"/d/ 60", "/settings\": token 3 (default site) is missing"},
        {"/d/ 60 S x 55", "token 6 (centre longitude) is missing"},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(load(row.text)) << row.text;
        EXPECT_NE(error.find(row.names), std::string::npos) << error;
    }
    EXPECT_FALSE(load("/d/ 60 " + longest + "b x 55 37"));
    EXPECT_NE(error.find("token 3 (default site) is longer than 255 bytes"), std::string::npos);
    std::filesystem::remove(dir.path() / "settings");
    EXPECT_FALSE(LoadSettingsFrom(config, dir.str(), error));
    EXPECT_NE(error.find("Cannot read settings file \"" + dir.str() + "/settings\": No such file"),
              std::string::npos)
        << error;
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

TEST_F(SettingsFile, SitesShowTheirCodesWithoutATable) {
    ASSERT_TRUE(load(kSettings)) << error;
    EXPECT_EQ(SiteDisplayName(config, "SITE1"), "SITE1");
    dir.mkdir("res/towns.txt");
    EXPECT_FALSE(load(kSettings)) << "a table that cannot be read is a failure";
    EXPECT_NE(error.find("Cannot read site table \"" + dir.str() + "/res/towns.txt\""),
              std::string::npos)
        << error;
}

TEST_F(SettingsFile, TheSiteTablePairsCodesAndNamesInFileOrder) {
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "S" + std::to_string(i) + " N" + std::to_string(i) + "\n";
    const struct {
        const char* name;
        std::string towns;
        const char* code;
        const char* shown;
    } rows[] = {
        {"Windows-1251", "MSK \xCC\xEE\xF1\xEA\xE2\xE0\r\nSPB \xCF\xE8\xF2\xE5\xF0\r\n", "SPB",
         "Питер"},
        {"UTF-8 as it stands", "MSK Москва\nKZN Казань\n", "KZN", "Казань"},
        // "Щё" alone would pass for UTF-8; the rest of the file shows it is not.
        {"one encoding for the file", "A \xD9\xB8\nB \xCC\xEE\xF1\xEA\xE2\xE0\n", "A", "Щё"},
        {"the first of two equal codes", "MSK First MSK Second", "MSK", "First"},
        {"codes compare exactly", "MSK First", "msk", "msk"},
        {"a code without a name at the end", "MSK Moscow KZN", "KZN", "KZN"},
        {"a name with a blank shifts the pairing", "A Nizhny Novgorod B Kazan", "Novgorod", "B"},
        {"every pair is kept", hundred, "S99", "N99"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(loadTowns(row.towns)) << error;
        EXPECT_EQ(SiteDisplayName(config, row.code), row.shown) << row.name;
    }
    EXPECT_EQ(config.siteTable.codes[64], "S64");
}

}  // namespace
}  // namespace kalvera
