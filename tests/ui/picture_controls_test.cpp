// Mouse readout, pan, legend colour and the filter, scale and layer controls
// of the main window.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <array>
#include <filesystem>
#include <fstream>

#include "archive/day_archive.h"
#include "render/readout.h"
#include "ui/main_window.h"
#include "ui/navigation_fixture.h"

namespace kalvera {
namespace {

using navtest::DayFromNow;
using navtest::FixtureNow;
using navtest::StartDir;
using navtest::WindowUnderTest;

namespace fs = std::filesystem;

class PictureControlsTest : public ::testing::Test {
  protected:
    PictureControlsTest() : dir("pic", 60, {{"S1", 55.0f, 37.0f}}), clock(FixtureNow()) {
        dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 1, 2, 3}, 30);
    }

    void start(int screenHeight = 768) {
        window = std::make_unique<WindowUnderTest>(dir, clock, screenHeight);
    }
    TForm1& form() { return *window->form; }
    const LayoutRect& area() { return form().viewer().layout.picture; }
    int32_t valueUnderCursor() {
        return GridValueAt(form().viewer().picture, form().display(), form().viewer().side(),
                           form().pointer.cursorLat, form().pointer.cursorLon);
    }
    // Dark pixels of a header value cell: whether some text stands in it.
    int inkInHeaderCell(int column) {
        const LayoutRect& header = form().viewer().layout.header;
        const QImage& image = form().viewer().WindowDC.image;
        const int width = header.width / 7;
        int ink = 0;
        for (int y = 17; y < 29; ++y) {
            for (int x = header.left + column * width + 2;
                 x < header.left + (column + 1) * width - 2; ++x) {
                if (qGray(image.pixel(x, y)) < 100) ++ink;
            }
        }
        return ink;
    }
    void pressKey(QListWidget* list, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(list, &event);
    }

    StartDir dir;
    FixedClock clock;
    std::unique_ptr<WindowUnderTest> window;
};

TEST_F(PictureControlsTest, AtTheViewCentreAzimuthAndRangeAreZero) {
    start();
    const int side = area().width;
    form().FormMouseMove(area().left + side / 2, area().top + side / 2);
    EXPECT_NEAR(form().pointer.cursorLat, 55.0f, 1e-3f);
    EXPECT_NEAR(form().pointer.cursorLon, 37.0f, 1e-3f);
    EXPECT_FLOAT_EQ(form().pointer.cursorRange, 0.0f);
    EXPECT_FLOAT_EQ(form().pointer.cursorAzimuth, 0.0f);
    EXPECT_EQ(valueUnderCursor(), 30);
    for (int column = 2; column <= 6; ++column) EXPECT_GT(inkInHeaderCell(column), 0) << column;
}

TEST_F(PictureControlsTest, OutsideTheRadarSquareTheValueIs65535OrEmptyForWeather) {
    dir.addTerm("S1", DayFromNow(0), 9, 0, {22}, 3);
    start();
    ASSERT_EQ(form().display().layerCode, 22);
    form().layerListBox->setCurrentRow(3);
    form().layerListBoxClick();
    ASSERT_EQ(form().display().layerCode, 3);
    form().scaleScrollBar->setValue(100);  // 800 km across: corners lie off the grid
    form().FormMouseMove(area().left + 2, area().top + 2);
    EXPECT_EQ(valueUnderCursor(), kOutsideGrid);
    EXPECT_GT(form().pointer.cursorRange, 200.0f);
    EXPECT_GT(inkInHeaderCell(2), 0);  // "65535"

    form().layerListBox->setCurrentRow(form().layerListBox->count() - 1);
    form().layerListBoxClick();
    ASSERT_EQ(form().display().layerCode, 22);
    form().FormMouseMove(area().left + 2, area().top + 2);
    EXPECT_EQ(inkInHeaderCell(2), 0);
    EXPECT_GT(inkInHeaderCell(5), 0);
}

TEST_F(PictureControlsTest, TheRightAndBottomEdgesCountAsInside) {
    start();
    const MapProjection& view = form().viewer().view;
    form().FormMouseMove(area().right(), area().bottom());
    EXPECT_NEAR(form().pointer.cursorLat, view.latMin, 1e-4f);
    EXPECT_NEAR(form().pointer.cursorLon, view.lonMax, 1e-4f);
    form().FormMouseMove(area().right() + 1, area().top + 5);
    EXPECT_NEAR(form().pointer.cursorLon, view.lonMax, 1e-4f);
    form().FormMouseMove(area().left - 1, area().top + 5);
    EXPECT_NEAR(form().pointer.cursorLat, view.latMin, 1e-4f);
}

