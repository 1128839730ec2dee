#include <gtest/gtest.h>

#include "archive/day_archive.h"
#include "common/date_time.h"

namespace kalvera {
namespace {

TEST(DayNames, AreTwoDigitYearMonthAndDay) {
    EXPECT_EQ(DayNameOf(EncodeDate(2009, 3, 4)), "090304");
    EXPECT_EQ(DayNameOf(EncodeDate(2024, 11, 30) + 0.99), "241130");
    EXPECT_EQ(DayNameOf(EncodeDate(2000, 1, 1)), "000101");
    EXPECT_EQ(DayNameOf(EncodeDate(1999, 12, 31)), "991231");
}

TEST(DayNames, StepAcrossTheYearInBothDirections) {
    const double newYearsEve = EncodeDateTime({2009, 12, 31}, {23, 59, 59});
    EXPECT_EQ(DayNameOf(newYearsEve), "091231");
    EXPECT_EQ(DayNameOf(newYearsEve + 1.0), "100101");
    EXPECT_EQ(DayNameOf(newYearsEve + 1.0 - 1.0), "091231");
    const double morning = EncodeDateTime({2010, 1, 1}, {0, 0, 1});
    EXPECT_EQ(DayNameOf(morning - 1.0), "091231");
}

TEST(DayNames, StepThroughLeapDays) {
    const double evening = EncodeDate(2012, 2, 28) + 0.8;
    EXPECT_EQ(DayNameOf(evening + 1.0), "120229");
    EXPECT_EQ(DayNameOf(evening + 2.0), "120301");
    EXPECT_EQ(DayNameOf(EncodeDate(2100, 2, 28) + 1.0), "000301") << "2100 is not a leap year";
}

TEST(DayNames, YearsOfOtherLengthsFollowTheTextRule) {
    EXPECT_EQ(DayNameOf(EncodeDate(999, 7, 1)), "9990701") << "a short year is taken whole";
    EXPECT_EQ(DayNameOf(EncodeDate(12345, 7, 1)), "340701") << "3rd and 4th characters";
}

TEST(TermTexts, AreTwoDigitHourDotMinute) {
    EXPECT_EQ(TermTextOf(7, 5), "07.05");
    EXPECT_EQ(TermTextOf(13, 30), "13.30");
    EXPECT_EQ(TermTextOf(0, 0), "00.00");
    EXPECT_EQ(TermTextOf(255, 100), "255.100");
}

TEST(TermTexts, SplitAtTheFirstDot) {
    int hour = -1;
    int minute = -1;
    ASSERT_TRUE(SplitTermText("07.05", hour, minute));
    EXPECT_EQ(hour, 7);
    EXPECT_EQ(minute, 5);
    ASSERT_TRUE(SplitTermText("7.5", hour, minute));
    EXPECT_EQ(hour, 7);
    EXPECT_EQ(minute, 5);
}

TEST(TermTexts, ThatAreNotTwoNumbersDoNotSplit) {
    int hour = 1;
    int minute = 2;
    for (const char* text : {"", "0705", "07.", ".05", "ab.05", "07.5x", "07.05.00", " 7.05"}) {
        EXPECT_FALSE(SplitTermText(text, hour, minute)) << text;
    }
    EXPECT_EQ(hour, 1);
    EXPECT_EQ(minute, 2);
}

TEST(ArchivePaths, TheDataRootIsAPlainPrefix) {
    const DayArchive day = DayArchive::Of("/data/radar/", "MSK", "090304");
    EXPECT_EQ(day.siteCode, "MSK");
    EXPECT_EQ(day.dayName, "090304");
    EXPECT_EQ(day.indexPath, "/data/radar/MSK/090304.ind");
    EXPECT_EQ(day.basePath, "/data/radar/MSK/090304.bas");
    const DayArchive glued = DayArchive::Of("/data/radar", "MSK", "090304");
    EXPECT_EQ(glued.indexPath, "/data/radarMSK/090304.ind");
}

}  // namespace
}  // namespace kalvera
