// The nowcast in the window, offscreen: F6 shows the shown term's cells and
// hides them again, F7 lists them in a table that sorts, and a loop runs on
// past its newest term into forecast frames while the overlay is shown.

#include "ui/nowcast_tools.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>

#include "ui/cell_table_window.h"
#include "ui/loop_controller.h"
#include "ui/loop_panel.h"
#include "ui/navigation_fixture.h"
#include "ui/user_settings.h"

namespace kalvera::navtest {

class NowcastToolsTest : public WindowTest {
  protected:
    // The fixture's terms reach 31.5 dBZ at most: cells from 30 dBZ here.
    NowcastToolsTest() { UserSettings::setValue(QStringLiteral("nowcast/cellDbz"), 30.0); }
    ~NowcastToolsTest() override {
        UserSettings::setValue(QStringLiteral("nowcast/cellDbz"), 40.0);
    }
    // Three terms with one patch of echo: one storm cell each.
    void startWithStorm() {
        for (const int minute : {0, 10, 20})
            dir.addTerm("S1", DayFromNow(0), 9, minute, {1, 2}, 100);
        start();
    }
    NowcastTools& nowcast() { return *form().nowcast; }
    // The key, and the day it has the window read in the background.
    void press(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&form(), &event);
        for (int i = 0; i < 1000 && nowcast().loading(); ++i) {
            QThread::msleep(5);
            QCoreApplication::processEvents();
        }
        ASSERT_FALSE(nowcast().loading());
    }
};

TEST_F(NowcastToolsTest, F6ShowsTheShownTermsCellsAndHidesThemAgain) {
    startWithStorm();
    press(Qt::Key_F6);
    EXPECT_TRUE(nowcast().overlayShown());
    EXPECT_EQ(nowcast().cells().size(), 1u);
    press(Qt::Key_F6);
    EXPECT_FALSE(nowcast().overlayShown());
}

TEST_F(NowcastToolsTest, F7ListsTheTermsCellsInASortableTable) {
    startWithStorm();
    press(Qt::Key_F7);
    ASSERT_NE(nowcast().tableWindow(), nullptr);
    EXPECT_TRUE(nowcast().tableWindow()->isVisible());
    EXPECT_EQ(nowcast().tableWindow()->table()->rowCount(), 1);
    EXPECT_TRUE(nowcast().tableWindow()->table()->isSortingEnabled());
}

TEST_F(NowcastToolsTest, TheLoopRunsOnIntoForecastFramesAndBack) {
    startWithStorm();
    press(Qt::Key_F6);
    LoopController& loop = *form().loop;
    loop.panel()->framesSpin->setValue(3);
    loop.playPause();
    loop.nextFrame();
    loop.nextFrame();
    ASSERT_EQ(state().termText, "09.20");
    EXPECT_EQ(nowcast().forecastLead(), 0);
    for (const int lead : {10, 20, 30, 40, 50, 60}) {
        loop.nextFrame();
        EXPECT_EQ(nowcast().forecastLead(), lead);
        // The frame is the newest term's forecast, not a term of its own,
        // and the loop counts it apart from the terms.
        EXPECT_EQ(state().termText, "09.20");
        EXPECT_EQ(loop.panel()->positionLabel->text(),
                  QStringLiteral("прогноз %1/6").arg(lead / 10));
    }
    loop.nextFrame();
    EXPECT_EQ(state().termText, "09.00");
    EXPECT_EQ(nowcast().forecastLead(), 0);
}

}  // namespace kalvera::navtest
