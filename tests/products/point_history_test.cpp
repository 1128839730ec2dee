// A point's history over a day built by hand: a row per term, empty fields
// for missing layers, the grid's outside mark beyond it.
#include "products/point_history.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "archive/index_bytes.h"
#include "geo/radar_grid.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

constexpr float kSiteLat = 55.0f, kSiteLon = 37.0f;

// Every cell of a layer's grid holds the message's offset, so a field shows
// which message it came from.
bool FakeDecode(int32_t offset, RadarPicture& picture, DisplayState& state) {
    if (offset == 666) return false;
    picture.values.fill(offset);
    state.siteLat = kSiteLat;
    state.siteLon = kSiteLon;
    return true;
}

class PointHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        day.indexPath = (dir.path() / "day.ind").string();
        std::ofstream index(day.indexPath, std::ios::binary);
        using testing::IndexRecordBytes;
        // 10.00: layers 1, 3, tops, weather; 09.50: layer 2 twice and one
        // that does not decode; 10.10 only layer 0.
        index << IndexRecordBytes(10, 0, 1, 60) << IndexRecordBytes(10, 0, 3, 112)
              << IndexRecordBytes(9, 50, 2, 30) << IndexRecordBytes(9, 50, 2, 99)
              << IndexRecordBytes(9, 50, 5, 666) << IndexRecordBytes(10, 0, 21, 7000)
              << IndexRecordBytes(10, 0, 22, 4) << IndexRecordBytes(10, 10, 0, 5);
    }
    testing::TempDir dir;
    DisplayState day;
};

TEST_F(PointHistoryTest, OneRowPerTermInOrder) {
    std::vector<HistoryRow> rows;
    ASSERT_TRUE(PointHistory(day, kSiteLat, kSiteLon, rows, FakeDecode));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].term, "09.50");
    EXPECT_EQ(rows[1].term, "10.00");
    EXPECT_EQ(rows[2].term, "10.10");
}

TEST_F(PointHistoryTest, FieldsAreTheLayersAtThePoint) {
    std::vector<HistoryRow> rows;
    ASSERT_TRUE(PointHistory(day, kSiteLat, kSiteLon, rows, FakeDecode));
    const HistoryRow& early = rows[0];
    EXPECT_EQ(early.layers[1], 30) << "the first record of a term and layer";
    EXPECT_FALSE(early.layers[4]) << "a message that does not decode";
    EXPECT_FALSE(early.columnMax || early.vilTenths) << "not made without a listed layer";
    const HistoryRow& row = rows[1];
    EXPECT_EQ(row.layers[0], 60);
    EXPECT_FALSE(row.layers[1]);
    EXPECT_EQ(row.layers[2], 112);
    EXPECT_EQ(row.top, 7000);
    EXPECT_EQ(row.weather, 4);
    EXPECT_EQ(row.columnMax, 112);
    EXPECT_EQ(row.vilTenths, 56);
    const HistoryRow& empty = rows[2];
    EXPECT_FALSE(empty.layers[0] || empty.top || empty.weather || empty.columnMax ||
                 empty.vilTenths);
}

TEST_F(PointHistoryTest, OutsideTheGridEveryFieldIsTheOutsideMark) {
    std::vector<HistoryRow> rows;
    ASSERT_TRUE(PointHistory(day, kSiteLat + 5.0f, kSiteLon, rows, FakeDecode));
    EXPECT_EQ(rows[1].layers[0], kOutsideGrid);
    EXPECT_EQ(rows[1].top, kOutsideGrid);
    EXPECT_EQ(rows[1].columnMax, kOutsideGrid);
    EXPECT_EQ(rows[1].vilTenths, kOutsideGrid);
}

// The CSV without its comment lines.
std::string Table(const std::string& csv) {
    std::string table;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with('#')) table += line + '\n';
    }
    return table;
}

TEST_F(PointHistoryTest, CsvHasAHeaderAndEmptyFieldsForMissingLayers) {
    std::vector<HistoryRow> rows;
    ASSERT_TRUE(PointHistory(day, kSiteLat, kSiteLon, rows, FakeDecode));
    EXPECT_EQ(Table(HistoryCsv(day, kSiteLat, kSiteLon, rows)),
              "term,v1,v2,v3,v4,v5,v6,v7,v8,v9,v10,top,weather,max,vil\n"
              "09.50,,30,,,,,,,,,,,,\n"
              "10.00,60,,112,,,,,,,,7000,4,112,5.6\n"
              "10.10,,,,,,,,,,,,,,\n");
}

TEST_F(PointHistoryTest, CsvOpensWithCommentsThatSayWhatItHolds) {
    day.siteCode = "27612";
    day.dayName = "261207";
    const std::string csv = HistoryCsv(day, 55.5f, 37.25f, {});
    EXPECT_TRUE(
        csv.starts_with("# product: point history\n# site: 27612\n# day: 261207\n"
                        "# point: 55.500000,37.250000\n# layers: "))
        << csv;
    EXPECT_NE(csv.find("\nterm,"), std::string::npos);
}

TEST(PointHistory, FalseWhenTheIndexCannotBeRead) {
    DisplayState day;
    day.indexPath = "/nonexistent/day.ind";
    std::vector<HistoryRow> rows(2);
    EXPECT_FALSE(PointHistory(day, 55.0f, 37.0f, rows, FakeDecode));
    EXPECT_TRUE(rows.empty());
}

}  // namespace
}  // namespace kalvera
