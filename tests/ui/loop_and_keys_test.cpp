// The loop, its panel and the window's keys and wheel, offscreen, on archives
// written by the project's BUFR writer.

#include <QFontMetrics>
#include <QKeyEvent>
#include <QSpinBox>
#include <QThread>
#include <QToolButton>
#include <QWheelEvent>

#include "products/derived_products.h"
#include "render/picture_render.h"
#include "support/file_bytes.h"
#include "ui/loop_controller.h"
#include "ui/loop_panel.h"
#include "ui/navigation_fixture.h"
#include "ui/window_keys.h"

namespace kalvera::navtest {

class LoopTest : public WindowTest {
  protected:
    LoopTest() : WindowTest({{"S1", 54.0f, 36.0f}, {"S2", 50.0f, 30.0f}}) {}

    LoopController& loop() { return *form().loop; }
    void play(int frames) {
        loop().panel()->framesSpin->setValue(frames);
        loop().playPause();
    }
    // "day term" of what the window shows, and the highlighted term ("-" for none).
    std::string shown() {
        const QListWidgetItem* item = form().controls().reviewListBox->currentItem();
        return state().dayName + " " + state().termText + " " +
               (item && item->isSelected() ? item->text().toStdString() : "-");
    }
    std::string day(int fromNow) { return DayFromNow(fromNow); }
};

TEST_F(LoopTest, FramesRunOldestFirstAcrossMidnightAndPauseSelectsTheFrameShown) {
    dir.addTerm("S1", day(-1), 23, 40, {1});
    dir.addTerm("S1", day(-1), 23, 50, {1});
    dir.addTerm("S1", day(0), 0, 0, {1});
    dir.addTerm("S1", day(0), 0, 10, {1});
    start();
    play(3);
    EXPECT_TRUE(loop().running());
    EXPECT_EQ(shown(), day(-1) + " 23.50 -");
    loop().nextFrame();
    EXPECT_EQ(shown(), day(0) + " 00.00 00.00");
    loop().nextFrame();
    loop().nextFrame();
    EXPECT_EQ(shown(), day(-1) + " 23.50 -");
    loop().pause();
    EXPECT_FALSE(loop().running());
    EXPECT_EQ(shown(), day(-1) + " 23.50 23.50");
    EXPECT_EQ(DayNameOf(state().currentDate), day(-1));
}

TEST_F(LoopTest, AnUpdateAppendsTheNewTermAndDropsTheOldest) {
    for (int minute : {0, 10, 20}) dir.addTerm("S1", day(0), 9, minute, {1});
    start();
    play(2);
    dir.addTerm("S1", day(0), 9, 30, {1});
    form().Timer1Timer();
    loop().followUpdate();
    ASSERT_EQ(loop().frames().size(), 2);
    EXPECT_EQ(loop().frames().frame(0).termText, "09.20");
    EXPECT_EQ(loop().frames().frame(1).termText, "09.30");
    EXPECT_TRUE(loop().running());
    loop().nextFrame();
    EXPECT_TRUE(loop().running());
}

TEST_F(LoopTest, AnUpdateKeepsTheLoopsLayerAndStillExportsTheWeather) {
    for (int minute : {0, 10}) dir.addTerm("S1", day(0), 9, minute, {1, 2, kLayerWeather});
    start();
    const std::string exported = dir.path() + "/zeb.jpg";
    std::ofstream(exported) << "old";
    form().autoExportPath = exported;
    QListWidget* layers = form().controls().layerListBox;
    layers->setCurrentRow(layers->count() - 1);
    form().layerListBoxClick();
    ASSERT_EQ(state().layerCode, kLayerVil);
    play(2);
    dir.addTerm("S1", day(0), 9, 20, {1, 2, kLayerWeather});
    form().Timer1Timer();
    loop().followUpdate();
    loop().nextFrame();
    EXPECT_TRUE(loop().running());
    EXPECT_EQ(state().layerCode, kLayerVil);
    EXPECT_EQ(loop().frames().layerCode(), kLayerVil);
    EXPECT_EQ(loop().frames().frame(1).termText, "09.20");
    EXPECT_GT(fs::file_size(exported), 3u) << "the weather layer goes out during a loop too";
}

TEST_F(LoopTest, KeysAndStepsStopAtTheNewestTerm) {
    dir.addTerm("S1", day(-1), 23, 50, {1});
    for (int minute : {0, 10}) dir.addTerm("S1", day(0), 9, minute, {1});
    start();
    const std::string newest = day(0) + " 09.10 09.10";
    ASSERT_EQ(shown(), newest);
    const auto press = [&](int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&form(), &event);
    };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"Right", [&] { press(Qt::Key_Right); }},
        {"PgDn", [&] { press(Qt::Key_PageDown); }},
        {"step button", [&] { loop().panel()->stepForwardButton->click(); }},
        {"step from the loop's newest frame", [&] {
             play(3);
             loop().nextFrame();
             loop().nextFrame();
             loop().step(+1);
         }}};
    for (const auto& [name, step] : steps) {
        step();
        EXPECT_EQ(shown(), newest) << name;
        EXPECT_FALSE(loop().running()) << name;
    }
}

