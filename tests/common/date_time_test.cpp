#include "common/date_time.h"

#include <gtest/gtest.h>

namespace kalvera {
namespace {

TEST(DateValues, CountDaysFromTheEndOf1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2009, 3, 4), 39876.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
}

TEST(DateValues, SplitBackIntoTheSameDateOverCenturies) {
    for (int days = -800000; days <= 800000; days += 7) {
        const CivilDate date = DecodeDate(days);
        ASSERT_EQ(EncodeDate(date.year, date.month, date.day), static_cast<double>(days))
            << date.year << "-" << date.month << "-" << date.day;
    }
}

TEST(DateValues, ConsecutiveDaysWalkThroughEveryCalendarDay) {
    CivilDate expected{1999, 1, 1};
    for (double day = EncodeDate(1999, 1, 1); day < EncodeDate(2031, 1, 1); day += 1.0) {
        const CivilDate date = DecodeDate(day + 0.75);
        ASSERT_EQ(date.year, expected.year);
        ASSERT_EQ(date.month, expected.month);
        ASSERT_EQ(date.day, expected.day);
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
}

TEST(DateValues, TheFractionIsTheTimeOfDay) {
    const double value = EncodeDateTime({2009, 3, 4}, {13, 30, 15});
    EXPECT_EQ(DecodeDate(value).day, 4);
    const CivilTime time = DecodeTime(value);
    EXPECT_EQ(time.hour, 13);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(time.second, 15);
    const CivilTime nearMidnight = DecodeTime(EncodeDate(2009, 3, 4) + 0.9999999);
    EXPECT_EQ(nearMidnight.hour, 23);
    EXPECT_EQ(nearMidnight.minute, 59);
    EXPECT_EQ(nearMidnight.second, 59);
}

TEST(DateValues, DatesBeforeTheEpochCountTheFractionForward) {
    // -0.25 is 18:00 on 29 December 1899: the day is the floor.
    const CivilDate date = DecodeDate(-0.25);
    EXPECT_EQ(date.year, 1899);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 29);
    EXPECT_EQ(DecodeTime(-0.25).hour, 18);
}

TEST(DateValues, FieldsOutsideTheirRangeRollOn) {
    EXPECT_EQ(EncodeDate(2009, 13, 1), EncodeDate(2010, 1, 1));
    EXPECT_EQ(EncodeDate(2010, 0, 1), EncodeDate(2009, 12, 1));
    EXPECT_EQ(EncodeDate(2009, 3, 0), EncodeDate(2009, 2, 28));
    EXPECT_EQ(EncodeDate(2009, 1, 32), EncodeDate(2009, 2, 1));
}

TEST(Calendar, LeapYearsFollowTheGregorianRule) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2012));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2009));
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2009, 4), 30);
    EXPECT_EQ(DaysInMonth(2009, 12), 31);
    EXPECT_EQ(DaysInMonth(2009, 0), 0);
    EXPECT_EQ(DaysInMonth(2009, 13), 0);
}

TEST(Calendar, WeekdaysRunMondayOneToSundaySeven) {
    EXPECT_EQ(DayOfWeekIso(EncodeDate(1899, 12, 30)), 6);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(2009, 3, 4) + 0.9), 3);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(2024, 2, 25)), 7);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(2024, 2, 26)), 1);
    EXPECT_EQ(DayOfWeekIso(EncodeDate(1899, 12, 25)), 1);
}

}  // namespace
}  // namespace kalvera