TEST_F(PictureControlsTest, AReleaseInsideAfterAPressOutsidePansToTheLastPressInside) {
    start();
    const int decodes = window->decodes;
    form().FormMouseDown(Qt::LeftButton, 20, 20);
    EXPECT_NE(form().cursor().shape(), Qt::PointingHandCursor);
    form().FormMouseUp(Qt::LeftButton, area().left + 10, area().top + 10);
    EXPECT_FLOAT_EQ(form().display().viewLat, 0.0f);
    EXPECT_FLOAT_EQ(form().display().viewLon, 0.0f);
    EXPECT_EQ(window->decodes, decodes + 1);
}

TEST_F(PictureControlsTest, APressInsideBecomesTheCentreWhereverTheButtonComesUp) {
    start();
    const MapProjection before = form().viewer().view;
    const int x = area().left + area().width / 4;
    const int y = area().top + area().height / 4;
    form().FormMouseDown(Qt::LeftButton, x, y);
    EXPECT_EQ(form().cursor().shape(), Qt::PointingHandCursor);

    // Released outside: no pan, the hand stays.
    const int decodes = window->decodes;
    form().FormMouseUp(Qt::LeftButton, 5, 5);
    EXPECT_EQ(window->decodes, decodes);
    EXPECT_EQ(form().cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FLOAT_EQ(form().display().viewLat, 55.0f);

    form().FormMouseUp(Qt::LeftButton, area().right(), area().bottom());
    EXPECT_NE(form().cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FLOAT_EQ(form().display().viewLat, before.YToLat(static_cast<float>(y - area().top)));
    EXPECT_FLOAT_EQ(form().display().viewLon, before.XToLon(static_cast<float>(x - area().left)));
    EXPECT_FLOAT_EQ(form().viewer().view.lat0, form().display().viewLat);
    // The readout now measures from the new centre.
    form().FormMouseMove(area().left + area().width / 2, area().top + area().height / 2);
    EXPECT_NEAR(form().pointer.cursorRange, 0.0f, 0.01f);
}

TEST_F(PictureControlsTest, LetterKeysInTheLayerListDoNotRedraw) {
    start();
    form().layerListBox->setCurrentRow(1);
    const int decodes = window->decodes;
    pressKey(form().layerListBox, "a");
    pressKey(form().layerListBox, " ");
    EXPECT_EQ(window->decodes, decodes);
    EXPECT_EQ(form().display().layerCode, 3);

    form().layerListBox->setCurrentRow(1);
    pressKey(form().layerListBox, "7");
    EXPECT_EQ(window->decodes, decodes + 1);
    EXPECT_EQ(form().display().layerCode, 1);
    EXPECT_EQ(form().layerLabel->text(), QStringLiteral("Слой =1"));
}

TEST_F(PictureControlsTest, ALayerClickDrawsThatLayer) {
    start();
    const int decodes = window->decodes;
    form().layerListBox->setCurrentRow(2);
    form().layerListBoxClick();
    EXPECT_EQ(form().display().layerCode, 2);
    EXPECT_EQ(form().layerLabel->text(), QStringLiteral("Слой =2"));
    EXPECT_EQ(window->decodes, decodes + 1);
    EXPECT_EQ(form().display().messageOffset,
              FindMessageOffset(form().display().indexPath, "09.00", 2));

    form().layerListBox->clear();
    form().layerListBoxClick();
    EXPECT_EQ(form().display().layerCode, 2);
}

TEST_F(PictureControlsTest, ScaleSetsHalfExtentAndLabel) {
    start();
    form().scaleScrollBar->setValue(10);
    EXPECT_FLOAT_EQ(form().display().viewHalfExtentKm, 40.0f);
    EXPECT_EQ(form().scaleLabel->text(), QStringLiteral("Масштаб: 1 дел = 10 км"));
    form().scaleScrollBar->setValue(100);
    EXPECT_FLOAT_EQ(form().display().viewHalfExtentKm, 400.0f);
    EXPECT_FLOAT_EQ(form().viewer().view.dLat * 2.0f, form().viewer().view.latSpan);
}

TEST_F(PictureControlsTest, FilterSetsThresholdAndLabel) {
    start();
    EXPECT_EQ(form().filterScrollBar->maximum(), 30);
    EXPECT_EQ(form().filtermaxLabel->text(), "30");
    form().filterScrollBar->setValue(12);
    EXPECT_EQ(form().display().filterThreshold, 12);
    EXPECT_EQ(form().filterLabel->text(), QStringLiteral("Фильтр = 12"));
}

std::array<uint32_t, 32> ReadPaletteFile(const std::string& path) {
    std::array<uint32_t, 32> entries{};
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 128> bytes{};
    file.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    EXPECT_EQ(file.gcount(), 128);
    for (int i = 0; i < 32; ++i) {
        entries[i] = bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 |
                     static_cast<uint32_t>(bytes[4 * i + 3]) << 24;
    }
    return entries;
}

TEST_F(PictureControlsTest, ADoubleClickOnTheTopBoxChangesEntry19AndSavesThePalette) {
    start();
    const LayoutRect& legend = form().viewer().layout.legend;
    window->dialogs.colour = 0x00123456u;
    form().FormMouseUp(Qt::LeftButton, legend.left + 5, legend.top + 2);
    form().FormDblClick();
    EXPECT_EQ(window->dialogs.colourCalls, 1);
    EXPECT_EQ(form().viewer().config.palette[19], 0x00123456u);
    const auto saved = ReadPaletteFile(dir.path() + "/res/colors.bin");
    EXPECT_EQ(saved[19], 0x00123456u);
    EXPECT_EQ(saved[0], form().viewer().config.palette[0]);
    EXPECT_TRUE(window->dialogs.messages.empty());
}

TEST_F(PictureControlsTest, ACancelledColourStillRewritesTheUnchangedPalette) {
    start();
    const LayoutRect& legend = form().viewer().layout.legend;
    const Palette before = form().viewer().config.palette;
    form().FormMouseUp(Qt::LeftButton, legend.left + 5, legend.top + legend.height / 2);
    form().FormDblClick();
    EXPECT_EQ(window->dialogs.colourCalls, 1);
    EXPECT_EQ(form().viewer().config.palette, before);
    const auto saved = ReadPaletteFile(dir.path() + "/res/colors.bin");
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), before.begin()));
}

