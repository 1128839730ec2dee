// Site, day and term navigation and the update timer, on archives written by
// the project's BUFR writer, with a fixed clock and scripted dialogs.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "ui/calendar_form.h"
#include "ui/main_window.h"
#include "ui/navigation_fixture.h"

namespace kalvera {
namespace {

using navtest::DayFromNow;
using navtest::FixtureNow;
using navtest::StartDir;
using navtest::WindowUnderTest;

namespace fs = std::filesystem;

const std::vector<int> kAllReflectivity = {0, 1, 2, 3};

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

QString ShortDate(double date) {
    const CivilDate civil = DecodeDate(date);
    return QLocale::system().toString(QDate(civil.year, civil.month, civil.day),
                                      QLocale::ShortFormat);
}

void ClickTerm(TForm1& form, const QString& term) {
    const auto found = form.reviewListBox->findItems(term, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << term.toStdString();
    form.reviewListBox->setCurrentItem(found.front());
    form.reviewListBoxClick();
}

class NavigationTest : public ::testing::Test {
  protected:
    NavigationTest()
        : dir("nav", 60, {{"S1", 55.0f, 37.0f}, {"S2", 50.0f, 30.0f}, {"S3", 45.0f, 40.0f}}),
          clock(FixtureNow()) {}

    std::unique_ptr<WindowUnderTest> start() {
        return std::make_unique<WindowUnderTest>(dir, clock);
    }

    StartDir dir;
    FixedClock clock;
};

TEST_F(NavigationTest, StartUpShowsTheNewestTermOfTodayAtItsHighestLayer) {
    dir.addTerm("S1", DayFromNow(-1), 9, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 10, 30, {0, 1, 2, 21});
    dir.addTerm("S1", DayFromNow(0), 7, 5, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    const DisplayState& state = form.display();

    EXPECT_EQ(form.dateStaticText->text(), ShortDate(FixtureNow()));
    EXPECT_EQ(Items(form.reviewListBox), (QStringList{"07.05", "10.30"}));
    EXPECT_EQ(state.termText, "10.30");
    EXPECT_EQ(state.layerCode, 21);
    EXPECT_EQ(Items(form.layerListBox), (QStringList{"0", "1", "2", "21"}));
    EXPECT_EQ(form.layerLabel->text(), QStringLiteral("Слой =21"));
    EXPECT_EQ(form.scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 50 км"));
    EXPECT_EQ(form.filterLabel->text(), QStringLiteral("Фильтр = 0"));
    EXPECT_FLOAT_EQ(state.viewHalfExtentKm, 200.0f);
    EXPECT_EQ(window->decodes, 1);
    EXPECT_EQ(state.messageOffset, FindMessageOffset(state.indexPath, "10.30", 21));
    EXPECT_GE(state.messageOffset, 0);
    // The program itself selects no term.
    EXPECT_EQ(form.reviewListBox->selectedItems().size(), 0);
    EXPECT_TRUE(window->dialogs.messages.empty());
}

TEST_F(NavigationTest, ThreeDaysBackAndThreeForwardReturnToTheEarliestTerm) {
    dir.addTerm("S1", DayFromNow(0), 8, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 12, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-1), 6, 30, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-3), 1, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    const DisplayState& state = form.display();
    ASSERT_EQ(state.termText, "12.00");
    const int decodesAtStart = window->decodes;

    form.backButtonClick();
    EXPECT_EQ(form.dateStaticText->text(), ShortDate(FixtureNow() - 1));
    EXPECT_EQ(state.dayName, DayFromNow(-1));
    EXPECT_EQ(Items(form.reviewListBox), QStringList{"06.30"});
    EXPECT_EQ(state.termText, "06.30");
    EXPECT_EQ(state.layerCode, 3);  // the layer carries over to the new day
    EXPECT_EQ(window->decodes, decodesAtStart + 1);

    // A day without files: empty list, nothing drawn, no message.
    form.backButtonClick();
    EXPECT_EQ(state.dayName, DayFromNow(-2));
    EXPECT_EQ(form.reviewListBox->count(), 0);
    EXPECT_EQ(window->decodes, decodesAtStart + 1);

    form.backButtonClick();
    EXPECT_EQ(Items(form.reviewListBox), QStringList{"01.00"});

    form.forwardButtonClick();
    form.forwardButtonClick();
    form.forwardButtonClick();
    EXPECT_EQ(form.dateStaticText->text(), ShortDate(FixtureNow()));
    EXPECT_EQ(state.dayName, DayFromNow(0));
    EXPECT_EQ(Items(form.reviewListBox), (QStringList{"08.00", "12.00"}));
    EXPECT_EQ(state.termText, "08.00");
    EXPECT_EQ(state.messageOffset, FindMessageOffset(state.indexPath, "08.00", 3));
    EXPECT_TRUE(window->dialogs.messages.empty());
}

TEST_F(NavigationTest, ForwardMayPassToday) {
    dir.addTerm("S1", DayFromNow(0), 8, 0, kAllReflectivity);
    auto window = start();
    window->form->forwardButtonClick();
    EXPECT_EQ(window->form->display().dayName, DayFromNow(1));
    EXPECT_EQ(window->form->reviewListBox->count(), 0);
}

TEST_F(NavigationTest, ATermWithOnlyLayerZeroShowsTheEmptyPicture) {
    dir.addTerm("S1", DayFromNow(0), 6, 0, {0});
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    const int decodes = window->decodes;
    ClickTerm(form, "06.00");
    EXPECT_EQ(form.display().termText, "06.00");
    EXPECT_EQ(Items(form.layerListBox), QStringList{"0"});
    EXPECT_EQ(window->decodes, decodes);
    EXPECT_EQ(form.display().layerCode, 3);
    EXPECT_EQ(form.layerLabel->text(), QStringLiteral("Слой =3"));
}

TEST_F(NavigationTest, ATermLackingTheCurrentLayerIsStillDrawnWithIt) {
    dir.addTerm("S1", DayFromNow(0), 6, 0, {0, 1, 2});
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 2, 21});
    auto window = start();
    TForm1& form = *window->form;
    ASSERT_EQ(form.display().layerCode, 21);
    const int decodes = window->decodes;
    ClickTerm(form, "06.00");
    EXPECT_EQ(form.display().layerCode, 21);
    EXPECT_EQ(form.layerLabel->text(), QStringLiteral("Слой =21"));
    EXPECT_EQ(Items(form.layerListBox), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(window->decodes, decodes + 1);
    EXPECT_EQ(form.display().messageOffset, -1);
}

TEST_F(NavigationTest, AClickWithoutASelectedTermDoesNothing) {
    dir.addTerm("S1", DayFromNow(0), 6, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    const int decodes = window->decodes;
    form.reviewListBox->setCurrentRow(-1);
    form.reviewListBoxClick();
    form.reviewListBox->clear();
    form.reviewListBoxClick();
    EXPECT_EQ(form.display().termText, "09.00");
    EXPECT_EQ(window->decodes, decodes);
}

TEST_F(NavigationTest, ASiteWithoutDataThenAnotherRecentresOnTheSecond) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    dir.addTerm("S2", DayFromNow(-5), 9, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    // Start-up keeps the configured centre.
    EXPECT_FLOAT_EQ(form.display().viewLat, 55.0f);
    ASSERT_EQ(form.locListBox->count(), 3);

    form.locListBox->setCurrentRow(2);  // S3: no data at all
    form.locListBoxClick();
    ASSERT_EQ(window->dialogs.messages.size(), 1u);
    EXPECT_EQ(window->dialogs.messages[0], QStringLiteral("Не найдена база данных."));
    EXPECT_TRUE(window->dialogs.titles[0].isEmpty());
    EXPECT_EQ(form.reviewListBox->count(), 0);

    form.locListBox->setCurrentRow(1);  // S2
    form.locListBoxClick();
    EXPECT_EQ(window->dialogs.messages.size(), 1u);
    EXPECT_EQ(form.display().siteCode, "S2");
    EXPECT_EQ(form.display().dayName, DayFromNow(-5));
    EXPECT_NEAR(form.display().viewLat, 50.0f, 0.01f);
    EXPECT_NEAR(form.display().viewLon, 30.0f, 0.01f);
    EXPECT_EQ(form.display().recentre, 1);
}

TEST_F(NavigationTest, ChangingSiteResetsScaleAndFilter) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity, 40);
    dir.addTerm("S2", DayFromNow(0), 9, 0, kAllReflectivity, 40);
    auto window = start();
    TForm1& form = *window->form;
    form.scaleScrollBar->setValue(20);
    form.filterScrollBar->setValue(5);
    ASSERT_EQ(form.display().filterThreshold, 5);
    ASSERT_FLOAT_EQ(form.display().viewHalfExtentKm, 80.0f);
    const int decodes = window->decodes;

    form.locListBox->setCurrentRow(1);
    form.locListBoxClick();
    EXPECT_EQ(form.filterScrollBar->value(), 0);
    EXPECT_EQ(form.display().filterThreshold, 0);
    EXPECT_EQ(form.filterLabel->text(), QStringLiteral("Фильтр = 0"));
    EXPECT_EQ(form.scaleScrollBar->value(), 50);
    EXPECT_FLOAT_EQ(form.display().viewHalfExtentKm, 200.0f);
    EXPECT_EQ(form.scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 50 км"));
    // One drawing for the whole reload, not one per reset control.
    EXPECT_EQ(window->decodes, decodes + 1);
}

class DatePickerTest : public NavigationTest {
  protected:
    void TearDown() override {
        delete calendarForm;
        calendarForm = nullptr;
    }
};

TEST_F(DatePickerTest, PickingADayListsItAndDrawsItsEarliestTerm) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-6), 4, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-6), 5, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    const int day = DecodeDate(FixtureNow() - 6).day;
    window->dialogs.onModal = [&](QDialog& dialog) {
        auto& picker = static_cast<TcalendarForm&>(dialog);
        for (QToolButton* button : picker.dayButtons) {
            if (button->text() == QString::number(day)) {
                EXPECT_TRUE(button->isEnabled());
                button->click();
            } else if (!button->text().isEmpty() && button->text() != "7") {
                EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
            }
        }
    };
    form.dateStaticTextClick();
    EXPECT_EQ(window->dialogs.modalCalls, 1);
    EXPECT_EQ(form.display().dayName, DayFromNow(-6));
    EXPECT_EQ(form.dateStaticText->text(), ShortDate(FixtureNow() - 6));
    EXPECT_EQ(Items(form.reviewListBox), (QStringList{"04.00", "05.00"}));
    EXPECT_EQ(form.display().termText, "04.00");
}

