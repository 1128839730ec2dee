// The date picker: month layout, which days can be picked, and what a pick
// hands back to the main window.

#include "ui/calendar_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "archive/day_listing.h"
#include "common/date_time.h"
#include "ui/navigation_fixture.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;

class TempSites {
  public:
    TempSites() {
        root_ = fs::temp_directory_path() /
                ("kalvera_calendar_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~TempSites() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string dataRoot() const { return root_.string() + "/"; }
    std::string siteDir(const std::string& site) const { return (root_ / site).string() + "/"; }
    void touch(const std::string& site, const std::string& name) const {
        fs::create_directories(root_ / site);
        std::ofstream(root_ / site / name).put('\0');
    }

  private:
    fs::path root_;
};

std::vector<int> EnabledDays(const MonthGrid& grid) {
    std::vector<int> days;
    for (const MonthCell& cell : grid) {
        if (cell.enabled) days.push_back(cell.day);
    }
    return days;
}

int CellOf(const MonthGrid& grid, int day) {
    for (int i = 0; i < kMonthGridCells; ++i)
        if (grid[i].day == day) return i;
    return -1;
}

TEST(MonthLayout, March2009StartsOnSundayInTheLastColumn) {
    const MonthGrid grid = LayOutMonth(2009, 3, {});
    EXPECT_EQ(CellOf(grid, 1), 6);    // row 0, column 6
    EXPECT_EQ(CellOf(grid, 2), 7);    // row 1, column 0
    EXPECT_EQ(CellOf(grid, 31), 36);  // Tuesday of row 5
    for (int i = 0; i < 6; ++i) EXPECT_EQ(grid[i].day, 0) << i;
}

TEST(MonthLayout, January2010FillsFiveRows) {
    const MonthGrid grid = LayOutMonth(2010, 1, {});
    EXPECT_EQ(CellOf(grid, 1), 4);
    EXPECT_EQ(CellOf(grid, 3), 6);
    EXPECT_EQ(CellOf(grid, 4), 7);
    EXPECT_EQ(CellOf(grid, 31), 4 * 7 + 6);
    for (int i = 35; i < kMonthGridCells; ++i) EXPECT_EQ(grid[i].day, 0) << i;
}

TEST(MonthLayout, FebruaryHas29DaysOnlyInLeapYears) {
    auto lastDay = [](int year) {
        const MonthGrid grid = LayOutMonth(year, 2, {});
        int last = 0;
        for (const MonthCell& cell : grid) last = std::max(last, cell.day);
        return last;
    };
    EXPECT_EQ(lastDay(2008), 29);
    EXPECT_EQ(lastDay(2000), 29);
    EXPECT_EQ(lastDay(2009), 28);
    EXPECT_EQ(lastDay(2100), 28);
}

TEST(MonthLayout, ThirtyOneDaysFromASundayNeedSixRows) {
    // August 2010 begins on a Sunday.
    const MonthGrid grid = LayOutMonth(2010, 8, {});
    EXPECT_EQ(CellOf(grid, 1), 6);
    EXPECT_EQ(CellOf(grid, 31), 5 * 7 + 1);
}

TEST(MonthLayout, OnlyListedDaysAreEnabledAndOutsideCellsNever) {
    const MonthGrid grid = LayOutMonth(2009, 3, {"03", "15", "99"});
    EXPECT_EQ(EnabledDays(grid), (std::vector<int>{3, 15}));
    for (const MonthCell& cell : grid) {
        if (cell.day == 0) {
            EXPECT_FALSE(cell.enabled);
        }
    }
}

TEST(MonthLayout, InvalidMonthGivesAnEmptyGrid) {
    for (const MonthCell& cell : LayOutMonth(2009, 13, {"01"})) EXPECT_EQ(cell.day, 0);
    EXPECT_EQ(MonthCellIndex(2009, 0, 1), -1);
    EXPECT_EQ(MonthCellIndex(2009, 2, 29), -1);
}

TEST(DayListing, TakesOnlyIndexFilesOfTheMonth) {
    TempSites sites;
    sites.touch("S1", "090315.ind");
    sites.touch("S1", "090303.ind");
    sites.touch("S1", "090303.bas");
    sites.touch("S1", "090401.ind");
    sites.touch("S1", "080301.ind");
    sites.touch("S1", "090399.ind");
    EXPECT_EQ(ListDaysWithData(sites.siteDir("S1"), 2009, 3),
              (std::vector<std::string>{"03", "15", "99"}));
}

TEST(DayListing, MissingDirectoryOrOddYearListsNothing) {
    TempSites sites;
    sites.touch("S1", "090303.ind");
    EXPECT_TRUE(ListDaysWithData(sites.siteDir("NONE"), 2009, 3).empty());
    EXPECT_TRUE(ListDaysWithData(sites.siteDir("S1"), 209, 3).empty());
    EXPECT_TRUE(ListDaysWithData(sites.siteDir("S1"), 12009, 3).empty());
}

TEST(DayListing, NonNumericDayTextsAreIgnored) {
    EXPECT_FALSE(DayHasData({"ab", " 3", "3x", ""}, 3));
    EXPECT_TRUE(DayHasData({"ab", "03"}, 3));
    EXPECT_FALSE(DayHasData({"99"}, 31));
}

TEST(DayListing, PickedDayNameMatchesTheArchiveNaming) {
    EXPECT_EQ(PickedDayName(2009, 3, 5), "090305");
    EXPECT_EQ(PickedDayName(2010, 12, 31), "101231");
    EXPECT_EQ(PickedDayName(999, 1, 1), "");
}

class CalendarFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        config.dataRoot = sites.dataRoot();
        state.siteCode = "S1";
        state.currentDate = EncodeDate(2009, 3, 20) + 0.5;
        state.dayName = "090320";
    }

