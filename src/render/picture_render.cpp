#include "render/picture_render.h"

#include <algorithm>
#include <array>

#include "archive/day_archive.h"
#include "geo/map_background.h"
#include "render/legend_tables.h"
#include "render/pixel_math.h"

namespace kalvera {

int ColourEntry(int layerCode, int32_t value) {
    const int32_t v = std::max<int32_t>(value, 0);
    if (layerCode == kLayerWeather) return std::min<int32_t>(v, kPaletteEntries - 1);
    if (layerCode == kLayerEchoTops) return std::min<int32_t>(v / 1000, kLegendBoxes);
    return std::clamp<int32_t>(v / 10, 0, kLegendBoxes - 1) + 1;
}

namespace {

// Screen edges of the grid's columns (west to east) and rows (south to north):
// each cell edge goes through the view projection once.
struct CellEdges {
    std::array<int, kGridSide + 1> x{};
    std::array<int, kGridSide + 1> y{};
};

CellEdges EdgesOf(const MapProjection& grid, const MapProjection& view) {
    const float cellLon = grid.lonSpan / static_cast<float>(kGridSide);
    const float cellLat = grid.latSpan / static_cast<float>(kGridSide);
    CellEdges edges;
    for (int k = 0; k <= kGridSide; ++k) {
        edges.x[static_cast<size_t>(k)] =
            TruncPixel(view.LonToX(grid.lonMin + static_cast<float>(k) * cellLon));
        edges.y[static_cast<size_t>(k)] =
            TruncPixel(view.LatToY(grid.latMin + static_cast<float>(k) * cellLat));
    }
    return edges;
}

// Cells above the threshold in their palette colours, on white with a blue
// frame. Returns the highest value, negatives counted as 0.
int32_t DrawCells(ViewerState& viewer) {
    const DisplayState& d = viewer.display;
    const int side = viewer.side();
    const MapProjection grid =
        MapProjection::Init(static_cast<float>(side), static_cast<float>(side), d.siteLon,
                            d.siteLat, kGridHalfExtentKm);
    const CellEdges edges = EdgesOf(grid, viewer.view);
    const Palette& palette = viewer.config.palette;

    Canvas canvas(viewer.PictureLayer.image, viewer.PictureLayer.state);
    canvas.setPenWidth(2);
    canvas.setPenColor(kBlue);
    canvas.rectangle(0, 0, side, side);

    int32_t maximum = -1;
    for (int i = 0; i < kGridSide; ++i) {
        for (int j = 0; j < kGridSide; ++j) {
            const int32_t raw = viewer.picture.values[static_cast<size_t>(i * kGridSide + j)];
            maximum = std::max(maximum, std::max<int32_t>(raw, 0));
            if (raw <= d.filterThreshold) continue;
            const uint32_t colour = palette[static_cast<size_t>(ColourEntry(d.layerCode, raw))];
            canvas.setBrushColor(colour);
            canvas.setPenColor(colour);
            canvas.rectangle(edges.x[static_cast<size_t>(j)], edges.y[static_cast<size_t>(i)],
                             edges.x[static_cast<size_t>(j + 1)],
                             edges.y[static_cast<size_t>(i + 1)]);
        }
    }
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kBlack);
    return maximum;
}

}  // namespace

bool RenderPicture(ViewerState& viewer) {
    DisplayState& d = viewer.display;
    d.messageOffset = FindMessageOffset(d.indexPath, d.termText, d.layerCode);
    if (!viewer.decoder || !viewer.decoder(d.messageOffset, viewer.picture, d)) return false;
    DrawDecodedPicture(viewer);
    return true;
}

void DrawDecodedPicture(ViewerState& viewer) {
    DisplayState& d = viewer.display;
    const auto side = static_cast<float>(viewer.side());
    viewer.view = MapProjection::Init(side, side, d.viewLon, d.viewLat, d.viewHalfExtentKm);
    d.viewLonMin = viewer.view.lonMin;
    d.viewLonMax = viewer.view.lonMax;
    d.viewLatMin = viewer.view.latMin;
    d.viewLatMax = viewer.view.latMax;
    d.gridRows = kGridSide;
    d.gridCols = kGridSide;

    DrawMapBackground(viewer.MapLayer, d, viewer.config.startDir, viewer.view, viewer.mapCache);
    viewer.gridMaximum = DrawCells(viewer);
    ComposePicture(viewer);
    DrawLegend(viewer, viewer.WindowDC);
}