TEST_F(DatePickerTest, ClosingWithoutAPickReopensTheSameDay) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 11, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    ASSERT_EQ(form.display().termText, "11.00");
    form.dateStaticTextClick();
    EXPECT_EQ(form.display().dayName, DayFromNow(0));
    EXPECT_EQ(form.display().termText, "09.00");
    EXPECT_EQ(Items(form.reviewListBox), (QStringList{"09.00", "11.00"}));
}

class AutoUpdateTest : public NavigationTest {
  protected:
    void SetUp() override {
        exportPath = dir.path() + "/zeb.jpg";
        std::ofstream(exportPath) << "old";
    }
    std::uintmax_t exportSize() const { return fs::file_size(exportPath); }
    std::string exportPath;
};

TEST_F(AutoUpdateTest, TicksFollowAWriterAndExportOnceTheWeatherLayerArrives) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 21, 22});
    auto window = start();
    TForm1& form = *window->form;
    form.autoExportPath = exportPath;
    const DisplayState& state = form.display();

    // The operator wanders off to an older term and layer.
    dir.addTerm("S1", DayFromNow(0), 10, 0, {0, 1, 2});
    form.backButtonClick();
    const int decodes = window->decodes;

    form.Timer1Timer();
    EXPECT_EQ(state.dayName, DayFromNow(0));
    EXPECT_EQ(Items(form.reviewListBox), (QStringList{"09.00", "10.00"}));
    EXPECT_EQ(state.termText, "10.00");
    EXPECT_EQ(state.layerCode, 2);
    EXPECT_EQ(form.layerLabel->text(), QStringLiteral("Слой =2"));
    // The tick draws the term it selected.
    EXPECT_EQ(window->decodes, decodes + 1);
    EXPECT_EQ(state.messageOffset, FindMessageOffset(state.indexPath, "10.00", 2));
    EXPECT_EQ(exportSize(), 3u);
    EXPECT_TRUE(form.Timer1->isActive());

    dir.addTerm("S1", DayFromNow(0), 10, 0, {21});
    form.Timer1Timer();
    EXPECT_EQ(state.layerCode, 21);
    EXPECT_EQ(exportSize(), 3u);

    dir.addTerm("S1", DayFromNow(0), 10, 0, {22});
    form.Timer1Timer();
    EXPECT_EQ(state.layerCode, 22);
    EXPECT_EQ(state.messageOffset, FindMessageOffset(state.indexPath, "10.00", 22));
    EXPECT_GT(exportSize(), 3u);

    fs::resize_file(exportPath, 0);
    form.Timer1Timer();
    EXPECT_GT(exportSize(), 0u);

    // A newer term without its weather layer yet: no export.
    dir.addTerm("S1", DayFromNow(0), 10, 10, {0, 1});
    fs::resize_file(exportPath, 0);
    form.Timer1Timer();
    EXPECT_EQ(state.termText, "10.10");
    EXPECT_EQ(exportSize(), 0u);
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(AutoUpdateTest, AWeatherLayerThatCannotBeDrawnIsNotExported) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 3});
    auto window = start();
    TForm1& form = *window->form;
    form.autoExportPath = exportPath;
    // The index names a weather message that the base file does not hold.
    dir.addRecord("S1", DayFromNow(0), 9, 0, 22, 1 << 30);
    form.Timer1Timer();
    EXPECT_EQ(form.display().layerCode, 22);
    EXPECT_EQ(form.display().messageOffset, 1 << 30);
    EXPECT_EQ(exportSize(), 3u);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("КАЛВЕРА"));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(AutoUpdateTest, AMissingExportFileIsNotCreated) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 22});
    auto window = start();
    TForm1& form = *window->form;
    fs::remove(exportPath);
    form.autoExportPath = exportPath;
    form.Timer1Timer();
    EXPECT_FALSE(fs::exists(exportPath));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("КАЛВЕРА"));
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(AutoUpdateTest, AFailedExportKeepsTheTimerAndIsShownUntilOneSucceeds) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 22});
    auto window = start();
    TForm1& form = *window->form;
    // A directory in the file's place: it exists, and no picture can replace it.
    fs::remove(exportPath);
    fs::create_directory(exportPath);
    form.autoExportPath = exportPath;

    form.Timer1Timer();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.windowTitle().contains(QString::fromStdString(exportPath)));
    EXPECT_TRUE(window->dialogs.messages.empty());
    form.Timer1Timer();
    EXPECT_TRUE(form.Timer1->isActive());

    fs::remove(exportPath);
    std::ofstream(exportPath) << "old";
    form.Timer1Timer();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("КАЛВЕРА"));
    EXPECT_GT(exportSize(), 3u);
}

