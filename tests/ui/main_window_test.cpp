#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/date_time.h"
#include "common/temp_dir.h"
#include "render/map_files.h"
#include "ui/navigation_fixture.h"

namespace kalvera {
namespace {

using navtest::FixtureNow;
using navtest::StartDir;
using navtest::WindowUnderTest;

void ExpectGeometry(QWidget* w, int left, int top, int width, int height) {
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->x(), left) << w->objectName().toStdString();
    EXPECT_EQ(w->y(), top);
    EXPECT_GE(w->width(), width);
    EXPECT_EQ(w->height(), height);
}

// Map files in a fixture's start directory, so that the map is drawn.
void AddMap(const StartDir& dir) {
    const std::string res = dir.path() + "/res/";
    std::ofstream(res + "country.ind", std::ios::binary) << testing::IndexBytes({{3, 0}});
    std::ofstream(res + "country.bin", std::ios::binary)
        << testing::PointBytes({{54.0f, 36.0f}, {55.5f, 37.5f}, {56.0f, 40.0f}});
    std::ofstream(res + "punkt.txt") << "Moscow 55.75 37.62\n";
}

TEST(MainWindowStartUp, Screen768HighGivesAWindow738HighAtTheTopCentred) {
    StartDir dir("geometry", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock, 768);
    TForm1& form = *w.form;
    ASSERT_TRUE(form.started());
    EXPECT_EQ(form.height(), 738);
    EXPECT_EQ(form.y(), 0);
    const PictureLayout& layout = form.viewer().layout;
    EXPECT_EQ(layout.picture.width, 738 - 40);
    EXPECT_EQ(layout.picture.height, layout.picture.width);
    EXPECT_EQ(layout.picture.left, 186);
    EXPECT_EQ(form.width(), 10 + 186 + 698 + 100 + 10);
    EXPECT_EQ(form.x(), (1280 - form.width()) / 2);
    EXPECT_EQ(form.viewer().MapLayer.width(), 698);
    EXPECT_EQ(form.viewer().PictureLayer.height(), 698);
    EXPECT_EQ(form.viewer().WindowDC.image.size(), form.size());
}

TEST(MainWindowStartUp, ResizingLaterKeepsThePictureGeometry) {
    StartDir dir("resize", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock, 768);
    const PictureLayout before = w.form->viewer().layout;
    w.form->resize(500, 400);
    EXPECT_EQ(w.form->viewer().layout.picture.width, before.picture.width);
    EXPECT_EQ(w.form->viewer().layout.legend.left, before.legend.left);
    EXPECT_EQ(w.form->height(), 738);
}

TEST(MainWindowControls, EveryControlStandsWhereTheFormPutsIt) {
    StartDir dir("controls", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("КАЛВЕРА"));
    ExpectGeometry(f.backButton, 5, 10, 23, 25);
    EXPECT_EQ(f.backButton->text(), "<<");
    EXPECT_EQ(f.backButton->toolTip(), QStringLiteral("День назад"));
    ExpectGeometry(f.dateStaticText, 45, 10, 92, 21);
    EXPECT_EQ(f.dateStaticText->toolTip(), QStringLiteral("Выбор даты"));
    EXPECT_TRUE(f.dateStaticText->alignment() & Qt::AlignHCenter);
    ExpectGeometry(f.forwardButton, 154, 10, 23, 22);
    EXPECT_EQ(f.forwardButton->text(), ">>");
    EXPECT_EQ(f.forwardButton->toolTip(), QStringLiteral("День вперед"));
    ExpectGeometry(f.autoCheckBox, 32, 40, 113, 17);
    EXPECT_EQ(f.autoCheckBox->text(), QStringLiteral("Автообновление"));
    EXPECT_TRUE(f.autoCheckBox->isChecked());
    ExpectGeometry(f.StaticText2, 78, 60, 29, 17);
    EXPECT_EQ(f.StaticText2->text(), QStringLiteral("Срок"));
    ExpectGeometry(f.reviewListBox, 6, 81, 170, 202);
    ExpectGeometry(f.layerLabel, 59, 288, 25, 13);
    ExpectGeometry(f.layerListBox, 5, 305, 170, 32);
    ExpectGeometry(f.filterLabel, 66, 356, 40, 13);
    ExpectGeometry(f.filterminLabel, 8, 360, 6, 13);
    EXPECT_EQ(f.filterminLabel->text(), "0");
    ExpectGeometry(f.filtermaxLabel, 161, 354, 6, 13);
    ExpectGeometry(f.filterScrollBar, 6, 377, 170, 17);
    EXPECT_EQ(f.filterScrollBar->minimum(), 0);
    EXPECT_EQ(f.filterScrollBar->singleStep(), 1);
    ExpectGeometry(f.scaleLabel, 18, 403, 82, 13);
    ExpectGeometry(f.scaleScrollBar, 6, 426, 170, 17);
    EXPECT_EQ(f.scaleScrollBar->minimum(), 10);
    EXPECT_EQ(f.scaleScrollBar->maximum(), 100);
    EXPECT_EQ(f.scaleScrollBar->value(), 50);
    EXPECT_EQ(f.scaleScrollBar->singleStep(), 10);
    EXPECT_EQ(f.scaleScrollBar->pageStep(), 10);
    ExpectGeometry(f.locListBox, 8, 456, 169, 105);
    ASSERT_GT(f.locListBox->count(), 0);
    EXPECT_EQ(f.locListBox->visualItemRect(f.locListBox->item(0)).height(), 13);
    ExpectGeometry(f.printButton, 8, 582, 33, 33);
    EXPECT_EQ(f.printButton->toolTip(), QStringLiteral("Печать"));
    EXPECT_FALSE(f.printButton->icon().isNull());
    ExpectGeometry(f.saveButton, 145, 583, 33, 33);
    EXPECT_EQ(f.saveButton->toolTip(), QStringLiteral("Сохранить"));
    EXPECT_FALSE(f.saveButton->icon().isNull());
    EXPECT_EQ(f.SaveDialog1.defaultSuffix, "jpg");
    EXPECT_TRUE(f.SaveDialog1.confirmOverwrite);
}

TEST(MainWindowControls, TabOrderFollowsTheForm) {
    StartDir dir("taborder", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    const std::vector<QWidget*> order = {f.reviewListBox, f.dateStaticText,  f.StaticText2,
                                         f.autoCheckBox,  f.filterScrollBar, f.scaleScrollBar,
                                         f.layerListBox,  f.locListBox};
    EXPECT_EQ(f.tabOrder(), order);
    // The static texts take no focus: Tab passes over them.
    EXPECT_EQ(f.nextInTabOrder(f.reviewListBox), f.autoCheckBox);
    EXPECT_EQ(f.nextInTabOrder(f.autoCheckBox), f.filterScrollBar);
    EXPECT_EQ(f.nextInTabOrder(f.locListBox), f.reviewListBox);
    EXPECT_EQ(f.nextInTabOrder(f.autoCheckBox, false), f.reviewListBox);
    EXPECT_EQ(f.nextInTabOrder(f.locListBox->viewport()), f.reviewListBox);
}

TEST(MainWindowStartUp, SitesDateAndTimerAreSetUp) {
    StartDir dir("startstate", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    ASSERT_EQ(f.locListBox->count(), 1);
    EXPECT_EQ(f.locListBox->currentRow(), 0);
    EXPECT_EQ(f.dateStaticText->text(),
              QLocale::system().toString(QDate(2026, 12, 7), QLocale::ShortFormat));
    EXPECT_EQ(f.Timer1->interval(), 30000);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_FLOAT_EQ(f.display().viewLat, 55.0f);
    EXPECT_FLOAT_EQ(f.display().viewLon, 37.0f);
    EXPECT_EQ(f.display().recentre, 1);
    EXPECT_DOUBLE_EQ(f.display().currentDate, FixtureNow());
}

TEST(MainWindowStartUp, FirstPictureIsDrawnFromTheNewestTerm) {
    StartDir dir("firstpicture", 30, {{"27612", 55.0f, 37.0f}});
    AddMap(dir);
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 0, {1, 2}, 30);
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 10, {1, 2, 3}, 30);
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    EXPECT_EQ(f.display().termText, "10.10");
    EXPECT_EQ(f.display().layerCode, 3);
    EXPECT_EQ(w.decodes, 1);
    EXPECT_EQ(f.filtermaxLabel->text(), "30");
    EXPECT_EQ(f.filterScrollBar->maximum(), 30);
    // The window shows cells at the picture's middle, red-ish from the grey
    // default palette's entry 4, over the map.
    const LayoutRect& pic = f.viewer().layout.picture;
    const uint32_t middle = PixelAt(f.viewer().WindowDC.image, pic.left + pic.width / 2 + 3,
                                    pic.top + pic.height / 2 + 3);
    EXPECT_NE(middle, kWhite);
}

TEST(MainWindowPaint, CoveringAndUncoveringRestoresWithoutANewDecode) {
    StartDir dir("uncover", 30, {{"27612", 55.0f, 37.0f}});
    AddMap(dir);
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 0, {1}, 30);
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    f.FormPaint();
    const QImage shown = f.viewer().WindowDC.image.copy();
    const int decodes = w.decodes;
    ASSERT_EQ(decodes, 1);
    f.viewer().WindowDC.image.fill(Qt::black);
    f.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(f.isVisible());
    f.repaint();  // as the window system asks when the window comes back into view
    EXPECT_EQ(w.decodes, decodes);
    const LayoutRect& pic = f.viewer().layout.picture;
    EXPECT_EQ(f.viewer().WindowDC.image.copy(pic.left, pic.top, pic.width, pic.height),
              shown.copy(pic.left, pic.top, pic.width, pic.height));
    const LayoutRect& leg = f.viewer().layout.legend;
    EXPECT_EQ(f.viewer().WindowDC.image.copy(leg.left, leg.top, leg.width, leg.height),
              shown.copy(leg.left, leg.top, leg.width, leg.height));
    f.hide();
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST(MainWindowEvents, DoubleClickOnTheLegendReachesItsHandler) {
    StartDir dir("dblclick", 30, {{"27612", 55.0f, 37.0f}});
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 0, {1}, 30);
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    w.dialogs.colour = 0x123456;
    const LayoutRect& legend = f.viewer().layout.legend;
    const QPoint top(legend.left + 50, legend.top + 5);
    SendMouse(&f, QEvent::MouseButtonPress, top);
    SendMouse(&f, QEvent::MouseButtonRelease, top);
    SendMouse(&f, QEvent::MouseButtonDblClick, top);
    SendMouse(&f, QEvent::MouseButtonRelease, top);
    EXPECT_EQ(w.dialogs.colourCalls, 1);
    EXPECT_EQ(f.viewer().config.palette[19], 0x123456u);
}

