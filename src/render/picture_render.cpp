#include "render/picture_render.h"

#include "archive/day_archive.h"
#include "products/layer_units.h"
#include "products/term_layers.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/map_background.h"
#include "render/mosaic_picture.h"

namespace kalvera {

namespace {

constexpr int kPictureRimWidth = 2;

CellPaint PaintOf(const ViewerState& viewer) {
    const DisplayState& d = viewer.display;
    const ColourChoice& colours = viewer.config.colours;
    return {d.layerCode, d.filterThreshold, &viewer.config.palette,
            TableForLayer(colours, d.layerCode), colours.cellOpacity};
}

// Cells seen through the map are blended over the map itself: the cell
// bitmap starts as a copy of it. Opaque cells start on white and are ANDed
// over the map later, so that outlines show through them.
void StartPictureLayer(ViewerState& viewer) {
    viewer.pictureOnMap = viewer.config.colours.cellOpacity < 100 &&
                          viewer.MapLayer.image.size() == viewer.PictureLayer.image.size();
    if (viewer.pictureOnMap) {
        // Pixel for pixel, whatever ratio either bitmap carries just now.
        QImage map = viewer.MapLayer.image;
        map.setDevicePixelRatio(viewer.PictureLayer.image.devicePixelRatio());
        QPainter painter(&viewer.PictureLayer.image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), map);
    }
}

// The blue rim of the cell bitmap. Over the map it must not fill the square
// with the brush, which on white is the background anyway.
void DrawPictureRim(Canvas& canvas, int side, int width, bool onMap) {
    const BrushStyle brush = canvas.state().brushStyle;
    if (onMap) canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setPenWidth(width);
    canvas.setPenColor(kBlue);
    canvas.rectangle(0, 0, side, side);
    canvas.setBrushStyle(brush);
}

// The cells of a high-density bitmap, drawn in its device pixels: every cell
// edge is projected onto the device pixel grid itself, so that neighbouring
// cells meet exactly at any ratio (1.25 and 1.5 included) and no cell pixel
// is a blend. Rims are as wide as the ratio makes them.
void DrawDeviceCells(ViewerState& viewer, const RadarGrid& grid) {
    const DisplayState& d = viewer.display;
    QImage& image = viewer.PictureLayer.image;
    const double ratio = image.devicePixelRatio();
    const int side = image.width();
    LayerStyle style = LayerStyle::Screen();
    style.cellRimWidth = DevicePixels(style.cellRimWidth, ratio);
    image.setDevicePixelRatio(1.0);
    StartPictureLayer(viewer);
    {
        Canvas canvas(image, viewer.PictureLayer.state);
        DrawPictureRim(canvas, side, DevicePixels(kPictureRimWidth, ratio), viewer.pictureOnMap);
        const Viewport square = Viewport::Square(side, d.viewLon, d.viewLat, d.viewHalfExtentKm);
        // Cells without data (forecast inflow, imported gaps) are drawn in the
        // no-data style by DrawCells itself.
        DrawCells(canvas, square, style, grid, viewer.picture, PaintOf(viewer));
    }
    image.setDevicePixelRatio(ratio);
}
}  // namespace

int32_t DrawPictureLayer(ViewerState& viewer) {
    const DisplayState& d = viewer.display;
    const int side = viewer.side();
    const RadarGrid grid = RadarGrid::AroundSite(d.siteLon, d.siteLat);
    if (viewer.PictureLayer.ratio() != 1.0) {
        DrawDeviceCells(viewer, grid);
        return HighestValue(viewer.picture);
    }
    StartPictureLayer(viewer);
    Canvas canvas(viewer.PictureLayer.image, viewer.PictureLayer.state);
    DrawPictureRim(canvas, side, kPictureRimWidth, viewer.pictureOnMap);
    DrawCells(canvas, Viewport::Of(viewer.view), LayerStyle::Screen(), grid, viewer.picture,
              PaintOf(viewer));
    return HighestValue(viewer.picture);
}

bool RenderPicture(ViewerState& viewer) {
    DisplayState& d = viewer.display;
    if (!viewer.decoder || !LoadLayerPicture(d, viewer.picture, viewer.decoder)) return false;
    viewer.pictureDrawn = true;
    viewer.pictureMarksNoData = false;
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

    UpdateMapBackground(viewer);
    viewer.gridMaximum = DrawPictureLayer(viewer);
    ComposePicture(viewer);
    DrawLegend(viewer, viewer.WindowDC);
}

