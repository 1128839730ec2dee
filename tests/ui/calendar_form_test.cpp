// The date picker: month layout, which days can be picked, and what a pick
// hands back to the main window.

#include "ui/calendar_form.h"

#include <QComboBox>

#include "archive/day_listing.h"
#include "common/date_time.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

TEST(MonthLayout, DaysRunMondayFirstFromTheCellOfTheFirst) {
    const struct {
        const char* name;
        int year, month;
        int firstCell;  // -1: no days at all
        int days;
    } rows[] = {
        {"March 2009 from a Sunday", 2009, 3, 6, 31},
        {"January 2010 in five rows", 2010, 1, 4, 31},
        {"leap February 2008", 2008, 2, 4, 29},
        {"leap February 2000", 2000, 2, 1, 29},
        {"February 2009", 2009, 2, 6, 28},
        {"February 2100, not leap", 2100, 2, 0, 28},
        {"month 13", 2009, 13, -1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MonthGrid grid = LayOutMonth(row.year, row.month, {});
        for (int i = 0; i < kMonthGridCells; ++i) {
            const int day = i - row.firstCell + 1;
            EXPECT_EQ(grid[i].day, row.firstCell >= 0 && day >= 1 && day <= row.days ? day : 0)
                << "cell " << i;
        }
    }
    EXPECT_EQ(MonthCellIndex(2009, 0, 1), -1);
    EXPECT_EQ(MonthCellIndex(2009, 2, 29), -1);
}

TEST(DayListing, OddYearsDirectoriesAndDayTextsGiveNothing) {
    EXPECT_TRUE(ListDaysWithData("no/such/directory", 2009, 3).empty());
    EXPECT_TRUE(ListDaysWithData(".", 209, 3).empty());
    EXPECT_TRUE(ListDaysWithData(".", 12009, 3).empty());
    EXPECT_FALSE(DayHasData({"ab", " 3", "3x", ""}, 3));
    EXPECT_TRUE(DayHasData({"ab", "03"}, 3));
    EXPECT_FALSE(DayHasData({"99"}, 31));
    EXPECT_EQ(PickedDayName(2010, 12, 31), "101231");
    EXPECT_EQ(PickedDayName(999, 1, 1), "");
}

class CalendarFormTest : public ::testing::Test {
  protected:
    CalendarFormTest() : dir(60, {{"S1"}, {"S2"}}) {
        config.dataRoot = dir.dataRoot();
        state.siteCode = "S1";
        state.currentDate = EncodeDate(2009, 3, 20) + 0.5;
        state.dayName = "090320";
    }
    static QToolButton* buttonOfDay(TcalendarForm& form, int day) {
        for (QToolButton* button : form.dayButtons)
            if (button->text() == QString::number(day)) return button;
        return nullptr;
    }

    StartDir dir;
    AppConfig config;
    DisplayState state;
};

TEST_F(CalendarFormTest, OpensOnTheMonthShownWithOnlyDaysThatHaveAnIndexFile) {
    for (const char* name :
         {"090315.ind", "090303.ind", "090304.bas", "090401.ind", "080301.ind", "090399.ind"}) {
        dir.touch("S1", name);
    }
    TcalendarForm form(config, state);
    const QComboBox& years = *form.yearCombo;
    EXPECT_EQ(
        years.itemText(0) + " " + years.itemText(years.count() - 1) + " " + years.currentText(),
        "1970 2009 2009");
    EXPECT_EQ(form.monthCombo->itemText(11) + " " + form.monthCombo->currentText(),
              QStringLiteral("Декабрь Март"));
    EXPECT_FALSE(form.yearCombo->isEditable() || form.monthCombo->isEditable());
    for (int i = 0; i < kMonthGridCells; ++i) {
        const QString text = form.dayButtons[i]->text();
        EXPECT_EQ(text, i < 6 || i > 36 ? QString() : QString::number(i - 5)) << i;
        EXPECT_EQ(form.dayButtons[i]->isEnabled(), text == "3" || text == "15") << i;
    }
    EXPECT_EQ(form.size(), QSize(162, 190));
    EXPECT_EQ(form.dayButtons[0]->geometry(), QRect(0, 42, 21, 21));
    EXPECT_EQ(form.dayButtons[41]->geometry(), QRect(6 * 21, 5 * 21 + 42, 21, 21));
    EXPECT_EQ(form.weekdayLabels[0]->geometry(), QRect(0, 21, 21, 21));
    EXPECT_EQ(form.weekdayLabels[0]->text() + form.weekdayLabels[6]->text(),
              QStringLiteral("ПнВс"));
    EXPECT_EQ(form.weekdayLabels[3]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(CalendarFormTest, ChangingMonthOrYearRelistsForTheCurrentSite) {
    dir.touch("S1", "100101.ind");
    dir.touch("S2", "100102.ind");
    state.currentDate = EncodeDate(2010, 1, 10);
    TcalendarForm form(config, state);
    EXPECT_TRUE(buttonOfDay(form, 1)->isEnabled());
    state.siteCode = "S2";
    form.monthCombo->setCurrentIndex(1);
    EXPECT_EQ(buttonOfDay(form, 29), nullptr);
    form.monthCombo->setCurrentIndex(0);
    EXPECT_FALSE(buttonOfDay(form, 1)->isEnabled());
    EXPECT_TRUE(buttonOfDay(form, 2)->isEnabled());
    EXPECT_EQ(form.dayButtons[4]->text(), "1");

    form.monthCombo->setCurrentIndex(1);
    form.yearCombo->setCurrentText("2008");
    EXPECT_NE(buttonOfDay(form, 29), nullptr);
}

TEST_F(CalendarFormTest, ClosingChangesNothingAndKeepsTheMonthAPickSetsDayAndDate) {
    dir.touch("S1", "090305.ind");
    TcalendarForm form(config, state);
    form.monthCombo->setCurrentIndex(0);
    QTimer::singleShot(0, &form, [&] { form.reject(); });
    EXPECT_FALSE(form.pickDay());
    EXPECT_EQ(state.dayName, "090320");
    EXPECT_DOUBLE_EQ(state.currentDate, EncodeDate(2009, 3, 20) + 0.5);
    EXPECT_EQ(form.monthCombo->currentIndex(), 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Дата")) << "until a day is picked";

    form.monthCombo->setCurrentIndex(2);
    QTimer::singleShot(0, &form, [&] { buttonOfDay(form, 5)->click(); });
    EXPECT_TRUE(form.pickDay());
    EXPECT_EQ(state.dayName, "090305");
    EXPECT_DOUBLE_EQ(state.currentDate, EncodeDate(2009, 3, 5));
    EXPECT_EQ(form.windowTitle(), "090305");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(CalendarFormTest, EmptyCellsAndADateBefore1970PickNothing) {
    dir.touch("S1", "090301.ind");
    TcalendarForm march(config, state);
    for (int cell : {0, -1, kMonthGridCells}) march.dayButtonClick(cell);
    state.currentDate = 0.0;
    TcalendarForm form(config, state);
    EXPECT_EQ(form.yearCombo->count(), 0);
    EXPECT_EQ(form.shownYear(), 0);
    for (QToolButton* button : form.dayButtons) EXPECT_FALSE(button->isEnabled());
    form.monthCombo->setCurrentIndex(3);
    form.dayButtonClick(10);
    EXPECT_EQ(state.dayName, "090320");
}

}  // namespace kalvera::navtest
