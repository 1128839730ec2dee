// The cell and legend layers drawn through a colour table and an opacity.
#include <gtest/gtest.h>

#include "geo/colour_table.h"
#include "render/cell_layer.h"
#include "render/legend_layer.h"
#include "render/render_support.h"

namespace kalvera {
namespace {

ColourTable TableOf(const std::string& text) {
    ColourTable table;
    std::string error;
    std::vector<std::string> warnings;
    EXPECT_TRUE(ParseColourTable(text, "t.pal", table, error, warnings)) << error;
    return table;
}

// Twelve classes of 5 dBZ from 5, each a colour of its own.
ColourTable TwelveClasses() {
    std::string text = "Units: dBZ\n";
    for (int k = 0; k < 12; ++k) {
        text += "SolidColor: " + std::to_string(5 + 5 * k) + " " + std::to_string(20 * k) + " 90 " +
                std::to_string(250 - 20 * k) + "\n";
    }
    return TableOf(text);
}

int ChannelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift : {0, 8, 16}) {
        gap = std::max(gap, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                     static_cast<int>((b >> shift) & 0xFF)));
    }
    return gap;
}

uint32_t EvenBlend(uint32_t a, uint32_t b) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    }
    return out;
}

TEST(TableLegend, TwelveClassesAreTwelveBoxesUnderTheirBounds) {
    const ColourTable table = TwelveClasses();
    const std::vector<LegendBox> boxes = LegendBoxesOf(Palette{}, 3, &table);
    ASSERT_EQ(boxes.size(), 12u);
    EXPECT_EQ(boxes.front().label, "5-10");
    EXPECT_EQ(boxes[5].label, "30-35");
    EXPECT_EQ(boxes.back().label, ">=60");

    QImage image(100, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    CanvasState state;
    {
        Canvas canvas(image, state);
        DrawLegendBoxes(canvas, 0, 0, 100, 240, Palette{}, 3, false, &table);
    }
    // Box k (from the bottom) is 20 pixels high; its right part holds no text.
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(PixelAt(image, 95, 240 - 20 * k - 10), boxes[static_cast<size_t>(k)].colour) << k;
    }
}

TEST(TableLegend, NineteenClassesKeepTheLayersOwnLabels) {
    std::string text;
    for (int code = 1; code <= 19; ++code)
        text += "SolidColor: " + std::to_string(code) + " 1 2 3\n";
    const ColourTable table = TableOf(text);
    const std::vector<LegendBox> boxes = LegendBoxesOf(Palette{}, kLayerWeather, &table);
    ASSERT_EQ(boxes.size(), 19u);
    EXPECT_EQ(boxes.front().label, "Ci - As");
    EXPECT_EQ(boxes.back().label, "торнадо");
}

TEST(TableLegend, WithoutATableThePaletteBoxesStay) {
    Palette palette{};
    for (uint32_t k = 0; k < palette.size(); ++k) palette[k] = k * 0x010203;
    const std::vector<LegendBox> boxes = LegendBoxesOf(palette, 21, nullptr);
    ASSERT_EQ(boxes.size(), 19u);
    EXPECT_EQ(boxes[0].colour, palette[1]);
    EXPECT_EQ(boxes[18].colour, palette[19]);
    EXPECT_EQ(boxes[18].label, ">=18000");
}

TEST(TableCells, ValuesTakeTheTablesColourInItsUnits) {
    const ColourTable table = TwelveClasses();
    const CellPaint paint{3, 0, nullptr, &table};
    uint32_t colour = 0;
    ASSERT_TRUE(CellColour(paint, 61, colour));  // 30.5 dBZ: the sixth class
    EXPECT_EQ(colour, (Rgba{100, 90, 150, 255}.bgr()));
    EXPECT_FALSE(CellColour(paint, 9, colour));  // 4.5 dBZ, below the first stop
}