namespace {

bool AllAtRatioOne(const ViewerState& viewer) {
    return viewer.MapLayer.ratio() == 1.0 && viewer.PictureLayer.ratio() == 1.0 &&
           viewer.LegendLayer.ratio() == 1.0 && viewer.WindowDC.image.devicePixelRatio() == 1.0;
}

// The map bitmap as `drawn` says it was last drawn: its view and the pens
// it started with.
void RedrawMap(ViewerState& viewer, const MapBackgroundStamp& drawn) {
    if (!drawn.drawn) return;
    DisplayState view = viewer.display;
    view.viewLat = drawn.viewLat;
    view.viewLon = drawn.viewLon;
    view.viewHalfExtentKm = drawn.halfExtentKm;
    viewer.MapLayer.state = drawn.pens;
    MapProjection unused;
    DrawMapBackground(viewer.MapLayer, view, viewer.config.startDir, unused, viewer.mapCache);
}

}  // namespace

const ViewerState& DrawnForExport(const ViewerState& viewer,
                                  std::unique_ptr<ViewerState>& redrawn) {
    if (AllAtRatioOne(viewer)) return viewer;
    redrawn = std::make_unique<ViewerState>();
    ViewerState& v = *redrawn;
    v.config = viewer.config;
    v.display = viewer.display;
    v.picture = viewer.picture;
    v.view = viewer.view;
    v.layout = viewer.layout;
    v.windowColor = viewer.windowColor;
    v.gridMaximum = viewer.gridMaximum;
    v.pictureDrawn = viewer.pictureDrawn;
    v.pictureMarksNoData = viewer.pictureMarksNoData;
    v.decoder = viewer.decoder;
    // The map files are parsed once per run, not once per export.
    v.mapCache = viewer.mapCache;
    v.PictureLayer.state = viewer.PictureLayer.state;
    v.LegendLayer.state = viewer.LegendLayer.state;
    v.WindowDC.state = viewer.WindowDC.state;
    const int side = viewer.side();
    v.MapLayer.setSize(side, side);
    v.PictureLayer.setSize(side, side);
    v.WindowDC.setSize(viewer.WindowDC.width(), viewer.WindowDC.height(), viewer.windowColor);
    RedrawMap(v, viewer.mapDrawnFor);
    if (v.pictureDrawn) DrawPictureLayer(v);
    ComposePicture(v);
    DrawLegend(v, v.WindowDC);
    return v;
}

void ComposeLayers(QImage& dest, int left, int top, const ViewerState& viewer) {
    const LayoutRect& area = viewer.layout.picture;
    BitBlt(dest, left, top, area.width, area.height, viewer.MapLayer.image, 0, 0,
           RasterOp::SrcCopy);
    BitBlt(dest, left, top, area.width, area.height, viewer.PictureLayer.image, 0, 0,
           viewer.pictureOnMap ? RasterOp::SrcCopy : RasterOp::SrcAnd);
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
    viewer.LegendLayer.setSize(w, h, viewer.deviceRatio);
    {
        Canvas canvas(viewer.LegendLayer.image, viewer.LegendLayer.state);
        const ColourTable* table = TableForLayer(viewer.config.colours, layer);
        DrawLegendBoxes(canvas, 0, 0, w, h, viewer.config.palette, layer, viewer.onScreen, table);
        // An export's legend is cut at the picture's bottom edge, so the note
        // goes at the top, where every copy of the legend has it.
        DrawOpacityNote(canvas, 0, 0, w, h,
                        static_cast<int>(LegendBoxesOf(viewer.config.palette, layer, table).size()),
                        viewer.config.colours.cellOpacity, viewer.onScreen);
    }
    WriteHeaderCell(viewer, 1, LayerTitle(layer));
    BitBlt(dc.image, area.left, area.top, w, h, viewer.LegendLayer.image, 0, 0, RasterOp::SrcCopy);
    dc.changed(area.left, area.top, w, h);
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

void ForgetPicture(ViewerState& viewer) {
    viewer.picture.values.fill(0);
    viewer.PictureLayer.image.fill(Qt::white);
    viewer.pictureOnMap = false;
    viewer.display.termText.clear();
    viewer.display.messageOffset = -1;
    viewer.pictureDrawn = false;
    viewer.pictureMarksNoData = false;
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
