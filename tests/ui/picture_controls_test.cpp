// Mouse readout, pan, legend colour and the filter, scale and layer controls
// of the main window.

#include <QKeyEvent>
#include <QMouseEvent>

#include "archive/day_archive.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

class PictureControlsTest : public WindowTest {
  protected:
    PictureControlsTest() { dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 2, 3}, 30); }

    // Which of the header's value cells 2 to 6 hold some text, as "23456".
    std::string inkedHeaderCells() {
        const LayoutRect& header = form().viewer().layout.header;
        const int width = header.width / 7;
        std::string inked;
        for (int column = 2; column <= 6; ++column) {
            int ink = 0;
            for (int y = 17; y < 29; ++y) {
                for (int x = header.left + column * width + 2;
                     x < header.left + (column + 1) * width - 2; ++x) {
                    ink += qGray(form().viewer().WindowDC.image.pixel(x, y)) < 100;
                }
            }
            if (ink > 0) inked += std::to_string(column);
        }
        return inked;
    }
    void selectLayer(int row) {
        form().controls().layerListBox->setCurrentRow(row);
        form().layerListBoxClick();
    }
    void doubleClickAfterReleaseAt(int x, int y) {
        form().FormMouseUp(Qt::LeftButton, x, y);
        form().FormDblClick();
    }
    Palette savedPalette() {
        Palette entries{};
        std::ifstream file(dir.path() + "/res/colors.bin", std::ios::binary);
        file.read(reinterpret_cast<char*>(entries.data()), 128);  // little-endian, as the file
        EXPECT_EQ(file.gcount(), 128);
        return entries;
    }
};

TEST_F(PictureControlsTest, TheReadoutAtTheViewCentreOutsideTheRadarSquareAndOnTheEdges) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {22}, 3);
    start();
    selectLayer(3);
    ASSERT_EQ(inkedHeaderCells(), "");
    const QPoint centre = Rect(area()).center() + QPoint(1, 1);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre), QPointF(form().mapToGlobal(centre)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form(), &move);
    EXPECT_NEAR(form().pointer.cursorLat, 55.0f, 1e-3f);
    EXPECT_NEAR(form().pointer.cursorLon, 37.0f, 1e-3f);
    EXPECT_FLOAT_EQ(form().pointer.cursorRange, 0.0f);
    EXPECT_FLOAT_EQ(form().pointer.cursorAzimuth, 0.0f);
    EXPECT_EQ(inkedHeaderCells(), "23456");

    form().controls().scaleScrollBar->setValue(100);  // 800 km across: corners lie off the grid
    EXPECT_FLOAT_EQ(state().viewHalfExtentKm, 400.0f);
    form().FormMouseMove(area().left + 2, area().top + 2);
    EXPECT_GT(form().pointer.cursorRange, 200.0f);
    EXPECT_EQ(inkedHeaderCells(), "23456");  // "65535" in cell 2
    selectLayer(4);
    form().FormMouseMove(area().left + 2, area().top + 2);
    EXPECT_EQ(inkedHeaderCells(), "3456");  // no weather there

    // The right and bottom edges count as inside, nothing beyond them.
    const MapProjection& view = form().viewer().view;
    form().FormMouseMove(area().right(), area().bottom());
    form().FormMouseMove(area().right() + 1, area().top + 5);
    form().FormMouseMove(area().left + 5, area().bottom() + 1);
    EXPECT_NEAR(form().pointer.cursorLat, view.latMin, 1e-4f);
    EXPECT_NEAR(form().pointer.cursorLon, view.lonMax, 1e-4f);
}

