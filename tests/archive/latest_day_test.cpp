#include <gtest/gtest.h>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "common/temp_dir.h"

namespace kalvera {
namespace {

using testing::TempDir;

// Counts how often the search asks for the time.
class CountingClock : public FixedClock {
  public:
    using FixedClock::FixedClock;
    double now() const override {
        ++calls;
        return FixedClock::now();
    }
    mutable int calls = 0;
};

class LatestDay : public ::testing::Test {
  protected:
    LatestDay() : now(EncodeDateTime({2010, 1, 2}, {9, 15, 0})), clock(now) {
        state.siteCode = "MSK";
        state.currentDate = EncodeDate(2001, 5, 5);
        state.dayName = "010505";
        state.indexPath = "before.ind";
        state.basePath = "before.bas";
    }
    void addDay(double date, const std::string& bytes = "") {
        dir.write("MSK/" + DayNameOf(date) + ".ind", bytes);
    }
    TempDir dir;
    double now;
    FixedClock clock;
    DisplayState state;
};

TEST_F(LatestDay, TodayIsTakenWhenItsIndexExists) {
    addDay(now);
    addDay(now - 3.0);
    ASSERT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.currentDate, now);
    EXPECT_EQ(state.dayName, "100102");
    EXPECT_EQ(state.indexPath, dir.prefix() + "MSK/100102.ind");
    EXPECT_EQ(state.basePath, dir.prefix() + "MSK/100102.bas");
}

TEST_F(LatestDay, TheSearchStepsBackAcrossTheYear) {
    addDay(now - 2.0);
    addDay(now - 30.0);
    ASSERT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.dayName, "091231");
    EXPECT_EQ(state.currentDate, now - 2.0) << "the time of day is carried along";
}

TEST_F(LatestDay, AnEmptyIndexFileCounts) {
    addDay(now - 1.0, "");
    ASSERT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.dayName, "100101");
    std::vector<std::string> terms;
    EXPECT_EQ(LoadTermList(state.indexPath, terms), 0);
}

TEST_F(LatestDay, TheOldestDayTriedIs1999DaysBack) {
    addDay(now - 1999.0);
    ASSERT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.currentDate, now - 1999.0);
}

TEST_F(LatestDay, ADay2000DaysBackIsBeyondTheSearch) {
    addDay(now - 2000.0);
    CountingClock counting(now);
    EXPECT_FALSE(FindLatestDay(state, dir.prefix(), counting));
    // One reading to start and a fresh one before each of the 2000 tries.
    EXPECT_EQ(counting.calls, 1 + 2000);
}

TEST_F(LatestDay, AFailedSearchLeavesTheStateAsItWas) {
    EXPECT_FALSE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.currentDate, EncodeDate(2001, 5, 5));
    EXPECT_EQ(state.dayName, "010505");
    EXPECT_EQ(state.indexPath, "before.ind");
    EXPECT_EQ(state.basePath, "before.bas");
}

TEST_F(LatestDay, OnlyTheSiteAskedForIsSearched) {
    dir.write("KZN/" + DayNameOf(now) + ".ind", "");
    dir.write("MSK/" + DayNameOf(now) + ".bas", "a base file alone is not a day");
    EXPECT_FALSE(FindLatestDay(state, dir.prefix(), clock));
    state.siteCode = "KZN";
    EXPECT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    state.siteCode = "NOSUCH";
    EXPECT_FALSE(FindLatestDay(state, dir.prefix(), clock));
}

TEST_F(LatestDay, ADirectoryNamedLikeAnIndexIsPassedOver) {
    dir.mkdir("MSK/" + DayNameOf(now) + ".ind");
    addDay(now - 1.0);
    ASSERT_TRUE(FindLatestDay(state, dir.prefix(), clock));
    EXPECT_EQ(state.currentDate, now - 1.0);
}

}  // namespace
}  // namespace kalvera
