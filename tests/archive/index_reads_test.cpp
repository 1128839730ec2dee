#include <gtest/gtest.h>

#include <filesystem>

#include "archive/day_archive.h"
#include "archive/index_bytes.h"
#include "common/temp_dir.h"

namespace kalvera {
namespace {

using testing::IndexRecordBytes;
using testing::TempDir;

class IndexFile : public ::testing::Test {
  protected:
    std::string write(const std::string& bytes) { return dir.write("MSK/090304.ind", bytes); }
    std::vector<std::string> terms(const std::string& path) {
        std::vector<std::string> list{"stale"};
        const int count = LoadTermList(path, list);
        EXPECT_EQ(count, static_cast<int>(list.size()));
        return list;
    }
    TempDir dir;
};

int OpenDescriptors() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

TEST_F(IndexFile, OneTermWithLayers0To22IsListedOnce) {
    std::string bytes;
    for (int code = 0; code <= 22; ++code) bytes += IndexRecordBytes(7, 5, code, 1000 * code);
    const std::string path = write(bytes);
    EXPECT_EQ(terms(path), (std::vector<std::string>{"07.05"}));
    std::vector<int> layers;
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 22);
    ASSERT_EQ(layers.size(), 23u);
    EXPECT_EQ(layers.front(), 0);
    EXPECT_EQ(layers.back(), 22);
    EXPECT_EQ(FindMessageOffset(path, "07.05", 21), 21000);
    EXPECT_EQ(FindMessageOffset(path, "7.5", 0), 0);
}

TEST_F(IndexFile, TermsAreListedAscendingWithoutDuplicates) {
    const std::string path = write(IndexRecordBytes(13, 30, 1, 0) + IndexRecordBytes(7, 5, 1, 16) +
                                   IndexRecordBytes(10, 0, 1, 32) + IndexRecordBytes(7, 5, 2, 48) +
                                   IndexRecordBytes(13, 30, 2, 64) + IndexRecordBytes(0, 0, 1, 80));
    EXPECT_EQ(terms(path), (std::vector<std::string>{"00.00", "07.05", "10.00", "13.30"}));
}

TEST_F(IndexFile, AnEmptyFileHoldsNoTerms) {
    const std::string path = write("");
    EXPECT_TRUE(terms(path).empty());
    std::vector<int> layers{5};
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 0);
    EXPECT_TRUE(layers.empty());
    EXPECT_EQ(FindMessageOffset(path, "07.05", 0), -1);
}

TEST_F(IndexFile, ATrailingPieceOfARecordIsIgnored) {
    const std::string whole = IndexRecordBytes(7, 5, 1, 111) + IndexRecordBytes(8, 0, 2, 222);
    for (size_t piece = 1; piece < 16; ++piece) {
        const std::string path = write(whole + IndexRecordBytes(9, 0, 3, 333).substr(0, piece));
        EXPECT_EQ(terms(path), (std::vector<std::string>{"07.05", "08.00"})) << piece;
        EXPECT_EQ(FindMessageOffset(path, "08.00", 2), 222) << piece;
        EXPECT_EQ(FindMessageOffset(path, "09.00", 3), -1) << piece;
        std::vector<int> layers;
        EXPECT_EQ(LoadLayerList(path, "09.00", layers), 0) << piece;
    }
    EXPECT_TRUE(terms(write(whole.substr(0, 15))).empty()) << "a file of only a piece";
}

TEST_F(IndexFile, RecordsAcrossReadBlocksAreAllSeen) {
    // Far more records than one read takes, with a piece at the very end.
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += IndexRecordBytes(i / 60 % 24, i % 60, 1, i);
    bytes += "\x01\x02\x03";
    const std::string path = write(bytes);
    EXPECT_EQ(terms(path).size(), 1440u);
    EXPECT_EQ(FindMessageOffset(path, "23.59", 1), 1439);
    EXPECT_EQ(FindMessageOffset(path, "17.04", 1), 1024) << "first of a block";
    EXPECT_EQ(FindMessageOffset(path, "17.03", 1), 1023) << "last of a block";
}

