#include "common/date_time.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

TEST(DateValues, CountDaysFromTheEndOf1899ThroughCenturyLeapRules) {
    const struct {
        int year, month, day;
        double value;
    } rows[] = {
        {1899, 12, 29, -1.0},   {1899, 12, 30, 0.0},   {1900, 1, 1, 2.0},     {1900, 3, 1, 61.0},
        {1970, 1, 1, 25569.0},  {2000, 3, 1, 36586.0}, {2009, 3, 4, 39876.0}, {2100, 3, 1, 73110.0},
        {2009, 13, 1, 40179.0}, {2009, 3, 0, 39872.0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EncodeDate(row.year, row.month, row.day), row.value)
            << row.year << "-" << row.month << "-" << row.day;
    }
    for (int days = -800000; days <= 800000; days += 7) {
        const CivilDate date = DecodeDate(days + 0.75);
        ASSERT_EQ(EncodeDate(date.year, date.month, date.day), static_cast<double>(days))
            << date.year << "-" << date.month << "-" << date.day;
    }
}

TEST(DateValues, TheFractionIsTheTimeOfDayCountedForwardBeforeTheEpoch) {
    const CivilTime time = DecodeTime(EncodeDateTime({2009, 3, 4}, {13, 30, 15}));
    EXPECT_EQ(time.hour * 10000 + time.minute * 100 + time.second, 133015);
    const CivilTime nearMidnight = DecodeTime(EncodeDate(2009, 3, 4) + 0.9999999);
    EXPECT_EQ(nearMidnight.hour * 10000 + nearMidnight.minute * 100 + nearMidnight.second, 235959);
    // -0.25 is 18:00 on 29 December 1899: the day is the floor.
    EXPECT_EQ(DecodeDate(-0.25).day, 29);
    EXPECT_EQ(DecodeTime(-0.25).hour, 18);
}

TEST(Calendar, LeapYearsMonthLengthsAndIsoWeekdays) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(2009, 2), 28);
    EXPECT_EQ(DaysInMonth(2009, 4), 30);
    EXPECT_EQ(DaysInMonth(2009, 13), 0);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(1899, 12, 30)), 6);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(2024, 2, 25) + 0.9), 7);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(1899, 12, 25)), 1);
}

}  // namespace
}  // namespace kalvera