    QToolButton* buttonOfDay(TcalendarForm& form, int day) {
        for (QToolButton* button : form.dayButtons)
            if (button->text() == QString::number(day)) return button;
        return nullptr;
    }

    TempSites sites;
    AppConfig config;
    DisplayState state;
};

TEST_F(CalendarFormTest, OpensOnTheMonthOfTheCurrentDate) {
    sites.touch("S1", "090303.ind");
    sites.touch("S1", "090315.ind");
    TcalendarForm form(config, state);
    EXPECT_EQ(form.yearCombo->itemText(0), "1970");
    EXPECT_EQ(form.yearCombo->currentText(), "2009");
    EXPECT_EQ(form.yearCombo->count(), 2009 - 1970 + 1);
    EXPECT_EQ(form.monthCombo->currentText(), QString::fromUtf8("Март"));
    EXPECT_EQ(form.monthCombo->count(), 12);
    EXPECT_FALSE(form.yearCombo->isEditable());
    EXPECT_FALSE(form.monthCombo->isEditable());
    EXPECT_EQ(form.dayButtons[6]->text(), "1");
    EXPECT_EQ(form.dayButtons[7]->text(), "2");
    EXPECT_TRUE(buttonOfDay(form, 3)->isEnabled());
    EXPECT_TRUE(buttonOfDay(form, 15)->isEnabled());
    EXPECT_FALSE(buttonOfDay(form, 4)->isEnabled());
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(form.dayButtons[i]->text().isEmpty());
        EXPECT_FALSE(form.dayButtons[i]->isEnabled());
    }
}

TEST_F(CalendarFormTest, GridGeometryAndHeadings) {
    TcalendarForm form(config, state);
    EXPECT_EQ(form.size(), QSize(162, 190));
    EXPECT_EQ(form.dayButtons[0]->geometry(), QRect(0, 42, 21, 21));
    EXPECT_EQ(form.dayButtons[41]->geometry(), QRect(6 * 21, 5 * 21 + 42, 21, 21));
    EXPECT_EQ(form.weekdayLabels[0]->text(), QString::fromUtf8("Пн"));
    EXPECT_EQ(form.weekdayLabels[6]->text(), QString::fromUtf8("Вс"));
    EXPECT_EQ(form.weekdayLabels[0]->geometry(), QRect(0, 21, 21, 21));
    EXPECT_EQ(form.weekdayLabels[3]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(CalendarFormTest, ChangingMonthRelistsAndReadsTheCurrentSite) {
    sites.touch("S1", "100101.ind");
    sites.touch("S2", "100102.ind");
    state.currentDate = EncodeDate(2010, 1, 10);
    TcalendarForm form(config, state);
    EXPECT_TRUE(buttonOfDay(form, 1)->isEnabled());
    state.siteCode = "S2";
    form.monthCombo->setCurrentIndex(1);
    form.monthCombo->setCurrentIndex(0);
    EXPECT_FALSE(buttonOfDay(form, 1)->isEnabled());
    EXPECT_TRUE(buttonOfDay(form, 2)->isEnabled());
    EXPECT_EQ(form.dayButtons[4]->text(), "1");
}

TEST_F(CalendarFormTest, YearChangeShowsLeapFebruary) {
    state.currentDate = EncodeDate(2009, 2, 1);
    TcalendarForm form(config, state);
    EXPECT_EQ(buttonOfDay(form, 29), nullptr);
    form.yearCombo->setCurrentText("2008");
    EXPECT_NE(buttonOfDay(form, 29), nullptr);
}

TEST_F(CalendarFormTest, PickingADaySetsDayNameAndDate) {
    sites.touch("S1", "090305.ind");
    TcalendarForm form(config, state);
    QTimer::singleShot(0, &form, [&] { buttonOfDay(form, 5)->click(); });
    EXPECT_TRUE(form.pickDay());
    EXPECT_EQ(state.dayName, "090305");
    EXPECT_DOUBLE_EQ(state.currentDate, EncodeDate(2009, 3, 5));
    EXPECT_EQ(form.windowTitle(), "090305");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(CalendarFormTest, ClosingWithoutAPickChangesNothing) {
    TcalendarForm form(config, state);
    form.monthCombo->setCurrentIndex(0);
    QTimer::singleShot(0, &form, [&] { form.reject(); });
    EXPECT_FALSE(form.pickDay());
    EXPECT_EQ(state.dayName, "090320");
    EXPECT_DOUBLE_EQ(state.currentDate, EncodeDate(2009, 3, 20) + 0.5);
    // Reopens on the month last shown.
    EXPECT_EQ(form.monthCombo->currentIndex(), 0);
}

TEST_F(CalendarFormTest, ADateBefore1970LeavesNoYearToPickAndNothingEnabled) {
    state.currentDate = 0.0;
    TcalendarForm form(config, state);
    EXPECT_EQ(form.yearCombo->count(), 0);
    EXPECT_EQ(form.shownYear(), 0);
    for (QToolButton* button : form.dayButtons) EXPECT_FALSE(button->isEnabled());
    form.monthCombo->setCurrentIndex(3);
    form.dayButtonClick(10);
    EXPECT_EQ(state.dayName, "090320");
}

TEST_F(CalendarFormTest, AClickOnAnEmptyCellPicksNothing) {
    TcalendarForm form(config, state);
    form.dayButtonClick(0);
    form.dayButtonClick(-1);
    form.dayButtonClick(kMonthGridCells);
    EXPECT_EQ(state.dayName, "090320");
}

}  // namespace
}  // namespace kalvera