TEST_F(IndexFile, ATermWithOnlyLayer0ReturnsZeroLikeAnAbsentTerm) {
    const std::string path = write(IndexRecordBytes(7, 5, 0, 0) + IndexRecordBytes(8, 0, 3, 16));
    std::vector<int> layers;
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 0);
    EXPECT_EQ(layers, (std::vector<int>{0}));
    EXPECT_EQ(LoadLayerList(path, "09.00", layers), 0);
    EXPECT_TRUE(layers.empty());
}

TEST_F(IndexFile, LayerCodesAbove24AreNotListed) {
    const std::string path =
        write(IndexRecordBytes(7, 5, 3, 0) + IndexRecordBytes(7, 5, 25, 16) +
              IndexRecordBytes(7, 5, 24, 32) + IndexRecordBytes(7, 5, 255, 48));
    std::vector<int> layers;
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 24);
    EXPECT_EQ(layers, (std::vector<int>{3, 24}));
    EXPECT_EQ(FindMessageOffset(path, "07.05", 25), 16) << "the offset is still found";
}

TEST_F(IndexFile, LayersAreAscendingWhateverTheRecordOrder) {
    const std::string path = write(IndexRecordBytes(7, 5, 22, 0) + IndexRecordBytes(7, 5, 1, 16) +
                                   IndexRecordBytes(8, 5, 2, 32) + IndexRecordBytes(7, 5, 21, 48) +
                                   IndexRecordBytes(7, 5, 1, 64));
    std::vector<int> layers;
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 22);
    EXPECT_EQ(layers, (std::vector<int>{1, 21, 22}));
}

TEST_F(IndexFile, TheFirstMatchingRecordGivesTheOffset) {
    const std::string path = write(IndexRecordBytes(7, 5, 1, 500) + IndexRecordBytes(7, 5, 1, 900));
    EXPECT_EQ(FindMessageOffset(path, "07.05", 1), 500);
}

TEST_F(IndexFile, OffsetsAreLittleEndianSigned) {
    const std::string path =
        write(IndexRecordBytes(1, 2, 3, 0x01020304) + IndexRecordBytes(1, 2, 4, -16));
    EXPECT_EQ(FindMessageOffset(path, "01.02", 3), 0x01020304);
    EXPECT_EQ(FindMessageOffset(path, "01.02", 4), -16);
}

TEST_F(IndexFile, ALayerTheTermLacksHasNoOffsetAndLeavesNoFileOpen) {
    const std::string path = write(IndexRecordBytes(7, 5, 1, 500));
    const int before = OpenDescriptors();
    EXPECT_EQ(FindMessageOffset(path, "07.05", 2), -1);
    EXPECT_EQ(FindMessageOffset(path, "07.05", 1), 500);
    std::vector<std::string> list;
    LoadTermList(path, list);
    std::vector<int> layers;
    LoadLayerList(path, "07.05", layers);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(IndexFile, ValuesNoRecordCanHoldMatchNothing) {
    // 263 would wrap to the byte 7 if it were cut down.
    const std::string path = write(IndexRecordBytes(7, 5, 7, 500));
    EXPECT_EQ(FindMessageOffset(path, "263.05", 7), -1);
    EXPECT_EQ(FindMessageOffset(path, "07.261", 7), -1);
    EXPECT_EQ(FindMessageOffset(path, "07.05", 263), -1);
    EXPECT_EQ(FindMessageOffset(path, "07.05", -249), -1);
    EXPECT_EQ(FindMessageOffset(path, "bad", 7), -1);
    std::vector<int> layers{1};
    EXPECT_EQ(LoadLayerList(path, "263.05", layers), 0);
    EXPECT_TRUE(layers.empty());
    EXPECT_EQ(LoadLayerList(path, "bad", layers), 0);
}

TEST_F(IndexFile, AMissingFileIsReportedByEachRead) {
    const std::string path = dir.str() + "/MSK/missing.ind";
    EXPECT_TRUE(terms(path).empty());
    std::vector<int> layers{1, 2};
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), -1);
    EXPECT_EQ(layers, (std::vector<int>{1, 2})) << "the shown list stays as it was";
    EXPECT_EQ(FindMessageOffset(path, "07.05", 1), -1);
}

}  // namespace
}  // namespace kalvera