TEST_F(LoopTest, AnUndecodableTermIsSkippedAndASiteWithoutDataEndsOnTheMap) {
    dir.addTerm("S1", day(0), 9, 0, {1});
    dir.addRecord("S1", day(0), 9, 10, 1, 1 << 30);
    dir.addTerm("S1", day(0), 9, 20, {1});
    start();
    play(3);
    EXPECT_EQ(state().termText, "09.00");
    loop().nextFrame();
    EXPECT_EQ(state().termText, "09.20");

    form().controls().locListBox->setCurrentRow(1);
    form().locListBoxClick();
    loop().nextFrame();
    EXPECT_FALSE(loop().running());
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(LoopTest, ALayerChangeReachesTheNextFrameAndAChosenTermEndsTheLoop) {
    for (int minute : {0, 10}) dir.addTerm("S1", day(0), 9, minute, {1, 2});
    start();
    play(2);
    form().controls().layerListBox->setCurrentRow(0);
    form().layerListBoxClick();
    loop().nextFrame();
    EXPECT_EQ(loop().frames().layerCode(), 1);
    EXPECT_TRUE(loop().running());

    form().backButtonClick();  // the operator goes elsewhere
    loop().nextFrame();
    EXPECT_FALSE(loop().running());
}

TEST_F(LoopTest, KeysWorkWindowWideFromTheStart) {
    dir.addTerm("S1", day(-1), 22, 0, {1});
    dir.addTerm("S1", day(-1), 23, 50, {1});
    for (int minute : {0, 10}) dir.addTerm("S1", day(0), 9, minute, {1});
    start();
    const struct {
        int key;
        std::string after;
    } steps[] = {
        {Qt::Key_Left, day(0) + " 09.00 09.00"},
        {Qt::Key_Left, day(-1) + " 23.50 23.50"},
        {Qt::Key_Right, day(0) + " 09.00 09.00"},
        {Qt::Key_End, day(0) + " 09.10 09.10"},
        {Qt::Key_Home, day(0) + " 09.00 09.00"},
        {Qt::Key_PageUp, day(-1) + " 22.00 22.00"},
        {Qt::Key_PageDown, day(0) + " 09.00 09.00"},
        {Qt::Key_Right, day(0) + " 09.10 09.10"},
        // Back to now from another day.
        {Qt::Key_PageUp, day(-1) + " 22.00 22.00"},
        {Qt::Key_F5, day(0) + " 09.10 09.10"},
    };
    for (const auto& step : steps) {
        QKeyEvent press(QEvent::KeyPress, step.key, Qt::NoModifier);
        QApplication::sendEvent(&form(), &press);
        EXPECT_EQ(shown(), step.after) << step.key;
    }
    const struct {
        int key;
        int scale;
        bool running;
    } others[] = {{Qt::Key_Plus, 40, false},
                  {Qt::Key_Minus, 50, false},
                  {Qt::Key_Space, 50, true},
                  {Qt::Key_Escape, 50, false}};
    for (const auto& other : others) {
        QKeyEvent press(QEvent::KeyPress, other.key, Qt::NoModifier);
        QApplication::sendEvent(&form(), &press);
        EXPECT_EQ(form().controls().scaleScrollBar->value(), other.scale) << other.key;
        EXPECT_EQ(loop().running(), other.running) << other.key;
    }
}

TEST_F(LoopTest, AFocusedControlKeepsTheKeysItUses) {
    start();
    const struct {
        QWidget* control;
        int key;
        bool uses;
    } rows[] = {
        {form().controls().reviewListBox, Qt::Key_Left, true},
        {form().controls().reviewListBox->viewport(), Qt::Key_End, true},
        {form().controls().reviewListBox, Qt::Key_Space, false},
        {form().controls().scaleScrollBar, Qt::Key_PageUp, true},
        {form().controls().scaleScrollBar, Qt::Key_Plus, false},
        {loop().panel()->fpsSpin, Qt::Key_Minus, true},
        {form().controls().autoCheckBox, Qt::Key_Space, true},
        {&form(), Qt::Key_Left, false},
        {nullptr, Qt::Key_Left, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(WindowKeys::FocusedControlUsesKey(row.control, row.key), row.uses)
            << (row.control ? row.control->metaObject()->className() : "none") << " " << row.key;
    }
}

TEST_F(LoopTest, TheWheelZoomsAboutThePointUnderTheCursor) {
    dir.addTerm("S1", day(0), 9, 0, {1});
    start();
    const QPoint at(area().left + area().width / 4, area().top + area().height / 3);
    const auto lonAt = [&] { return form().viewer().view.XToLon(at.x() - area().left); };
    const auto latAt = [&] { return form().viewer().view.YToLat(at.y() - area().top); };
    const float lon = lonAt(), lat = latAt();
    const auto turn = [&](QPoint where, int delta) {
        QWheelEvent wheel(where, form().mapToGlobal(where), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&form(), &wheel);
    };
    turn(at, 120);
    EXPECT_EQ(form().controls().scaleScrollBar->value(), 40);
    EXPECT_EQ(form().controls().scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 40 км"));
    const float degreesPerPixel = form().viewer().view.lonSpan / static_cast<float>(area().width);
    EXPECT_NEAR(lonAt(), lon, degreesPerPixel);
    EXPECT_NEAR(latAt(), lat, degreesPerPixel);
    turn(at, -60);  // half a notch does nothing yet
    EXPECT_EQ(form().controls().scaleScrollBar->value(), 40);
    turn(QPoint(area().left - 20, area().top + 10), -240);  // beside the picture
    EXPECT_EQ(form().controls().scaleScrollBar->value(), 40);
}

}  // namespace kalvera::navtest

namespace kalvera::navtest {

TEST_F(LoopTest, TheAgeLineIsReadWholeInThePanel) {
    start();
    LoopPanel& panel = *loop().panel();
    for (const char* text : {"22.10, 4 мин назад", "07.12 23.30, нет данных 23 ч 59 мин",
                             "07.12 23.30, 23 ч 59 мин назад"}) {
        panel.showAge(QString::fromUtf8(text), true);
        EXPECT_LE(QFontMetrics(panel.ageLabel->font()).horizontalAdvance(panel.ageLabel->text()),
                  panel.ageLabel->width())
            << text;
    }
}

}  // namespace kalvera::navtest

namespace kalvera::navtest {

TEST_F(LoopTest, AnAnimationIsWrittenWhileTheWindowGoesOn) {
    for (int minute : {0, 10, 20}) dir.addTerm("S1", day(0), 9, minute, {1});
    start();
    const std::string gif = dir.path() + "/loop.gif";
    dialogs.saveFile = QString::fromStdString(gif);
    loop().saveAnimation();
    EXPECT_FALSE(loop().panel()->saveAnimationButton->isEnabled());
    for (int i = 0; i < 1000 && loop().savingAnimation(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    ASSERT_FALSE(loop().savingAnimation());
    EXPECT_TRUE(loop().panel()->saveAnimationButton->isEnabled());
    EXPECT_EQ(testing::ReadWholeFile(gif).substr(0, 6), "GIF89a");
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.saveFile = QString::fromStdString(dir.path() + "/no/such/loop.gif");
    loop().saveAnimation();
    for (int i = 0; i < 1000 && loop().savingAnimation(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("Не удалось сохранить файл")));
}

}  // namespace kalvera::navtest
