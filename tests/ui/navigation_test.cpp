// Site, day and term navigation and the update timer, on archives written by
// the project's BUFR writer, with a fixed clock and scripted dialogs.

#include <QDate>
#include <QKeyEvent>
#include <QLocale>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "ui/calendar_form.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

const std::vector<int> kAllReflectivity = {0, 1, 2, 3};

class NavigationTest : public WindowTest {
  protected:
    NavigationTest()
        : WindowTest({{"S1", 54.0f, 36.0f}, {"S2", 50.0f, 30.0f}, {"S3", 45.0f, 40.0f}}) {}

    // What the operator sees of the navigation: the day, the term list, the
    // term shown, the layer label and the layer list. The date label must
    // show the same day.
    std::string shown() {
        const CivilDate day = DecodeDate(state().currentDate);
        EXPECT_EQ(
            form().controls().dateStaticText->text(),
            QLocale::system().toString(QDate(day.year, day.month, day.day), QLocale::ShortFormat));
        EXPECT_EQ(DayNameOf(state().currentDate), state().dayName);
        return state().dayName + " [" +
               Items(form().controls().reviewListBox).join(" ").toStdString() + "] " +
               state().termText + " " + form().controls().layerLabel->text().toStdString() + " (" +
               Items(form().controls().layerListBox).join(" ").toStdString() + ")";
    }
    // Whether the message drawn is the one the index names for the term and layer.
    bool drawn(const std::string& term, int layer) {
        return state().layerCode == layer &&
               state().messageOffset == FindMessageOffset(state().indexPath, term, layer);
    }
    void click(QListWidget* list, int row) {
        list->setCurrentRow(row);
        list == form().controls().locListBox ? form().locListBoxClick()
                                             : form().reviewListBoxClick();
    }
};

TEST_F(NavigationTest, StartUpShowsTheNewestTermOfTodayAtItsHighestLayer) {
    dir.addTerm("S1", DayFromNow(-1), 9, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 10, 30, {0, 1, 2, 21});
    dir.addTerm("S1", DayFromNow(0), 7, 5, kAllReflectivity);
    start();
    TForm1& f = form();
    EXPECT_EQ(shown(), DayFromNow(0) + " [07.05 10.30] 10.30 Слой =21 (0 1 2 21 Макс VIL)");
    EXPECT_TRUE(drawn("10.30", 21));
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(f.controls().locListBox->currentRow(), 0);
    EXPECT_EQ(Items(f.controls().reviewListBox).at(f.controls().reviewListBox->currentRow()),
              "10.30");
    // The first picture leaves the view on the configured centre, not the site's.
    EXPECT_EQ(QPointF(state().viewLon, state().viewLat), QPointF(37.0, 55.0));
    EXPECT_EQ(state().recentre, 1);
    EXPECT_TRUE(f.controls().Timer1->isActive());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NavigationTest, ThreeDaysBackAndThreeForwardReturnToTheEarliestTerm) {
    dir.addTerm("S1", DayFromNow(0), 8, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 12, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-1), 6, 30, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-3), 1, 0, kAllReflectivity);
    start();
    form().backButtonClick();
    EXPECT_EQ(
        shown(),
        DayFromNow(-1) + " [06.30] 06.30 Слой =3 (0 1 2 3 Макс VIL)");  // the layer carries over
    EXPECT_EQ(decodes, 2);
    form().backButtonClick();  // a day without files: the map alone, no message
    EXPECT_EQ(shown(), DayFromNow(-2) + " []  Слой =3 (0 1 2 3 Макс VIL)");
    EXPECT_EQ(decodes, 2);
    form().backButtonClick();
    EXPECT_EQ(shown(), DayFromNow(-3) + " [01.00] 01.00 Слой =3 (0 1 2 3 Макс VIL)");

    for (int i = 0; i < 3; ++i) form().forwardButtonClick();
    EXPECT_EQ(shown(), DayFromNow(0) + " [08.00 12.00] 08.00 Слой =3 (0 1 2 3 Макс VIL)");
    EXPECT_TRUE(drawn("08.00", 3));
    form().forwardButtonClick();  // past today
    EXPECT_EQ(shown(), DayFromNow(1) + " []  Слой =3 (0 1 2 3 Макс VIL)");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NavigationTest, ATermIsDrawnWithTheCurrentLayerEvenWhenItLacksIt) {
    dir.addTerm("S1", DayFromNow(0), 6, 0, {0});
    dir.addTerm("S1", DayFromNow(0), 7, 0, {0, 1, 2});
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 2, 21});
    start();
    // A term with only layer 0 shows the empty picture: nothing is decoded.
    click(form().controls().reviewListBox, 0);
    EXPECT_EQ(shown(), DayFromNow(0) + " [06.00 07.00 09.00] 06.00 Слой =21 (0)");
    EXPECT_EQ(decodes, 1);

    click(form().controls().reviewListBox, 1);
    EXPECT_EQ(shown(), DayFromNow(0) + " [06.00 07.00 09.00] 07.00 Слой =21 (0 1 2 Макс VIL)");
    EXPECT_EQ(decodes, 2);
    EXPECT_EQ(state().messageOffset, -1);

    // Moving the selection with the keys acts as a click on the new term.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(form().controls().reviewListBox, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(form().controls().reviewListBox, &up);
    EXPECT_EQ(shown(), DayFromNow(0) + " [06.00 07.00 09.00] 09.00 Слой =21 (0 1 2 21 Макс VIL)");
    EXPECT_EQ(decodes, 3);

    click(form().controls().reviewListBox, -1);  // no term selected: nothing happens
    form().controls().reviewListBox->clear();
    form().reviewListBoxClick();
    EXPECT_EQ(state().termText, "09.00");
    EXPECT_EQ(decodes, 3);
}