TEST(MainWindowEvents, MouseOverThePictureFillsTheReadoutCells) {
    StartDir dir("mousemove", 30, {{"27612", 55.0f, 37.0f}});
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 0, {1}, 30);
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    const QImage before = f.viewer().WindowDC.image.copy();
    const LayoutRect& pic = f.viewer().layout.picture;
    SendMouse(&f, QEvent::MouseMove, QPoint(pic.left + pic.width / 2, pic.top + pic.height / 2));
    const LayoutRect& head = f.viewer().layout.header;
    const int cw = head.width / 7;
    const QRect readout(head.left + 2 * cw, 16, 5 * cw, 13);
    EXPECT_NE(f.viewer().WindowDC.image.copy(readout), before.copy(readout));
}

TEST(MainWindowEvents, DigitKeyInTheLayerListReachesItsHandler) {
    StartDir dir("layerkey", 30, {{"27612", 55.0f, 37.0f}});
    dir.addTerm("27612", navtest::DayFromNow(0), 10, 0, {1, 2}, 30);
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    TForm1& f = *w.form;
    const int decodes = w.decodes;
    f.layerListBox->setCurrentRow(0);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(f.layerListBox, &letter);
    EXPECT_EQ(w.decodes, decodes);
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    QCoreApplication::sendEvent(f.layerListBox, &digit);
    EXPECT_EQ(w.decodes, decodes + 1);
}

