#include <gtest/gtest.h>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

class LatestDay : public ::testing::Test {
  protected:
    LatestDay() : now(EncodeDateTime({2010, 1, 2}, {9, 15, 0})), clock(now) {
        state.siteCode = "MSK";
        state.currentDate = EncodeDate(2001, 5, 5);
        state.dayName = "010505";
        state.indexPath = "before.ind";
        state.basePath = "before.bas";
    }
    void addDay(double date) { dir.write("MSK/" + DayNameOf(date) + ".ind", ""); }
    bool find() { return FindLatestDay(state, dir.prefix(), clock); }
    testing::TempDir dir;
    double now;
    FixedClock clock;
    DisplayState state;
};

TEST_F(LatestDay, TodayIsTakenWhenItsIndexExistsEvenEmpty) {
    addDay(now);
    addDay(now - 3.0);
    ASSERT_TRUE(find());
    EXPECT_EQ(state.currentDate, now);
    EXPECT_EQ(state.dayName, "100102");
    EXPECT_EQ(state.indexPath, dir.prefix() + "MSK/100102.ind");
    EXPECT_EQ(state.basePath, dir.prefix() + "MSK/100102.bas");
    std::vector<std::string> terms;
    EXPECT_EQ(LoadTermList(state.indexPath, terms), 0);
}

TEST_F(LatestDay, TheSearchStepsBackAcrossTheYearCarryingTheTimeOfDay) {
    addDay(now - 2.0);
    addDay(now - 30.0);
    ASSERT_TRUE(find());
    EXPECT_EQ(state.dayName, "091231");
    EXPECT_EQ(state.currentDate, now - 2.0);
}

// A failed search used to leave the date 2000 days back while the window
// still showed the old one.
TEST_F(LatestDay, TriesTodayAnd1999DaysBackAndAFailureLeavesTheStateAsItWas) {
    addDay(now - 2000.0);
    EXPECT_FALSE(find());
    EXPECT_EQ(state.currentDate, EncodeDate(2001, 5, 5));
    EXPECT_EQ(state.dayName, "010505");
    EXPECT_EQ(state.indexPath, "before.ind");
    EXPECT_EQ(state.basePath, "before.bas");
    addDay(now - 1999.0);
    ASSERT_TRUE(find());
    EXPECT_EQ(state.currentDate, now - 1999.0);
}

TEST_F(LatestDay, OnlyAnIndexFileOfTheSiteAskedForCounts) {
    dir.write("KZN/" + DayNameOf(now) + ".ind", "");
    dir.write("MSK/" + DayNameOf(now) + ".bas", "a base file alone is not a day");
    dir.mkdir("MSK/" + DayNameOf(now - 1.0) + ".ind");
    EXPECT_FALSE(find());
    addDay(now - 2.0);
    ASSERT_TRUE(find());
    EXPECT_EQ(state.currentDate, now - 2.0) << "a directory named like an index is passed over";
    state.siteCode = "KZN";
    EXPECT_TRUE(find());
    state.siteCode = "NOSUCH";
    EXPECT_FALSE(find());
}

}  // namespace
}  // namespace kalvera
