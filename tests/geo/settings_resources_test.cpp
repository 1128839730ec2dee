#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "geo/settings.h"

namespace kalvera {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<uint32_t> entries) {
    std::string bytes;
    for (uint32_t entry : entries) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(entry >> (8 * i)));
    }
    return bytes;
}

TEST(Palette, WithoutAFileIsWhiteThenGreyLevels) {
    TempDir dir;
    AppConfig config;
    config.startDir = dir.str();
    LoadPalette(config);
    EXPECT_EQ(config.palette[0], 0x00FFFFFFu);
    EXPECT_EQ(config.palette[1], 0x00848484u);
    EXPECT_EQ(config.palette[31], 0x00FCFCFCu);
    EXPECT_EQ(config.palette, DefaultPalette());
}

TEST(Palette, EntriesAreLittleEndianRedLowest) {
    TempDir dir;
    std::string bytes;
    for (uint32_t i = 0; i < 32; ++i) bytes += Bytes({0x00010203u * i + 0xFF000000u * (i == 5)});
    dir.write("res/colors.bin", bytes);
    AppConfig config;
    config.startDir = dir.str();
    LoadPalette(config);
    EXPECT_EQ(config.palette[0], 0u);
    EXPECT_EQ(config.palette[2], 0x00020406u);
    EXPECT_EQ(config.palette[31], 0x001F3E5Du);
    EXPECT_EQ(config.palette[5], 0xFF000000u + 0x00010203u * 5) << "kept as stored";
}

TEST(Palette, AShortFileCoversOnlyItsWholeEntries) {
    TempDir dir;
    dir.write("res/colors.bin", Bytes({0x000000FFu, 0x0000FF00u}) + std::string("\x11\x22", 2));
    AppConfig config;
    config.startDir = dir.str();
    LoadPalette(config);
    const Palette defaults = DefaultPalette();
    EXPECT_EQ(config.palette[0], 0x000000FFu);
    EXPECT_EQ(config.palette[1], 0x0000FF00u);
    EXPECT_EQ(config.palette[2], defaults[2]) << "a cut-off entry is not used";
    EXPECT_EQ(config.palette[31], defaults[31]);
}

TEST(Palette, SavedColoursReadBackAndReplaceTheFileWhole) {
    TempDir dir;
    dir.write("res/colors.bin", "old");
    AppConfig config;
    config.startDir = dir.str();
    config.palette = DefaultPalette();
    config.palette[7] = 0x000080FFu;
    std::string error = "stale";
    ASSERT_TRUE(SavePalette(config, error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(fs::file_size(dir.path() / "res/colors.bin"), 128u);
    EXPECT_EQ(testing::ReadAll(PalettePath(dir.str())).substr(28, 4), Bytes({0x000080FFu}));
    AppConfig reread;
    reread.startDir = dir.str();
    LoadPalette(reread);
    EXPECT_EQ(reread.palette, config.palette);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path() / "res")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST(Palette, AFailedSaveNamesTheFileAndChangesNothing) {
    TempDir dir;
    AppConfig config;
    config.startDir = dir.str();  // no res directory to write into
    config.palette = DefaultPalette();
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
    TempDir dir;
    AppConfig config;
};

TEST_F(SiteDirectories, TheDefaultSiteComesFirstAndOnlyOnce) {
    dir.mkdir("ZZZ");
    dir.mkdir("MSK");
    dir.mkdir("AAA");
    ListSites(config);
    EXPECT_EQ(config.siteList.names, (std::vector<std::string>{"MSK", "AAA", "ZZZ"}));
}

TEST_F(SiteDirectories, TheDefaultSiteIsListedEvenWithoutADirectory) {
    dir.mkdir("KZN");
    dir.mkdir("AAA");
    ListSites(config);
    EXPECT_EQ(config.siteList.names, (std::vector<std::string>{"MSK", "AAA", "KZN"}));
}

TEST_F(SiteDirectories, DotNamesAndFilesAreNotSites) {
    dir.mkdir(".hidden");
    dir.mkdir(".git");
    dir.mkdir("KZN");
    dir.write("notes.txt", "x");
    dir.write("SPB", "a file, not a directory");
    ListSites(config);
    EXPECT_EQ(config.siteList.names, (std::vector<std::string>{"MSK", "KZN"}));
}

TEST_F(SiteDirectories, ALinkToADirectoryIsASite) {
    const std::string target = dir.mkdir("elsewhere/real");
    dir.mkdir("root");
    config.dataRoot = dir.str() + "/root/";
    fs::create_directory_symlink(target, dir.path() / "root" / "LINKED");
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "root" / "DANGLING");
    ListSites(config);
    EXPECT_EQ(config.siteList.names, (std::vector<std::string>{"MSK", "LINKED"}));
}

TEST_F(SiteDirectories, AMissingDataRootLeavesOnlyTheDefaultSite) {
    config.dataRoot = dir.str() + "/absent/";
    ListSites(config);
    EXPECT_EQ(config.siteList.names, (std::vector<std::string>{"MSK"}));
}

TEST_F(SiteDirectories, EveryDirectoryIsKeptInNameOrder) {
    for (int i = 0; i < 80; ++i) dir.mkdir("S" + std::to_string(100 + i));
    ListSites(config);
    ASSERT_EQ(config.siteList.names.size(), 81u);
    EXPECT_EQ(config.siteList.names[1], "S100");
    EXPECT_EQ(config.siteList.names[80], "S179");
}

}  // namespace
}  // namespace kalvera