TEST(MainWindowShutdown, DestroyFreesTheBitmapsOnce) {
    StartDir dir("destroy", 30, {{"27612", 55.0f, 37.0f}});
    FixedClock clock(FixtureNow());
    WindowUnderTest w(dir, clock);
    w.form->FormDestroy();
    EXPECT_TRUE(w.form->viewer().MapLayer.image.isNull());
    EXPECT_TRUE(w.form->viewer().PictureLayer.image.isNull());
    EXPECT_TRUE(w.form->viewer().LegendLayer.image.isNull());
    EXPECT_TRUE(w.form->viewer().WindowDC.image.isNull());
    EXPECT_FALSE(w.form->Timer1->isActive());
    w.form->FormDestroy();  // and again at destruction: nothing left to free
    w.form->FormPaint();    // a late paint draws on nothing and does not fault
}

TEST(MainWindowStartUp, MissingSettingsStopsTheStartWithAReason) {
    EnsureApplication();
    testing::TempDir dir;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    navtest::ScriptedDialogs dialogs;
    FixedClock clock(FixtureNow());
    TForm1 form(dialogs, clock, TForm1Options{QSize(1024, 768), {}});
    std::filesystem::current_path(before);
    EXPECT_FALSE(form.started());
    EXPECT_FALSE(form.startError().empty());
    EXPECT_FALSE(form.Timer1->isActive());
}

}  // namespace
}  // namespace kalvera
