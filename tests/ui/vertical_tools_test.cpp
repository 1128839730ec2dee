// The picture's storm-depth tools, offscreen: Ctrl+click and the picture's
// menu open the point's history; a plain right click still pans; a right
// drag opens the section, whose line the picture keeps while it is open.

#include "ui/vertical_tools.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "products/point_history.h"
#include "support/file_bytes.h"
#include "ui/history_window.h"
#include "ui/navigation_fixture.h"
#include "ui/nowcast_tools.h"
#include "ui/section_window.h"
#include "ui/user_settings.h"
#include "ui/window_keys.h"

namespace kalvera::navtest {

class VerticalToolsTest : public WindowTest {
  protected:
    void click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        const QPointF global(form().mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button, modifiers);
        QCoreApplication::sendEvent(&form(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button, Qt::NoButton,
                            modifiers);
        QCoreApplication::sendEvent(&form(), &release);
    }
    void drag(QPoint from, QPoint to) {
        const auto send = [this](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(form().mapToGlobal(at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton, held,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&form(), &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::RightButton);
        send(QEvent::MouseMove, to, Qt::RightButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    QMenu* menuAt(QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, form().mapToGlobal(at),
                                Qt::ControlModifier);
        QCoreApplication::sendEvent(&form(), &event);
        return form().vertical->pictureMenu();
    }
    QPoint centre() { return Rect(area()).center(); }
    HistoryWindow* history() { return form().vertical->historyWindow(); }
    SectionWindow* section() { return form().vertical->sectionWindow(); }
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
    const GeoPoint point = history()->point();
    EXPECT_EQ(testing::ReadWholeFile(csv), HistoryCsv(state(), point.lat, point.lon, rows));
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

    // The menu key reports the window's middle; the mouse is elsewhere.
    QCursor::setPos(form().mapToGlobal(at));
    const QPoint middle = form().rect().center();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, middle, form().mapToGlobal(middle));
    QCoreApplication::sendEvent(&form(), &key);
    QMenu* menu = form().vertical->pictureMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions()[0]->text().section('\t', 0, 0), QStringLiteral("История точки"));
    menu->actions()[0]->trigger();
    ASSERT_NE(history(), nullptr);
    EXPECT_EQ(history()->rows().size(), 1u);
    const GeoPoint expected = form().viewer().pointAt(at.x(), at.y());
    EXPECT_FLOAT_EQ(history()->point().lat, expected.lat);
    EXPECT_FLOAT_EQ(history()->point().lon, expected.lon);
}

TEST_F(VerticalToolsTest, TheMenuNamesEachToolsKeyAndF1TheMouseTools) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    QMenu* menu = menuAt(centre());
    ASSERT_NE(menu, nullptr);
    for (const QAction* action : menu->actions()) {
        // Submenus (the colour tables, the opacity) are choices, not tools.
        if (action->isSeparator() || action->menu() != nullptr) continue;
        EXPECT_FALSE(action->text().section('\t', 1).isEmpty()) << action->text().toStdString();
    }
    for (const char* tool : {"Щелчок по карте", "Протяжка правой кнопкой", "Ctrl+щелчок",
                             "Двойной щелчок по легенде", "Колесо"}) {
        EXPECT_TRUE(WindowKeys::Help().contains(QString::fromUtf8(tool))) << tool;
    }
}

TEST_F(VerticalToolsTest, ALineBegunFromTheMenuEndsAtTheNextClickWithoutPanning) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 21}, 40);
    start();
    const float viewLat = state().viewLat;
    QMenu* menu = menuAt(centre() - QPoint(60, 0));
    ASSERT_NE(menu, nullptr);
    menu->actions()[1]->trigger();
    EXPECT_EQ(section(), nullptr);
    click(centre() + QPoint(60, 30), Qt::LeftButton, Qt::NoModifier);
    EXPECT_FLOAT_EQ(state().viewLat, viewLat);
    ASSERT_NE(section(), nullptr);
    EXPECT_TRUE(section()->isVisible());
    EXPECT_GT(section()->section().lengthKm, 0.0);
}

TEST_F(VerticalToolsTest, ToolWindowsStayAboveTheMainWindowAndFitItsScreen) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 21}, 40);
    start();
    form().show();
    click(centre(), Qt::LeftButton, Qt::ControlModifier);
    drag(centre() - QPoint(60, 0), centre() + QPoint(60, 20));
    const QRect free = form().screen()->availableGeometry();
    for (QWidget* tool : {static_cast<QWidget*>(history()), static_cast<QWidget*>(section())}) {
        ASSERT_NE(tool, nullptr);
        ASSERT_TRUE(tool->isVisible());
        // Window systems keep only the transient types above their parent.
        EXPECT_EQ(tool->windowHandle()->type(), Qt::Dialog);
        EXPECT_EQ(tool->windowHandle()->transientParent(), form().windowHandle());
        EXPECT_TRUE(free.contains(tool->frameGeometry())) << tool->windowTitle().toStdString();
    }
}