// One cell over a white map crossed by a black outline at x = 10.
QImage CellOverOutline(int opacity, uint32_t& cellColour) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    canvas.setPenColor(kBlack);
    canvas.moveTo(10, 0);
    canvas.lineTo(10, 39);
    static const ColourTable table = TableOf("SolidColor: 0 200 100 0\n");
    cellColour = Rgba{200, 100, 0, 255}.bgr();
    RadarPicture values{};
    values.values[0] = 100;
    CellEdges edges;
    edges.x = {0, 30};
    edges.y = {0, 30};
    LayerStyle style = LayerStyle::Screen();
    DrawCellsOnEdges(canvas, edges, style, values, {3, 0, nullptr, &table, opacity});
    return image;
}

TEST(CellOpacity, AtHalfAnOutlineUnderACellIsTheEvenBlend) {
    uint32_t cell = 0;
    const QImage half = CellOverOutline(50, cell);
    EXPECT_LE(ChannelGap(PixelAt(half, 10, 15), EvenBlend(kBlack, cell)), 1);
    EXPECT_LE(ChannelGap(PixelAt(half, 20, 15), EvenBlend(kWhite, cell)), 1);
    // Where rims of neighbouring runs overlap, nothing is blended twice.
    EXPECT_EQ(PixelAt(half, 20, 15), PixelAt(half, 20, 29));
    EXPECT_EQ(PixelAt(half, 35, 35), kWhite);
    const QImage full = CellOverOutline(100, cell);
    EXPECT_EQ(PixelAt(full, 10, 15), cell);
    const QImage none = CellOverOutline(0, cell);
    EXPECT_EQ(PixelAt(none, 10, 15), kBlack);
    EXPECT_EQ(PixelAt(none, 20, 15), kWhite);
}

// The window's picture: the map bitmap with an outline, every cell coloured.
struct WindowPicture {
    ViewerState viewer;
    uint32_t cell = Rgba{200, 100, 0, 255}.bgr();
    ColourTable table = TableOf("SolidColor: 0 200 100 0\n");

    explicit WindowPicture(int opacity) {
        testing::LayOut(viewer, 440);
        const int side = viewer.side();
        viewer.display.siteLat = viewer.display.viewLat = 55.0f;
        viewer.display.siteLon = viewer.display.viewLon = 37.0f;
        viewer.display.viewHalfExtentKm = 150.0f;
        viewer.view = MapProjection::Init(static_cast<float>(side), static_cast<float>(side), 37.0f,
                                          55.0f, 150.0f);
        viewer.MapLayer.image.fill(Qt::white);
        for (int y = 0; y < side; ++y) viewer.MapLayer.image.setPixel(side / 2 + 7, y, 0xFF000000);
        viewer.picture.values.fill(100);
        viewer.config.colours.tables[0] = std::shared_ptr<const ColourTable>(&table, [](auto*) {});
        viewer.config.colours.cellOpacity = opacity;
        DrawPictureLayer(viewer);
    }
    uint32_t at(int x, int y) const {
        QImage out(viewer.side(), viewer.side(), QImage::Format_RGB32);
        ComposeLayers(out, 0, 0, viewer);
        return PixelAt(out, x, y);
    }
};

TEST(CellOpacity, TheWindowBlendsTheCellsOverTheMapAndKeepsTheAndWhenOpaque) {
    const WindowPicture half(50);
    const int mid = half.viewer.side() / 2;
    EXPECT_LE(ChannelGap(half.at(mid + 7, mid), EvenBlend(kBlack, half.cell)), 1);
    EXPECT_LE(ChannelGap(half.at(mid, mid), EvenBlend(kWhite, half.cell)), 1);
    const WindowPicture opaque(100);
    EXPECT_EQ(opaque.at(mid + 7, mid), kBlack);  // the outline shows through, as ever
    EXPECT_EQ(opaque.at(mid, mid), opaque.cell);
}

}  // namespace
}  // namespace kalvera