TEST_F(PictureControlsTest, AReleaseInsidePansToTheLastPressInside) {
    start();
    // Before any press inside, the press point is 0, 0.
    form().FormMouseDown(Qt::LeftButton, 20, 20);
    EXPECT_NE(form().cursor().shape(), Qt::PointingHandCursor);
    form().FormMouseUp(Qt::LeftButton, area().left + 10, area().top + 10);
    EXPECT_EQ(QPointF(state().viewLon, state().viewLat), QPointF(0, 0));
    EXPECT_EQ(decodes, 2);

    const MapProjection before = form().viewer().view;
    const int x = area().width / 4, y = area().height / 4;
    form().FormMouseDown(Qt::LeftButton, area().left + x, area().top + y);
    EXPECT_EQ(form().cursor().shape(), Qt::PointingHandCursor);
    form().FormMouseUp(Qt::LeftButton, 5, 5);  // outside: no pan, the hand stays
    EXPECT_EQ(decodes, 2);
    EXPECT_EQ(form().cursor().shape(), Qt::PointingHandCursor);

    form().FormMouseUp(Qt::LeftButton, area().right(), area().bottom());
    EXPECT_NE(form().cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FLOAT_EQ(state().viewLat, before.YToLat(static_cast<float>(y)));
    EXPECT_FLOAT_EQ(state().viewLon, before.XToLon(static_cast<float>(x)));
    // The readout now measures from the new centre.
    form().FormMouseMove(area().left + area().width / 2, area().top + area().height / 2);
    EXPECT_NEAR(form().pointer.cursorRange, 0.0f, 0.01f);
}

TEST_F(PictureControlsTest, LayerScaleAndFilterControlsRedrawWithTheirLabelsButLetterKeysDoNot) {
    start();
    selectLayer(2);
    EXPECT_EQ(form().controls().layerLabel->text(), QStringLiteral("Слой =2"));
    EXPECT_EQ(decodes, 2);
    EXPECT_EQ(state().messageOffset, FindMessageOffset(state().indexPath, "09.00", 2));

    form().controls().layerListBox->setCurrentRow(1);
    for (const char* key : {"a", " ", "7"}) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
        QCoreApplication::sendEvent(form().controls().layerListBox, &event);
    }
    EXPECT_EQ(decodes, 3);  // only the digit, which takes the selected item
    EXPECT_EQ(form().controls().layerLabel->text(), QStringLiteral("Слой =1"));
    form().controls().layerListBox->clear();
    form().layerListBoxClick();
    EXPECT_EQ(state().layerCode, 1);

    form().controls().scaleScrollBar->setValue(10);
    EXPECT_FLOAT_EQ(state().viewHalfExtentKm, 40.0f);
    EXPECT_EQ(form().controls().scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 10 км"));
    EXPECT_EQ(form().controls().filterScrollBar->maximum(), 30);
    EXPECT_EQ(form().controls().filtermaxLabel->text(), "30");
    form().controls().filterScrollBar->setValue(12);
    EXPECT_EQ(state().filterThreshold, 12);
    EXPECT_EQ(form().controls().filterLabel->text(), QStringLiteral("Фильтр = 12"));
    EXPECT_EQ(decodes, 5);
}

TEST_F(PictureControlsTest, ALegendDoubleClickChangesTheEntryOfItsBoxAndSavesThePalette) {
    // Where the release before the double click falls, and the palette entry
    // that takes the chosen colour (-1: no dialog, nothing written).
    const struct {
        const char* name;
        int screenHeight, dx, dy;  // from the legend's top left corner
        bool fromBottom;           // dy from the legend's bottom limit instead
        int entry;
        bool cancel = false;  // the palette is written unchanged
    } rows[] = {{"top box", 768, 0, 0, false, 19},
                {"bottom limit", 768, 5, 0, true, 0},
                {"bottom limit of a small legend", 300, 5, 0, true, 0},
                {"cancelled", 768, 5, 100, false, 17, true},
                {"below the legend", 768, 5, 1, true, -1},
                {"left of the legend", 768, -1, 0, false, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(dir.path() + "/res/colors.bin");
        start(row.screenHeight);
        const LayoutRect& legend = form().viewer().layout.legend;
        Palette expected = form().viewer().config.palette;
        dialogs.colour = row.cancel ? std::nullopt : std::optional<uint32_t>(0x00123456u);
        dialogs.colourCalls = 0;
        doubleClickAfterReleaseAt(legend.left + row.dx,
                                  legend.top + row.dy + (row.fromBottom ? legend.height : 0));
        EXPECT_EQ(dialogs.colourCalls, row.entry < 0 ? 0 : 1);
        EXPECT_EQ(fs::exists(dir.path() + "/res/colors.bin"), row.entry >= 0);
        if (row.entry < 0) continue;
        if (!row.cancel) expected[row.entry] = 0x00123456u;
        EXPECT_EQ(form().viewer().config.palette, expected);
        EXPECT_EQ(savedPalette(), expected);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PictureControlsTest, AnUnwritablePaletteIsReportedAndTheColourStays) {
    start();
    fs::create_directory(dir.path() + "/res/colors.bin");
    dialogs.colour = 0x00FF0000u;
    doubleClickAfterReleaseAt(form().viewer().layout.legend.left + 5, 2);
    EXPECT_EQ(form().viewer().config.palette[19], 0x00FF0000u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains("res/colors.bin"));
    // Nothing replaced the directory, and no temporary file is left behind.
    EXPECT_TRUE(fs::is_directory(dir.path() + "/res/colors.bin"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() + "/res"), fs::directory_iterator()),
              1);
}

TEST_F(PictureControlsTest, RewrittenLabelsShowTheirWholeTextWithinTheColumn) {
    dir.addTerm("S1", DayFromNow(0), 10, 0, {21}, 15000);  // echo tops, in metres
    start();
    form().controls().filterScrollBar->setValue(15000);
    form().controls().scaleScrollBar->setValue(100);
    EXPECT_EQ(form().controls().filtermaxLabel->text(), QStringLiteral("15000"));
    for (const QLabel* label : {form().controls().layerLabel, form().controls().filterLabel,
                                form().controls().scaleLabel, form().controls().filtermaxLabel}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_LE(label->x() + label->width(), area().left);
    }
}

// Layer 2 is listed but its record points far beyond the end of the base file.
class BrokenLayerTest : public WindowTest {
  protected:
    BrokenLayerTest() {
        dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 3}, 30);
        dir.addRecord("S1", DayFromNow(0), 9, 0, 2, 1 << 24);
    }
};

TEST_F(BrokenLayerTest, ADerivedProductIsRefusedWithOneMessageNamingTheLayer) {
    start();
    QListWidget* layers = form().controls().layerListBox;
    ASSERT_EQ(layers->item(layers->count() - 1)->text(), QStringLiteral("VIL"));
    for (int click = 0; click < 2; ++click) {
        layers->setCurrentRow(layers->count() - 1);
        form().layerListBoxClick();
    }
    ASSERT_EQ(dialogs.messages.size(), 1u) << "the same term and product again says nothing new";
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("слоя 2")))
        << dialogs.messages[0].toStdString();
}

}  // namespace kalvera::navtest
