#include <gtest/gtest.h>

#include "archive/day_archive.h"
#include "common/date_time.h"

namespace kalvera {
namespace {

TEST(DayNames, AreTwoDigitYearMonthAndDayAcrossYearsAndLeapDays) {
    const double newYearsEve = EncodeDateTime({2009, 12, 31}, {23, 59, 59});
    const struct {
        const char* name;
        double date;
        const char* want;
    } rows[] = {
        {"late in the day", EncodeDate(2024, 11, 30) + 0.99, "241130"},
        {"last second of the year", newYearsEve, "091231"},
        {"a day later", newYearsEve + 1.0, "100101"},
        {"a day back from new year", EncodeDateTime({2010, 1, 1}, {0, 0, 1}) - 1.0, "091231"},
        {"leap day", EncodeDate(2012, 2, 28) + 1.8, "120229"},
        {"after the leap day", EncodeDate(2012, 2, 28) + 2.8, "120301"},
        {"2100 is not a leap year", EncodeDate(2100, 2, 28) + 1.0, "000301"},
        {"a short year is taken whole", EncodeDate(999, 7, 1), "9990701"},
        {"a long year gives its 3rd and 4th characters", EncodeDate(12345, 7, 1), "340701"},
    };
    for (const auto& row : rows) EXPECT_EQ(DayNameOf(row.date), row.want) << row.name;
}

TEST(TermTexts, AreHourDotMinuteAndSplitOnlyWhenTwoNumbers) {
    EXPECT_EQ(TermTextOf(7, 5), "07.05");
    int hour = -1;
    int minute = -1;
    ASSERT_TRUE(SplitTermText("7.5", hour, minute));
    EXPECT_EQ(hour * 100 + minute, 705);
    for (const char* text : {"", "0705", "07.", ".05", "ab.05", "07.5x", "07.05.00", " 7.05"}) {
        EXPECT_FALSE(SplitTermText(text, hour, minute)) << text;
    }
    EXPECT_EQ(hour * 100 + minute, 705) << "a failed split changes nothing";
}

TEST(ArchivePaths, TheDataRootIsAPlainPrefix) {
    const DayArchive day = DayArchive::Of("/data/radar/", "MSK", "090304");
    EXPECT_EQ(day.indexPath, "/data/radar/MSK/090304.ind");
    EXPECT_EQ(day.basePath, "/data/radar/MSK/090304.bas");
    EXPECT_EQ(DayArchive::Of("/data/radar", "MSK", "090304").indexPath,
              "/data/radarMSK/090304.ind");
}

}  // namespace
}  // namespace kalvera