TEST_F(NavigationTest, ASiteWithoutDataThenAnotherRecentresAndResetsScaleAndFilter) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity, 40);
    dir.addTerm("S2", DayFromNow(-5), 9, 0, kAllReflectivity, 40);
    start();
    form().controls().scaleScrollBar->setValue(20);
    form().controls().filterScrollBar->setValue(5);
    ASSERT_EQ(state().filterThreshold, 5);
    click(form().controls().locListBox, 2);  // S3: no data at all
    EXPECT_EQ(dialogs.messages, std::vector<QString>{QStringLiteral("Не найдена база данных.")});
    EXPECT_EQ(form().controls().reviewListBox->count(), 0);
    // Nothing of S1 can be drawn under S3's name any more.
    EXPECT_FALSE(form().RenderPicture());

    const int before = decodes;
    click(form().controls().locListBox, 1);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(state().siteCode, "S2");
    EXPECT_EQ(shown(), DayFromNow(-5) + " [09.00] 09.00 Слой =3 (0 1 2 3 Макс VIL)");
    EXPECT_NEAR(state().viewLat, 50.0f, 0.01f);
    EXPECT_NEAR(state().viewLon, 30.0f, 0.01f);
    EXPECT_EQ(state().recentre, 1);
    EXPECT_EQ(form().controls().filterScrollBar->value() + state().filterThreshold, 0);
    EXPECT_EQ(form().controls().filterLabel->text(), QStringLiteral("Фильтр = 0"));
    EXPECT_EQ(form().controls().scaleScrollBar->value(), 50);
    EXPECT_EQ(form().controls().scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 50 км"));
    EXPECT_FLOAT_EQ(state().viewHalfExtentKm, 200.0f);
    EXPECT_EQ(decodes, before + 1);  // one drawing for the whole reload
}

TEST_F(NavigationTest, TheDatePickerReopensTheDayOrListsThePickedOne) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(0), 11, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-6), 4, 0, kAllReflectivity);
    dir.addTerm("S1", DayFromNow(-6), 5, 0, kAllReflectivity);
    start();
    form().dateStaticTextClick();  // closed without a pick
    EXPECT_EQ(shown(), DayFromNow(0) + " [09.00 11.00] 09.00 Слой =3 (0 1 2 3 Макс VIL)");

    const QString day = QString::number(DecodeDate(FixtureNow() - 6).day);
    const QString today = QString::number(DecodeDate(FixtureNow()).day);
    dialogs.onModal = [&](QDialog& dialog) {
        for (QToolButton* button : static_cast<TcalendarForm&>(dialog).dayButtons) {
            const QString text = button->text();
            EXPECT_EQ(button->isEnabled(), text == day || text == today) << text.toStdString();
            if (text == day) button->click();
        }
    };
    form().dateStaticTextClick();
    EXPECT_EQ(dialogs.modalCalls, 2);
    EXPECT_EQ(shown(), DayFromNow(-6) + " [04.00 05.00] 04.00 Слой =3 (0 1 2 3 Макс VIL)");
}

class AutoUpdateTest : public NavigationTest {
  protected:
    void SetUp() override { std::ofstream(exportPath) << "old"; }
    void startExporting() {
        start();
        form().autoExportPath = exportPath;
    }
    std::uintmax_t exportSize() const { return fs::file_size(exportPath); }
    const std::string exportPath = dir.path() + "/zeb.jpg";
    const QString title = QStringLiteral("КАЛВЕРА");
};

