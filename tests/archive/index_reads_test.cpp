#include <gtest/gtest.h>

#include <filesystem>

#include "archive/day_archive.h"
#include "archive/index_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

using testing::IndexRecordBytes;

// Terms stored out of order and repeated; 08.00 holds layer 1 twice.
std::string MixedDay() {
    return IndexRecordBytes(13, 30, 1, 0) + IndexRecordBytes(10, 0, 3, 300) +
           IndexRecordBytes(7, 5, 0, 0x01020304) + IndexRecordBytes(10, 0, 25, 16) +
           IndexRecordBytes(8, 0, 22, 100) + IndexRecordBytes(8, 0, 1, 500) +
           IndexRecordBytes(10, 0, 24, 32) + IndexRecordBytes(9, 5, 2, 200) +
           IndexRecordBytes(8, 0, 21, -16) + IndexRecordBytes(8, 0, 1, 900) +
           IndexRecordBytes(10, 0, 255, 48) + IndexRecordBytes(11, 5, 7, 700);
}

class IndexFile : public ::testing::Test {
  protected:
    IndexFile() { write(MixedDay()); }
    void write(const std::string& bytes) { path = dir.write("MSK/090304.ind", bytes); }
    std::vector<std::string> terms() {
        std::vector<std::string> list{"stale"};
        const int count = LoadTermList(path, list);
        EXPECT_EQ(count, static_cast<int>(list.size()));
        return list;
    }
    testing::TempDir dir;
    std::string path;
};

int OpenDescriptors() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(fds), end(fds)));
}

TEST_F(IndexFile, OneTermWithLayers0To22IsListedOnce) {
    std::string bytes;
    for (int code = 0; code <= 22; ++code) bytes += IndexRecordBytes(7, 5, code, 1000 * code);
    write(bytes);
    EXPECT_EQ(terms(), (std::vector<std::string>{"07.05"}));
    std::vector<int> layers;
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 22);
    EXPECT_EQ(layers.size(), 23u);
    EXPECT_EQ(FindMessageOffset(path, "07.05", 21), 21000);
}

TEST_F(IndexFile, TermsAreDistinctAndAscendingLayersAreCodesUpTo24) {
    EXPECT_EQ(terms(),
              (std::vector<std::string>{"07.05", "08.00", "09.05", "10.00", "11.05", "13.30"}));
    const struct {
        const char* name;
        const char* term;
        int result;
        std::vector<int> layers;
    } rows[] = {
        {"only code 0 returns 0", "07.05", 0, {0}},
        {"ascending whatever the record order", "08.00", 22, {1, 21, 22}},
        {"codes above 24 are not listed", "10.00", 24, {3, 24}},
        {"an absent term returns 0 too", "09.00", 0, {}},
        {"an hour no record can hold", "263.05", 0, {}},
        {"not a term", "bad", 0, {}},
    };
    for (const auto& row : rows) {
        std::vector<int> layers{99};
        EXPECT_EQ(LoadLayerList(path, row.term, layers), row.result) << row.name;
        EXPECT_EQ(layers, row.layers) << row.name;
    }
}

TEST_F(IndexFile, TheFirstMatchingRecordGivesTheOffsetAndNoFileStaysOpen) {
    const int before = OpenDescriptors();
    // 263 and -249 would turn into 7 if cut down to a byte.
    const struct {
        const char* name;
        const char* term;
        int layer;
        int32_t offset;
    } rows[] = {
        {"little-endian", "07.05", 0, 0x01020304},
        {"signed", "08.00", 21, -16},
        {"first of two", "08.00", 1, 500},
        {"a code above 24 is still found", "10.00", 25, 16},
        {"a layer the term lacks", "08.00", 2, -1},
        {"hour past a byte", "263.05", 0, -1},
        {"minute past a byte", "07.261", 0, -1},
        {"layer past a byte", "11.05", 263, -1},
        {"negative layer", "11.05", -249, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FindMessageOffset(path, row.term, row.layer), row.offset) << row.name;
    }
    terms();
    std::vector<int> layers;
    LoadLayerList(path, "08.00", layers);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(IndexFile, RecordsAcrossReadBlocksAreAllSeenButATrailingPieceIsNot) {
    // Far more records than one read takes; the mixed day ends it.
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += IndexRecordBytes(i / 60 % 24, i % 60, 1, i);
    bytes += MixedDay();
    for (size_t piece = 1; piece < 16; ++piece) {
        write(bytes + IndexRecordBytes(12, 0, 3, 333).substr(0, piece));
        EXPECT_EQ(terms().size(), 1440u) << piece;
        EXPECT_EQ(FindMessageOffset(path, "17.04", 1), 1024) << "first of a block";
        EXPECT_EQ(FindMessageOffset(path, "17.03", 1), 1023) << "last of a block";
        EXPECT_EQ(FindMessageOffset(path, "11.05", 7), 700) << "the last whole record";
        EXPECT_EQ(FindMessageOffset(path, "12.00", 3), -1) << piece;
    }
}

TEST_F(IndexFile, NoCompleteRecordOrNoFileHoldsNothing) {
    write(MixedDay().substr(0, 15));
    EXPECT_TRUE(terms().empty());
    std::vector<int> layers{5};
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), 0);
    EXPECT_TRUE(layers.empty());
    path = dir.str() + "/MSK/missing.ind";
    EXPECT_TRUE(terms().empty());
    layers = {1, 2};
    EXPECT_EQ(LoadLayerList(path, "07.05", layers), -1);
    EXPECT_EQ(layers, (std::vector<int>{1, 2})) << "the shown list stays as it was";
    EXPECT_EQ(FindMessageOffset(path, "07.05", 1), -1);
}

}  // namespace
}  // namespace kalvera