TEST_F(AutoUpdateTest, ATickWithoutAnyDataEmptiesTheListAndGoesOn) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    fs::remove_all(dir.siteDir("S1"));
    const int decodes = window->decodes;
    form.Timer1Timer();
    EXPECT_EQ(form.reviewListBox->count(), 0);
    EXPECT_EQ(window->decodes, decodes);
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(AutoUpdateTest, TheCheckBoxSwitchesTheTimerOffAndOn) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    auto window = start();
    TForm1& form = *window->form;
    EXPECT_TRUE(form.autoCheckBox->isChecked());
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 60 * 1000);

    form.autoCheckBox->click();
    EXPECT_FALSE(form.autoCheckBox->isChecked());
    EXPECT_FALSE(form.Timer1->isActive());

    form.autoCheckBox->click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 60 * 1000);
}

TEST(AutoUpdatePeriod, APeriodOfZeroNeverTicks) {
    StartDir dir("period", 0, {{"S1", 55.0f, 37.0f}});
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    FixedClock clock(FixtureNow());
    WindowUnderTest window(dir, clock);
    TForm1& form = *window.form;
    EXPECT_FALSE(form.Timer1->isActive());
    form.autoCheckBox->click();
    form.autoCheckBox->click();
    EXPECT_FALSE(form.Timer1->isActive());
    form.Timer1Timer();
    EXPECT_FALSE(form.Timer1->isActive());
}

}  // namespace
}  // namespace kalvera
