// The composite window, offscreen: it follows the main window's term, counts
// and names the sites, reads the composite under the mouse and opens a site
// in the main window on a double-click.

#include "ui/mosaic_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>

#include "render/mosaic_picture.h"
#include "ui/cell_table_window.h"
#include "ui/loop_controller.h"
#include "ui/loop_panel.h"
#include "ui/navigation_fixture.h"
#include "ui/nowcast_tools.h"
#include "ui/user_settings.h"
#include "ui/vertical_tools.h"
#include "ui/window_keys.h"

namespace kalvera::navtest {

class MosaicWindowTest : public WindowTest {
  protected:
    MosaicWindowTest() : WindowTest({{"S1", 55.0f, 37.0f}, {"S2", 55.0f, 40.1f}}) {}

    MosaicWindow& open() {
        form().vertical->openMosaic();
        MosaicWindow* window = form().vertical->mosaicWindow();
        EXPECT_NE(window, nullptr);
        return *window;
    }
};

TEST_F(MosaicWindowTest, FollowsTheTermAndNamesTheMissingSite) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    dir.addTerm("S2", DayFromNow(0), 9, 0, {1}, 40);
    dir.addTerm("S1", DayFromNow(0), 9, 30, {1}, 40);
    start();
    form().controls().reviewListBox->setCurrentRow(0);
    form().reviewListBoxClick();
    MosaicWindow& window = open();
    EXPECT_TRUE(window.sitesText().startsWith(QString::fromUtf8("2 из 2 станций")))
        << window.sitesText().toStdString();
    form().controls().reviewListBox->setCurrentRow(1);
    form().reviewListBoxClick();
    EXPECT_TRUE(window.sitesText().startsWith(QString::fromUtf8("1 из 2 станций")));
    EXPECT_TRUE(window.sitesText().contains("S2"));
}

TEST_F(MosaicWindowTest, ReadsTheSiteUnderTheMouseAndOpensItOnADoubleClick) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    dir.addTerm("S2", DayFromNow(0), 9, 0, {1}, 60);
    start();
    MosaicWindow& window = open();
    window.resize(700, 600);
    const QPoint s2 = window.pixelOf(55.0f, 40.2f);
    EXPECT_TRUE(window.readoutAt(s2).contains("S2")) << window.readoutAt(s2).toStdString();
    // Azimuth and range from the site that gave the value.
    EXPECT_TRUE(window.readoutAt(s2).contains(QString::fromUtf8("азимут")));
    // The picture's corner, below the header line, is far from both sites.
    EXPECT_TRUE(window.readoutAt(QPoint(2, kMosaicHeaderHeight + 2))
                    .startsWith(QString::fromUtf8("нет данных")));
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(s2), QPointF(window.mapToGlobal(s2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &twice);
    EXPECT_EQ(state().siteCode, "S2");
}

TEST_F(MosaicWindowTest, F8AndThePicturesMenuOpenIt) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    EXPECT_TRUE(WindowKeys::Help().contains("F8"));
    QKeyEvent f8(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier);
    QApplication::sendEvent(&form(), &f8);
    ASSERT_NE(form().vertical->mosaicWindow(), nullptr);
    EXPECT_TRUE(form().vertical->mosaicWindow()->isVisible());
}

// The composite says its day and term, and the main window's keys step the
// term from it.
TEST_F(MosaicWindowTest, SaysItsTermAndTakesTheWindowKeys) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    dir.addTerm("S1", DayFromNow(0), 9, 10, {1}, 40);
    start();
    MosaicWindow& window = open();
    const std::string shown = state().termText;
    EXPECT_TRUE(window.windowTitle().contains(QString::fromStdString(shown)));
    EXPECT_TRUE(window.headerText().contains(QString::fromStdString(shown)));
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&window, &left);
    EXPECT_NE(state().termText, shown);
    EXPECT_TRUE(window.windowTitle().contains(QString::fromStdString(state().termText)));
}

TEST_F(MosaicWindowTest, APictureKeptForTheLoopFollowsTheOpacityAtOnce) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    MosaicWindow& window = open();
    const QImage opaque = window.picture();
    form().viewer().config.colours.cellOpacity = 30;
    EXPECT_NE(window.picture(), opaque);
}

// The composite's own nowcast: F6 and F7 pressed in its window act on the
// composite's day, read as one grid, and not on the main window's site.
class MosaicNowcastTest : public MosaicWindowTest {
  protected:
    // The fixture's terms reach 31.5 dBZ at most: cells from 30 dBZ here.
    MosaicNowcastTest() { UserSettings::setValue(QStringLiteral("nowcast/cellDbz"), 30.0); }
    ~MosaicNowcastTest() override {
        UserSettings::setValue(QStringLiteral("nowcast/cellDbz"), 40.0);
    }
    // Both sites see one patch of echo at each of three terms.
    void startWithStorms() {
        for (const char* site : {"S1", "S2"})
            for (const int minute : {0, 10, 20})
                dir.addTerm(site, DayFromNow(0), 9, minute, {1, 2}, 100);
        start();
    }
    static void press(QWidget& window, NowcastTools& nowcast, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
        for (int i = 0; i < 2000 && nowcast.loading(); ++i) {
            QThread::msleep(5);
            QCoreApplication::processEvents();
        }
        ASSERT_FALSE(nowcast.loading());
    }
};

TEST_F(MosaicNowcastTest, F6AndF7ShowTheCompositesCells) {
    startWithStorms();
    MosaicWindow& window = open();
    press(window, window.nowcast(), Qt::Key_F6);
    EXPECT_TRUE(window.nowcast().overlayShown());
    EXPECT_FALSE(form().nowcast->overlayShown());
    // One cell in each site's square: the site's own nowcast has but one.
    EXPECT_EQ(window.nowcast().cells().size(), 2u);
    press(window, window.nowcast(), Qt::Key_F7);
    ASSERT_NE(window.nowcast().tableWindow(), nullptr);
    EXPECT_EQ(window.nowcast().tableWindow()->table()->rowCount(), 2);
    EXPECT_EQ(form().nowcast->tableWindow(), nullptr);
}

TEST_F(MosaicNowcastTest, AForecastFrameShowsTheCompositesForecast) {
    startWithStorms();
    MosaicWindow& window = open();
    press(window, window.nowcast(), Qt::Key_F6);
    press(form(), *form().nowcast, Qt::Key_F6);
    LoopController& loop = *form().loop;
    loop.panel()->framesSpin->setValue(3);
    loop.playPause();
    loop.nextFrame();
    loop.nextFrame();
    loop.nextFrame();
    ASSERT_EQ(form().nowcast->forecastLead(), 10);
    window.picture();
    EXPECT_EQ(window.forecastShown(), 10);
    EXPECT_TRUE(window.headerText().contains(QString::fromUtf8("прогноз +10 мин")))
        << window.headerText().toStdString();
    EXPECT_EQ(window.nowcast().forecastLead(), 10);
}

}  // namespace kalvera::navtest
