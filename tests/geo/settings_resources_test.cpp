#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "geo/settings.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<uint32_t> entries) {
    std::string bytes;
    for (uint32_t entry : entries) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(entry >> (8 * i)));
    }
    return bytes;
}

class PaletteFile : public ::testing::Test {
  protected:
    PaletteFile() { config.startDir = dir.str(); }
    const Palette& load() {
        LoadPalette(config);
        return config.palette;
    }
    testing::TempDir dir;
    AppConfig config;
};

TEST_F(PaletteFile, WithoutAFileIsWhiteThenGreyLevelsUpTo252) {
    EXPECT_EQ(load()[0], 0x00FFFFFFu);
    EXPECT_EQ(config.palette[1], 0x00848484u);
    EXPECT_EQ(config.palette[31], 0x00FCFCFCu);
    EXPECT_EQ(config.palette, DefaultPalette());
}

TEST_F(PaletteFile, EntriesAreLittleEndianRedLowestAndAShortFileCoversOnlyWholeOnes) {
    dir.write("res/colors.bin", Bytes({0x00010203u, 0xFF0000FFu}) + std::string("\x11\x22", 2));
    Palette want = DefaultPalette();
    want[0] = 0x00010203u;
    want[1] = 0xFF0000FFu;  // kept as stored
    EXPECT_EQ(load(), want);
}

TEST_F(PaletteFile, SavedColoursReplaceTheFileWholeAndReadBack) {
    dir.write("res/colors.bin", "old");
    config.palette = DefaultPalette();
    config.palette[7] = 0x000080FFu;
    const Palette saved = config.palette;
    std::string error = "stale";
    ASSERT_TRUE(SavePalette(config, error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(testing::ReadWholeFile(PalettePath(dir.str())).substr(28, 4), Bytes({0x000080FFu}));
    EXPECT_EQ(load(), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "res"), {}), 1)
        << "no temporary file is left behind";
}

TEST_F(PaletteFile, ASaveThroughALinkReplacesItsTargetAndKeepsTheMode) {
    const std::string target = dir.write("shared/colors.bin", "old");
    ASSERT_EQ(chmod(target.c_str(), 0664), 0);
    dir.mkdir("res");
    ASSERT_EQ(symlink("../shared/colors.bin", PalettePath(dir.str()).c_str()), 0);
    std::string error;
    ASSERT_TRUE(SavePalette(config, error)) << error;
    EXPECT_TRUE(fs::is_symlink(PalettePath(dir.str())));
    EXPECT_EQ(testing::ReadWholeFile(target).size(), 128u);
    EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(0664));
}

TEST_F(PaletteFile, AFailedSaveNamesTheFileAndChangesNothing) {
    config.palette = DefaultPalette();  // no res directory to write into
    std::string error;
    EXPECT_FALSE(SavePalette(config, error));
    EXPECT_NE(error.find("Cannot write palette file \"" + dir.str() + "/res/colors.bin\": "),
              std::string::npos)
        << error;
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

class SiteDirectories : public ::testing::Test {
  protected:
    SiteDirectories() {
        config.dataRoot = dir.prefix();
        config.defaultSite = "MSK";
    }
    std::vector<std::string> list() {
        ListSites(config);
        return config.siteList.names;
    }
    testing::TempDir dir;
    AppConfig config;
};

TEST_F(SiteDirectories, TheDefaultSiteComesFirstOnceThenVisibleDirectoriesInNameOrder) {
    for (const char* name : {"ZZZ", "MSK", "AAA", ".hidden", ".git"}) dir.mkdir(name);
    dir.write("notes.txt", "x");
    dir.write("SPB", "a file, not a directory");
    const testing::TempDir elsewhere;
    fs::create_directory_symlink(elsewhere.path(), dir.path() / "LINKED");
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "DANGLING");
    EXPECT_EQ(list(), (std::vector<std::string>{"MSK", "AAA", "LINKED", "ZZZ"}));
}

TEST_F(SiteDirectories, TheDefaultSiteIsListedEvenWithoutADirectoryOrDataRoot) {
    for (int i = 0; i < 80; ++i) dir.mkdir("S" + std::to_string(100 + i));
    const std::vector<std::string> names = list();
    ASSERT_EQ(names.size(), 81u);
    EXPECT_EQ(names[0], "MSK");
    EXPECT_EQ(names[1], "S100");
    EXPECT_EQ(names[80], "S179");
    config.dataRoot = dir.str() + "/absent/";
    EXPECT_EQ(list(), (std::vector<std::string>{"MSK"}));
}

}  // namespace
}  // namespace kalvera