TEST_F(PictureControlsTest, ADoubleClickLeftOfTheLegendDoesNothing) {
    start();
    const LayoutRect& legend = form().viewer().layout.legend;
    form().FormMouseUp(Qt::LeftButton, legend.left - 1, 10);
    form().FormDblClick();
    EXPECT_EQ(window->dialogs.colourCalls, 0);
    EXPECT_FALSE(fs::exists(dir.path() + "/res/colors.bin"));
}

TEST_F(PictureControlsTest, TheRowsBelowTheLastWholeBoxChangeEntryZeroEvenOnASmallLegend) {
    start(300);
    const LayoutRect& legend = form().viewer().layout.legend;
    ASSERT_LT(legend.height, 361);
    window->dialogs.colour = 0x00ABCDEFu;
    form().FormMouseUp(Qt::LeftButton, legend.left + 5, legend.bottom());
    form().FormDblClick();
    EXPECT_EQ(form().viewer().config.palette[0], 0x00ABCDEFu);
}

TEST_F(PictureControlsTest, AnUnwritablePaletteIsReportedAndTheColourStays) {
    start();
    fs::create_directory(dir.path() + "/res/colors.bin");
    const LayoutRect& legend = form().viewer().layout.legend;
    window->dialogs.colour = 0x00FF0000u;
    form().FormMouseUp(Qt::LeftButton, legend.left + 5, legend.top + 2);
    form().FormDblClick();
    EXPECT_EQ(form().viewer().config.palette[19], 0x00FF0000u);
    ASSERT_EQ(window->dialogs.messages.size(), 1u);
    EXPECT_TRUE(window->dialogs.messages[0].contains("res/colors.bin"));
    EXPECT_TRUE(fs::is_directory(dir.path() + "/res/colors.bin"));
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path() + "/res")) ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace kalvera
