#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/data_age.h"
#include "archive/day_archive.h"
#include "archive/frame_selection.h"
#include "archive/frame_store.h"
#include "archive/index_bytes.h"
#include "common/date_time.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

using testing::IndexRecordBytes;

const double kDay = EncodeDate(2026, 12, 7);

// A site archive of whole days; each term holds layer 1 at an offset that
// names it (hour * 100 + minute), so a decoder can tell the terms apart.
class SiteArchive : public ::testing::Test {
  protected:
    void day(double date, const std::vector<std::pair<int, int>>& terms) {
        std::string bytes;
        for (auto [hour, minute] : terms)
            bytes += IndexRecordBytes(hour, minute, 1, hour * 100 + minute);
        dir.write("S/" + DayNameOf(date) + ".ind", bytes);
    }
    std::vector<std::string> select(double date, const std::string& term, int count) {
        std::vector<std::string> texts;
        for (const LoopFrame& f : SelectLoopFrames(dir.prefix(), "S", date, term, count)) {
            texts.push_back(f.dayName + " " + f.termText);
        }
        return texts;
    }
    testing::TempDir dir;
};

TEST_F(SiteArchive, FramesReachBackAcrossMidnightOldestFirst) {
    day(kDay - 1, {{23, 30}, {23, 40}, {23, 50}});
    day(kDay, {{0, 0}, {0, 10}, {0, 20}});
    EXPECT_EQ(
        select(kDay + 0.5, "00.10", 4),
        (std::vector<std::string>{"261206 23.40", "261206 23.50", "261207 00.00", "261207 00.10"}));
}

TEST_F(SiteArchive, GapsInADayAndMissingDaysArePassedOver) {
    day(kDay - 3, {{22, 0}});
    day(kDay, {{1, 0}, {4, 30}, {12, 0}, {12, 10}});
    const struct {
        const char* term;
        int count;
        std::vector<std::string> frames;
    } rows[] = {
        {"12.00", 3, {"261207 01.00", "261207 04.30", "261207 12.00"}},
        {"05.00", 3, {"261204 22.00", "261207 01.00", "261207 04.30"}},
        {"", 2, {"261207 12.00", "261207 12.10"}},
        {"12.10",
         99,
         {"261204 22.00", "261207 01.00", "261207 04.30", "261207 12.00", "261207 12.10"}},
        {"12.10", 0, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(select(kDay, row.term, row.count), row.frames) << row.term;
}

TEST_F(SiteArchive, ASiteWithoutDataHasNoFrames) {
    EXPECT_TRUE(select(kDay, "12.00", 12).empty());
}

// Decodes every term but 00.10, which stands for a broken message.
bool FakeDecode(DisplayState& state, RadarPicture& picture) {
    const int32_t offset = FindMessageOffset(state.indexPath, state.termText, state.layerCode);
    if (offset < 0 || offset == 10) return false;
    picture.values.fill(offset);
    state.siteLat = 55.0f;
    return true;
}

TEST_F(SiteArchive, AnUndecodableTermIsSkipped) {
    day(kDay, {{0, 0}, {0, 10}, {0, 20}});
    FrameStore store(FakeDecode);
    store.setFrames(SelectLoopFrames(dir.prefix(), "S", kDay, "", 3), "S", 1);
    EXPECT_EQ(store.nextShowable(1, +1), 2);
    EXPECT_EQ(store.nextShowable(1, -1), 0);
    EXPECT_EQ(store.grid(1), nullptr);
    ASSERT_NE(store.grid(2), nullptr);
    EXPECT_EQ(store.grid(2)->picture.values[0], 20);
    EXPECT_EQ(store.grid(2)->siteLat, 55.0f);
}

TEST_F(SiteArchive, NoFrameDecodesOnAnotherLayer) {
    day(kDay, {{0, 0}, {0, 20}});
    FrameStore store(FakeDecode);
    store.setFrames(SelectLoopFrames(dir.prefix(), "S", kDay, "", 2), "S", 1);
    EXPECT_FALSE(store.prepareSome(std::chrono::microseconds(0)) && store.pendingCount() == 0);
    store.setLayer(22);
    EXPECT_EQ(store.pendingCount(), 2);
    EXPECT_EQ(store.nextShowable(0, +1), -1);
}

TEST_F(SiteArchive, ANewTermKeepsTheGridsAlreadyDecoded) {
    day(kDay, {{0, 0}, {0, 20}});
    int decodes = 0;
    FrameStore store([&](DisplayState& state, RadarPicture& picture) {
        ++decodes;
        return FakeDecode(state, picture);
    });
    store.setFrames(SelectLoopFrames(dir.prefix(), "S", kDay, "", 2), "S", 1);
    while (store.prepareSome(std::chrono::microseconds(0))) {
    }
    day(kDay, {{0, 0}, {0, 20}, {0, 30}});
    store.setFrames(SelectLoopFrames(dir.prefix(), "S", kDay, "", 2), "S", 1);
    EXPECT_EQ(store.pendingCount(), 1);
    EXPECT_EQ(store.frame(0).termText, "00.20");
    EXPECT_EQ(decodes, 2);
}

TEST_F(SiteArchive, DataAgeLine) {
    const int minute = 60;
    const struct {
        const char* name;
        double now;
        int period;
        const char* text;
        bool stalled;
    } rows[] = {
        {"fresh", kDay + (22 * 60 + 14) / 1440.0, minute, "22.10, 4 мин назад", false},
        {"just in", kDay + (22 * 60 + 10) / 1440.0, minute, "22.10, 0 мин назад", false},
        {"stamped ahead of the clock", kDay + 22 / 24.0, minute, "22.10, 0 мин назад", false},
        {"under 15 minutes is no stall", kDay + (22 * 60 + 24) / 1440.0, minute,
         "22.10, 14 мин назад", false},
        {"stalled", kDay + (23 * 60 + 15) / 1440.0, minute, "22.10, нет данных 1 ч 05 мин", true},
        {"within three long periods", kDay + (22 * 60 + 40) / 1440.0, 600, "22.10, 30 мин назад",
         false},
        {"after midnight", kDay + 1 + 3 / 1440.0, 3600, "07.12 22.10, 1 ч 53 мин назад", false},
        {"days old", kDay + 3.5, minute, "07.12 22.10, нет данных 2 сут", true},
    };
    day(kDay, {{21, 0}, {22, 10}});
    for (const auto& row : rows) {
        const DataAge age =
            DescribeDataAge(FindNewestData(dir.prefix(), "S", row.now), row.now, row.period);
        EXPECT_EQ(age.text, row.text) << row.name;
        EXPECT_EQ(age.stalled, row.stalled) << row.name;
    }
}

TEST_F(SiteArchive, MidnightIsNoStall) {
    day(kDay, {{23, 55}});
    day(kDay + 1, {});
    const double now = kDay + 1 + 2 / 1440.0;
    const DataAge age = DescribeDataAge(FindNewestData(dir.prefix(), "S", now), now, 60);
    EXPECT_EQ(age.text, "07.12 23.55, 7 мин назад");
    EXPECT_FALSE(age.stalled);
    EXPECT_TRUE(DescribeDataAge(FindNewestData(dir.prefix(), "X", now), now, 60).stalled);
}

}  // namespace
}  // namespace kalvera
