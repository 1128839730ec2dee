// Once a site without data is chosen, no redraw brings back anything of the
// site shown before it: every path shows the map alone. A day without data
// shows the map alone at once.

#include "output/picture_export.h"
#include "output/print_page.h"
#include "render/picture_render.h"
#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

constexpr uint32_t kCellColour = 0x0000FF00u;

class NoPictureTest : public WindowTest {
  protected:
    NoPictureTest() : WindowTest({{"S1", 55.0f, 37.0f}, {"S2", 50.0f, 30.0f}}) {
        dir.addTerm("S1", DayFromNow(0), 9, 0, {1, 2}, 40);
        // Without outlines the page would carry only its header lines.
        for (const char* name : {"country.ind", "country.bin"}) {
            fs::copy_file(fs::path(KALVERA_SOURCE_DIR) / "data" / name,
                          fs::path(dir.path()) / "res" / name);
        }
    }
    // S1's cells take a colour that nothing else on the map or in text has.
    void colourTheCells() {
        form().viewer().config.palette[static_cast<size_t>(ColourEntry(2, 40))] = kCellColour;
        form().RenderPicture();
    }
    int cellPixels(const QImage& image) {
        const QRgb cell = ToQColor(kCellColour).rgb();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                count += (line[x] & 0xFFFFFF) == (cell & 0xFFFFFF);
        }
        return count;
    }
    QImage shown() { return form().viewer().WindowDC.image.copy(Rect(area())); }
    QImage printed() {
        QImage page(2480, 3508, QImage::Format_RGB32);
        page.fill(Qt::white);
        PrintPicture(page, form().viewer());
        return page;
    }
    QImage exported() {
        const int side = area().width;
        return ComposeExportImage(form().viewer()).copy(0, kExportHeaderHeight, side, side);
    }
};

TEST_F(NoPictureTest, EveryRedrawAfterASiteWithoutDataShowsTheMapAlone) {
    start();
    colourTheCells();
    ASSERT_GT(cellPixels(shown()), 0);
    ASSERT_GT(cellPixels(printed()), 0);
    const QPoint centre = Rect(area()).center();
    const LayoutRect& legend = form().viewer().layout.legend;
    const struct {
        const char* name;
        std::function<void()> redraw;
        std::function<QImage()> image;
    } rows[] = {
        {"filter", [&] { form().controls().filterScrollBar->setValue(1); },
         [&] { return shown(); }},
        {"scale", [&] { form().controls().scaleScrollBar->setValue(30); }, [&] { return shown(); }},
        {"pan",
         [&] {
             form().FormMouseDown(Qt::LeftButton, centre.x() + 40, centre.y());
             form().FormMouseUp(Qt::LeftButton, centre.x() + 40, centre.y());
         },
         [&] { return shown(); }},
        {"layer",
         [&] {
             form().controls().layerListBox->setCurrentRow(0);
             form().layerListBoxClick();
         },
         [&] { return shown(); }},
        {"legend colour",
         [&] {
             dialogs.colour = 0x00654321u;
             form().FormMouseUp(Qt::LeftButton, legend.left + 5, legend.top + 5);
             form().FormDblClick();
         },
         [&] { return shown(); }},
        {"repaint", [&] { form().FormPaint(); }, [&] { return shown(); }},
        {"automatic export", [&] { form().Timer1Timer(); }, [&] { return exported(); }},
        {"save", [] {}, [&] { return ComposeWindowImage(form().viewer()); }},
        {"print", [] {}, [&] { return printed(); }},
    };

    form().controls().locListBox->setCurrentRow(1);
    form().locListBoxClick();
    ASSERT_EQ(dialogs.messages, std::vector<QString>{QStringLiteral("Не найдена база данных.")});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.redraw();
        EXPECT_EQ(cellPixels(row.image()), 0);
    }
    EXPECT_EQ(state().termText, "");  // no header names S1's term either
}

TEST_F(NoPictureTest, ADayWithoutDataShowsTheMapAloneAtOnce) {
    start();
    colourTheCells();
    const struct {
        const char* name;
        void (TForm1::*click)();
        bool cells;
    } rows[] = {{"forward past today", &TForm1::forwardButtonClick, false},
                {"back to today", &TForm1::backButtonClick, true},
                {"back to a day without files", &TForm1::backButtonClick, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        (form().*row.click)();
        EXPECT_EQ(cellPixels(shown()) > 0, row.cells);
        EXPECT_EQ(cellPixels(printed()) > 0, row.cells);
        EXPECT_EQ(state().termText.empty(), !row.cells);
    }
}

}  // namespace kalvera::navtest