void ComposeLayers(QImage& dest, int left, int top, const ViewerState& viewer) {
    const LayoutRect& area = viewer.layout.picture;
    BitBlt(dest, left, top, area.width, area.height, viewer.MapLayer.image, 0, 0,
           RasterOp::SrcCopy);
    BitBlt(dest, left, top, area.width, area.height, viewer.PictureLayer.image, 0, 0,
           RasterOp::SrcAnd);
}

void ComposePicture(ViewerState& viewer) {
    const LayoutRect& area = viewer.layout.picture;
    ComposeLayers(viewer.WindowDC.image, area.left, area.top, viewer);
    viewer.WindowDC.changed(area.left, area.top, area.width, area.height);
}

void DrawLegend(ViewerState& viewer, WindowSurface& dc) {
    const LayoutRect& area = viewer.layout.legend;
    const int h = area.height;
    const int w = area.width;
    const int layer = viewer.display.layerCode;
    viewer.LegendLayer.setSize(w, h);
    {
        Canvas canvas(viewer.LegendLayer.image, viewer.LegendLayer.state);
        canvas.setPenColor(kBlack);
        canvas.setPenWidth(1);
        for (int k = kLegendBoxes; k >= 1; --k) {
            canvas.setBrushColor(viewer.config.palette[static_cast<size_t>(k)]);
            canvas.rectangle(0, h - (k * h) / kLegendBoxes, w, h - ((k - 1) * h) / kLegendBoxes);
        }
        canvas.setBrushColor(kWhite);
        canvas.setBrushStyle(BrushStyle::Clear);
        const int x = layer == kLayerWeather ? 2 : 10;
        for (int k = kLegendBoxes; k >= 1; --k) {
            canvas.textOut(x, h - (k * h) / kLegendBoxes + 3, std::string(LegendLabel(layer, k)));
        }
    }
    WriteHeaderCell(viewer, 1, LayerTitle(layer));
    BitBlt(dc.image, area.left, area.top, w, h, viewer.LegendLayer.image, 0, 0, RasterOp::SrcCopy);
    dc.changed(area.left, area.top, w, h);
}

void DrawHeaderFrame(Canvas& canvas, const LayoutRect& header) {
    const int l = header.left, t = header.top, w = header.width, h = header.height;
    canvas.rectangle(l, t, l + w, t + h);
    canvas.moveTo(l, t + h / 2);
    canvas.lineTo(l + w, t + h / 2);
    const int cw = w / kHeaderColumns;
    for (int k = 0; k < kHeaderColumns; ++k) {
        const std::string title(HeaderTitles()[static_cast<size_t>(k)]);
        canvas.textOut(l + k * cw + (cw - canvas.textWidth(title)) / 2, t + 1, title);
    }
}

void WriteHeaderCell(Canvas& canvas, const LayoutRect& header, int column, const std::string& text,
                     uint32_t windowColor) {
    if (column < 0 || column >= kHeaderColumns) return;
    const int cw = header.width / kHeaderColumns;
    const int l = header.left;
    canvas.setPenColor(windowColor);
    canvas.rectangle(l + column * cw + 1, 16, l + (column + 1) * cw - 1, 29);
    canvas.setPenColor(kBlack);
    canvas.textOut(l + column * cw + (cw - canvas.textWidth(text)) / 2, 16, text);
}

void WriteHeaderCell(ViewerState& viewer, int column, const std::string& text) {
    const LayoutRect& header = viewer.layout.header;
    {
        Canvas canvas(viewer.WindowDC.image, viewer.WindowDC.state);
        WriteHeaderCell(canvas, header, column, text, viewer.windowColor);
    }
    viewer.WindowDC.changed(header.left, header.top, header.width, header.height);
}

void ShowEmptyPicture(ViewerState& viewer) {
    const LayoutRect& area = viewer.layout.picture;
    BitBlt(viewer.WindowDC.image, area.left, area.top, area.width, area.height,
           viewer.MapLayer.image, 0, 0, RasterOp::SrcCopy);
    viewer.WindowDC.changed(area.left, area.top, area.width, area.height);
    WriteHeaderCell(viewer, 0, std::string());
    WriteHeaderCell(viewer, 1, std::string());
}

void RepaintWindow(ViewerState& viewer, bool termListEmpty) {
    if (termListEmpty) {
        ShowEmptyPicture(viewer);
        return;
    }
    const LayoutRect& header = viewer.layout.header;
    {
        Canvas canvas(viewer.WindowDC.image, viewer.WindowDC.state);
        DrawHeaderFrame(canvas, header);
    }
    viewer.WindowDC.changed(header.left, header.top, header.width, header.height);
    WriteHeaderCell(viewer, 0, viewer.display.termText);
    ComposePicture(viewer);
    DrawLegend(viewer, viewer.WindowDC);
}

}  // namespace kalvera