TEST_F(AutoUpdateTest, TicksFollowAWriterAndExportOnceTheWeatherLayerArrives) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 21, 22});
    startExporting();
    // The operator wanders off to an older day while a newer term is written.
    dir.addTerm("S1", DayFromNow(0), 10, 0, {0, 1, 2});
    form().backButtonClick();
    const int before = decodes;

    form().Timer1Timer();
    EXPECT_EQ(shown(), DayFromNow(0) + " [09.00 10.00] 10.00 Слой =2 (0 1 2 Макс VIL)");
    EXPECT_EQ(decodes, before + 1);  // the tick draws the term it selected
    EXPECT_TRUE(drawn("10.00", 2));
    EXPECT_EQ(exportSize(), 3u);

    dir.addTerm("S1", DayFromNow(0), 10, 0, {21});
    form().Timer1Timer();
    EXPECT_TRUE(drawn("10.00", 21));
    EXPECT_EQ(exportSize(), 3u);

    dir.addTerm("S1", DayFromNow(0), 10, 0, {22});
    form().Timer1Timer();
    EXPECT_TRUE(drawn("10.00", 22));
    EXPECT_GT(exportSize(), 3u);

    fs::resize_file(exportPath, 0);  // every tick exports until a newer term
    form().Timer1Timer();
    EXPECT_GT(exportSize(), 0u);

    dir.addTerm("S1", DayFromNow(0), 10, 10, {0, 1});  // newer, no weather layer yet
    fs::resize_file(exportPath, 0);
    form().Timer1Timer();
    EXPECT_EQ(state().termText, "10.10");
    EXPECT_EQ(exportSize(), 0u);
    EXPECT_TRUE(form().controls().Timer1->isActive());
}

TEST_F(AutoUpdateTest, OnlyADrawnTermGoesToAnExistingFileAndFailuresKeepTheTimer) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 3});
    startExporting();
    // The index names a weather message that the base file does not hold.
    dir.addRecord("S1", DayFromNow(0), 9, 0, 22, 1 << 30);
    form().Timer1Timer();
    EXPECT_EQ(state().messageOffset, 1 << 30);
    EXPECT_EQ(exportSize(), 3u);

    // A directory in the file's place: it exists, and no picture can replace it.
    dir.addTerm("S1", DayFromNow(0), 9, 10, {0, 22});
    fs::remove(exportPath);
    fs::create_directory(exportPath);
    for (int tick = 0; tick < 2; ++tick) {
        form().Timer1Timer();
        EXPECT_TRUE(drawn("09.10", 22));
        EXPECT_TRUE(form().controls().Timer1->isActive());
        EXPECT_TRUE(form().windowTitle().contains(QString::fromStdString(exportPath)));
    }
    EXPECT_TRUE(dialogs.messages.empty());  // shown without blocking

    fs::remove(exportPath);
    std::ofstream(exportPath) << "old";
    form().Timer1Timer();
    EXPECT_EQ(form().windowTitle(), title);
    EXPECT_GT(exportSize(), 3u);

    fs::remove(exportPath);  // a missing file is not created
    form().Timer1Timer();
    EXPECT_FALSE(fs::exists(exportPath));
    EXPECT_EQ(form().windowTitle(), title);
    EXPECT_TRUE(form().controls().Timer1->isActive());
}

TEST_F(AutoUpdateTest, TheCheckBoxSwitchesTheTimerAndATickWithoutDataGoesOn) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    start();
    form().controls().autoCheckBox->click();
    EXPECT_FALSE(form().controls().autoCheckBox->isChecked() ||
                 form().controls().Timer1->isActive());
    form().controls().autoCheckBox->click();
    EXPECT_TRUE(form().controls().Timer1->isActive());
    EXPECT_EQ(form().controls().Timer1->interval(), 60 * 1000);

    fs::remove_all(dir.siteDir("S1"));
    form().Timer1Timer();
    EXPECT_EQ(form().controls().reviewListBox->count(), 0);
    EXPECT_EQ(decodes, 1);
    EXPECT_TRUE(form().controls().Timer1->isActive());
}

class NoUpdatePeriodTest : public WindowTest {
  protected:
    NoUpdatePeriodTest() : WindowTest({{"S1", 55.0f, 37.0f}}, 0) {}
};

TEST_F(NoUpdatePeriodTest, APeriodOfZeroNeverTicks) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, kAllReflectivity);
    start();
    EXPECT_FALSE(form().controls().Timer1->isActive());
    form().controls().autoCheckBox->click();
    form().controls().autoCheckBox->click();
    form().Timer1Timer();
    EXPECT_FALSE(form().controls().Timer1->isActive());
}

}  // namespace kalvera::navtest
