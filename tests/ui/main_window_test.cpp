// The main window: geometry, controls, repainting, the wiring of its events
// and its start and end.

#include <QElapsedTimer>
#include <QMouseEvent>

#include "render/canvas.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, Screen768HighGivesAWindow738HighAtTheTopCentred) {
    start(768);
    TForm1& f = form();
    ASSERT_TRUE(f.started());
    EXPECT_EQ(QRect(f.pos(), f.size()),
              QRect((1280 - 1004) / 2, 0, 10 + 186 + 698 + 100 + 10, 738));
    EXPECT_EQ(Rect(area()), QRect(186, 30, 698, 698));
    EXPECT_EQ(f.viewer().MapLayer.image.size(), QSize(698, 698));
    EXPECT_EQ(f.viewer().PictureLayer.image.size(), QSize(698, 698));
    EXPECT_EQ(f.viewer().WindowDC.image.size(), f.size());
    f.resize(500, 400);  // a later resize leaves the picture and legend where they are
    EXPECT_EQ(f.height(), 738);
    EXPECT_EQ(Rect(area()), QRect(186, 30, 698, 698));
    EXPECT_EQ(Rect(f.viewer().layout.legend), QRect(186 + 698 + 10, 0, 100, 698 + 30));
}

TEST_F(MainWindowTest, OnceFramedTheWholeWindowIsTheScreenLess30AndThePictureFollows) {
    dir.addTerm("S1", DayFromNow(0), 10, 0, {1}, 30);
    start(768, true);
    TForm1& f = form();
    f.show();
    QElapsedTimer waited;
    waited.start();
    while (f.frameGeometry().height() == f.height() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_GT(f.frameGeometry().height(), f.height()) << "no frame came";
    EXPECT_EQ(f.frameGeometry().top(), 0);
    EXPECT_EQ(f.frameGeometry().height(), 738);
    const int side = f.height() - 40;
    EXPECT_EQ(Rect(area()), QRect(186, 30, side, side));
    EXPECT_EQ(f.width(), 186 + side + 10 + 100 + 10);
    EXPECT_EQ(f.viewer().WindowDC.image.size(), f.size());
    EXPECT_EQ(f.viewer().MapLayer.image.size(), QSize(side, side));
    // The grid in hand is drawn at the new size, without a second decode.
    const QPoint centre = Rect(area()).center() + QPoint(3, 3);
    EXPECT_NE(PixelAt(f.viewer().WindowDC.image, centre.x(), centre.y()), kWhite);
    EXPECT_EQ(decodes, 1);
    f.hide();
}

TEST_F(MainWindowTest, ControlsStandWhereTheFormPutsThemInItsTabOrder) {
    start();
    TForm1& f = form();
    const struct {
        QWidget* widget;
        QRect place;  // the width is a least width: fonts may widen a control
        const char* caption = nullptr;
        const char* hint = nullptr;
    } controls[] = {
        {f.backButton, {5, 10, 23, 25}, "<<", "День назад"},
        {f.dateStaticText, {45, 10, 92, 21}, nullptr, "Выбор даты"},
        {f.forwardButton, {154, 10, 23, 22}, ">>", "День вперед"},
        {f.autoCheckBox, {32, 40, 113, 17}, "Автообновление"},
        {f.StaticText2, {78, 60, 29, 17}, "Срок"},
        {f.reviewListBox, {6, 81, 170, 202}},
        {f.layerLabel, {59, 288, 25, 13}},
        {f.layerListBox, {5, 305, 170, 32}},
        {f.filterLabel, {66, 356, 40, 13}},
        {f.filterminLabel, {8, 360, 6, 13}, "0"},
        {f.filtermaxLabel, {161, 354, 6, 13}},
        {f.filterScrollBar, {6, 377, 170, 17}},
        {f.scaleLabel, {18, 403, 82, 13}},
        {f.scaleScrollBar, {6, 426, 170, 17}},
        {f.locListBox, {8, 456, 169, 105}},
        {f.printButton, {8, 582, 33, 33}, nullptr, "Печать"},
        {f.saveButton, {145, 583, 33, 33}, nullptr, "Сохранить"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        EXPECT_EQ(c.widget->pos(), c.place.topLeft());
        EXPECT_GE(c.widget->width(), c.place.width());
        EXPECT_EQ(c.widget->height(), c.place.height());
        EXPECT_EQ(c.caption ? c.widget->property("text").toString() : QString(),
                  QString::fromUtf8(c.caption));
        EXPECT_EQ(c.hint ? c.widget->toolTip() : QString(), QString::fromUtf8(c.hint));
    }
    EXPECT_EQ(f.windowTitle(), QStringLiteral("КАЛВЕРА"));
    EXPECT_TRUE(f.dateStaticText->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(f.autoCheckBox->isChecked());
    const QScrollBar& filter = *f.filterScrollBar;
    const QScrollBar& scale = *f.scaleScrollBar;
    EXPECT_EQ(
        std::vector<int>({filter.minimum(), filter.singleStep(), scale.minimum(), scale.maximum(),
                          scale.value(), scale.singleStep(), scale.pageStep()}),
        std::vector<int>({0, 1, 10, 100, 50, 10, 10}));
    EXPECT_EQ(f.locListBox->visualItemRect(f.locListBox->item(0)).height(), 13);
    EXPECT_FALSE(f.printButton->icon().isNull() || f.saveButton->icon().isNull());

    EXPECT_EQ(
        f.tabOrder(),
        (std::vector<QWidget*>{f.reviewListBox, f.dateStaticText, f.StaticText2, f.autoCheckBox,
                               f.filterScrollBar, f.scaleScrollBar, f.layerListBox, f.locListBox}));
    // The static texts take no focus: Tab passes over them.
    EXPECT_EQ(f.nextInTabOrder(f.reviewListBox), f.autoCheckBox);
    EXPECT_EQ(f.nextInTabOrder(f.autoCheckBox), f.filterScrollBar);
    EXPECT_EQ(f.nextInTabOrder(f.autoCheckBox, false), f.reviewListBox);
    EXPECT_EQ(f.nextInTabOrder(f.locListBox->viewport()), f.reviewListBox);
}

TEST_F(MainWindowTest, CoveringAndUncoveringRestoresWithoutANewDecode) {
    std::ofstream(dir.path() + "/res/punkt.txt") << "Moscow 55.75 37.62\n";
    dir.addTerm("S1", DayFromNow(0), 10, 0, {1}, 30);
    start();
    const QImage shown = form().viewer().WindowDC.image.copy();
    const QRect picture = Rect(area());
    EXPECT_NE(PixelAt(shown, picture.center().x() + 3, picture.center().y() + 3), kWhite);

    form().viewer().WindowDC.image.fill(Qt::black);
    form().show();
    QCoreApplication::processEvents();
    form().repaint();  // as the window system asks when the window comes back into view
    EXPECT_EQ(decodes, 1);
    for (const QRect part : {picture, Rect(form().viewer().layout.legend)})
        EXPECT_EQ(form().viewer().WindowDC.image.copy(part), shown.copy(part));
    form().hide();
}

TEST_F(MainWindowTest, DoubleClickOnTheLegendReachesItsHandler) {
    start();
    dialogs.colour = 0x123456;
    const QPoint top(form().viewer().layout.legend.left + 50, 5);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(top), QPointF(form().mapToGlobal(top)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&form(), &event);
    }
    EXPECT_EQ(dialogs.colourCalls, 1);
    EXPECT_EQ(form().viewer().config.palette[19], 0x123456u);
}

TEST_F(MainWindowTest, DestroyFreesTheBitmapsOnce) {
    start();
    ViewerState& v = form().viewer();
    form().FormDestroy();
    EXPECT_TRUE(v.MapLayer.image.isNull() && v.PictureLayer.image.isNull() &&
                v.LegendLayer.image.isNull() && v.WindowDC.image.isNull());
    EXPECT_FALSE(form().Timer1->isActive());
    form().FormDestroy();  // and again at destruction: nothing left to free
    form().FormPaint();    // a late paint draws on nothing and does not fault
}

TEST_F(MainWindowTest, MissingSettingsStopsTheStartWithAReason) {
    fs::remove(dir.path() + "/settings");
    start();
    EXPECT_FALSE(form().started() || form().startError().empty() || form().Timer1->isActive());
}

}  // namespace kalvera::navtest