TEST_F(VerticalToolsTest, AReadoutDoesNotWidenTheSectionWindow) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 2, 3, 21}, 40);
    start();
    drag(centre() - QPoint(80, 0), centre() + QPoint(80, 0));
    ASSERT_NE(section(), nullptr);
    // Narrower than a readout's line.
    section()->resize(320, section()->height());
    QCoreApplication::processEvents();
    const int width = section()->width();
    for (int x = 60; x <= 220; x += 20) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), QPointF(x, 200), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(section(), &move);
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(section()->findChild<QLabel*>()->text().isEmpty());
    EXPECT_EQ(section()->width(), width);
}

TEST_F(VerticalToolsTest, TheSectionsLineStaysOnThePictureWhileItsWindowIsOpen) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 21}, 0);
    start();
    const QPoint from = centre() - QPoint(80, 40), to = centre() + QPoint(80, 40);
    const QImage before = form().grab().toImage();
    drag(from, to);
    ASSERT_NE(section(), nullptr);
    const QPoint middle = (from + to) / 2;
    const auto changedNear = [&](const QImage& image) {
        for (int dx = -3; dx <= 3; ++dx) {
            if (image.pixel(middle + QPoint(dx, 0)) != before.pixel(middle + QPoint(dx, 0)))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(changedNear(form().grab().toImage()));
    section()->close();
    EXPECT_FALSE(changedNear(form().grab().toImage()));
}

TEST_F(VerticalToolsTest, AColourTableChosenInTheMenuDrawsTheLegendAndIsRemembered) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    const auto choose = [this](const QString& kind, const QString& table) {
        for (QAction* item : menuAt(centre())->actions()) {
            if (item->menu() == nullptr || item->text() != kind) continue;
            emit item->menu()->aboutToShow();
            for (QAction* entry : item->menu()->actions()) {
                if (entry->text() == table) entry->trigger();
            }
        }
    };
    const LayoutRect& legend = form().viewer().layout.legend;
    const auto lowestBox = [&] {
        return PixelAt(form().viewer().WindowDC.image, legend.left + legend.width - 4,
                       legend.top + legend.height - 4);
    };
    choose(QStringLiteral("Цвета отражаемости"), QStringLiteral("оттенки серого"));
    EXPECT_EQ(UserSettings::value(QStringLiteral("colours/reflectivity")).toString(),
              QStringLiteral("greyscale"));
    EXPECT_EQ(lowestBox(), 0xE8E8E8u);
    choose(QStringLiteral("Цвета отражаемости"), QStringLiteral("классическая (colors.bin)"));
    EXPECT_EQ(UserSettings::value(QStringLiteral("colours/reflectivity")).toString(),
              QStringLiteral("classic"));
    EXPECT_EQ(lowestBox(), form().viewer().config.palette[1]);
}

TEST_F(VerticalToolsTest, TheOverlayEntryShowsWhetherTheOverlayIsOn) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    ASSERT_NE(form().nowcast, nullptr);
    const auto overlayEntry = [this]() -> QAction* {
        for (QAction* item : menuAt(centre())->actions()) {
            if (item->text().endsWith(QStringLiteral("\tF6"))) return item;
        }
        return nullptr;
    };
    for (int turn = 0; turn < 2; ++turn) {
        QAction* entry = overlayEntry();
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->isCheckable());
        EXPECT_EQ(entry->isChecked(), form().nowcast->overlayShown()) << turn;
        form().nowcast->toggleOverlay();  // as F6 does, behind the menu's back
    }
}

TEST_F(VerticalToolsTest, ARememberedFaintOpacityIsTakenUpToTheFloorAndSaidOnceAtStart) {
    UserSettings::setValue(QStringLiteral("colours/cellOpacity"), 0);
    dir.addTerm("S1", DayFromNow(0), 9, 0, {1}, 40);
    start();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    UserSettings::setValue(QStringLiteral("colours/cellOpacity"), 100);
    EXPECT_EQ(form().viewer().config.colours.cellOpacity, kMinCellOpacity);
    const auto said = std::count_if(
        dialogs.messages.begin(), dialogs.messages.end(),
        [](const QString& message) { return message.contains(QStringLiteral("20 %")); });
    EXPECT_EQ(said, 1);
}

}  // namespace kalvera::navtest
