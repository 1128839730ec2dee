// The composite window, offscreen: it follows the main window's term, counts
// and names the sites, reads the composite under the mouse and opens a site
// in the main window on a double-click.

#include "ui/mosaic_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "render/mosaic_picture.h"
#include "ui/navigation_fixture.h"
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

}  // namespace kalvera::navtest
