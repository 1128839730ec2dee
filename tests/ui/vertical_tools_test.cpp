// The picture's storm-depth tools, offscreen: Ctrl+click and the picture's
// menu open the point's history; a plain right click still pans.

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include "products/point_history.h"
#include "support/file_bytes.h"
#include "ui/history_window.h"
#include "ui/navigation_fixture.h"
#include "ui/vertical_tools.h"

namespace kalvera::navtest {

class VerticalToolsTest : public WindowTest {
  protected:
    void click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        const QPointF global(form().mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button,
                          modifiers);
        QCoreApplication::sendEvent(&form(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button,
                            Qt::NoButton, modifiers);
        QCoreApplication::sendEvent(&form(), &release);
    }
    QPoint centre() { return Rect(area()).center(); }
    HistoryWindow* history() { return form().vertical->historyWindow(); }
};

TEST_F(VerticalToolsTest, CtrlClickOpensTheHistoryOfThePointWithoutPanning) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 2, 21}, 40);
    dir.addTerm("S1", DayFromNow(0), 9, 10, {1}, 20);
    start();
    const float viewLat = state().viewLat;
    click(centre() + QPoint(0, -10), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(state().viewLat, viewLat);
    ASSERT_NE(history(), nullptr);
    EXPECT_TRUE(history()->isVisible());
    const auto& rows = history()->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].term, "09.00");
    EXPECT_EQ(rows[0].layers[1], 40);
    EXPECT_EQ(rows[1].layers[0], 20);
    EXPECT_FALSE(rows[1].layers[1].has_value());
    EXPECT_TRUE(history()->title().contains(QStringLiteral("сроков: 2")));

    // A term that comes while the window is open joins it.
    dir.addTerm("S1", DayFromNow(0), 9, 20, {1}, 30);
    form().Timer1Timer();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].layers[0], 30);

    const std::string csv = dir.path() + "/history.csv";
    QString error;
    ASSERT_TRUE(history()->saveCsv(QString::fromStdString(csv), error)) << error.toStdString();
    EXPECT_EQ(testing::ReadWholeFile(csv), HistoryCsv(rows));
    EXPECT_FALSE(history()->saveCsv(QString::fromStdString(dir.path() + "/no/such.csv"), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(VerticalToolsTest, TheMenuKeyOffersTheHistoryAndAPlainRightClickPans) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    const QPoint at = centre() + QPoint(30, 0);
    QContextMenuEvent plain(QContextMenuEvent::Mouse, at, form().mapToGlobal(at), Qt::NoModifier);
    QCoreApplication::sendEvent(&form(), &plain);
    EXPECT_EQ(form().vertical->pictureMenu(), nullptr);
    const float viewLon = state().viewLon;
    click(at, Qt::RightButton, Qt::NoModifier);
    EXPECT_GT(state().viewLon, viewLon);

    QContextMenuEvent key(QContextMenuEvent::Keyboard, at, form().mapToGlobal(at));
    QCoreApplication::sendEvent(&form(), &key);
    QMenu* menu = form().vertical->pictureMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("История точки"));
    menu->actions()[0]->trigger();
    ASSERT_NE(history(), nullptr);
    EXPECT_EQ(history()->rows().size(), 1u);
}

}  // namespace kalvera::navtest
