#pragma once
// Everything that lives from start-up to shutdown: configuration, what is
// shown, the value grid, the view projection, the window geometry and the
// three off-screen bitmaps with the window's backing image. The main window
// owns one instance and hands it by reference to the renderer and the output.

#include <QImage>
#include <cstdint>
#include <functional>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "geo/app_config.h"
#include "geo/map_projection.h"
#include "geo/map_resources.h"
#include "render/canvas.h"
#include "render/layout_rect.h"

namespace kalvera {

struct PictureLayout {
    LayoutRect header;   // top 0, left X0, W x 30
    LayoutRect picture;  // top 30, left X0, W x H (square)
    LayoutRect legend;   // top 0, left X0 + W + 10, 100 x (H + 30)
};

constexpr int kLayoutMargin = 10;
constexpr int kHeaderHeight = 3 * kLayoutMargin;
constexpr int kLegendWidth = 100;

// Geometry from the right edge of the filter bar and the client height; the
// picture side is the client height less 40.
PictureLayout ComputePictureLayout(int filterBarRight, int clientHeight);
// Outer width of the window that holds that geometry.
int WindowWidthFor(const PictureLayout& layout);

// An off-screen bitmap with the pen and brush it keeps between drawings.
struct BitmapLayer {
    QImage image;
    CanvasState state;
    // Resizes to w x h logical pixels at `ratio` device pixels to the pixel
    // (RGB32, carrying the ratio); the content becomes white when the size
    // changes.
    void setSize(int w, int h, double ratio = 1.0);
    // Logical size; the image holds `ratio()` times as many device pixels.
    int width() const;
    int height() const;
    double ratio() const { return image.isNull() ? 1.0 : image.devicePixelRatio(); }
};

// The window's device context: a backing image of the client area. Drawing on
// the window draws here and asks the window to show the changed rectangle.
struct WindowSurface {
    QImage image;
    CanvasState state;
    // Set by the window: schedules a repaint of the rectangle (x, y, w, h).
    std::function<void(int, int, int, int)> invalidate;
    // Client size in logical pixels at `ratio`; the content is kept where it
    // fits, the rest gets `fill`.
    void setSize(int w, int h, uint32_t fill, double ratio = 1.0);
    // Logical client size.
    int width() const;
    int height() const;
    void changed(int x, int y, int w, int h) const {
        if (invalidate) invalidate(x, y, w, h);
    }
};

// Reads the message at an offset of state.basePath into the grid. The
// program decodes with loadPicture; tests count or fake decodes through it.
using PictureDecoder = std::function<bool(int32_t, RadarPicture&, DisplayState&)>;

// What the map bitmap was last drawn from: the view, the bitmap's side, the
// pens it started with and the resource files as read. The same again gives
// the same pixels, so a frame of a loop draws only its cells.
struct MapBackgroundStamp {
    bool drawn = false;
    float viewLat = 0.0f;
    float viewLon = 0.0f;
    float halfExtentKm = 0.0f;
    int side = 0;
    CanvasState pens;
    int resourceReads = 0;
    double ratio = 1.0;  // device pixels to the pixel
    bool operator==(const MapBackgroundStamp&) const = default;
};

struct ViewerState {
    ViewerState();

    AppConfig config;
    DisplayState display;
    RadarPicture picture;
    MapProjection view;  // the long-lived view projection of the last render
    PictureLayout layout;
    BitmapLayer MapLayer;
    BitmapLayer PictureLayer;
    BitmapLayer LegendLayer;
    WindowSurface WindowDC;
    // Device pixels to the pixel of the screen the window is on: the four
    // bitmaps above are made at it, so that the screen shows them without
    // scaling. Layout, view, readout and pan stay in logical pixels, and
    // exports never take this: they draw again at 1 (DrawnForExport).
    double deviceRatio = 1.0;

    // The system's window colour, with which a header cell's frame is cleared.
    uint32_t windowColor = kWhite;
    // Highest cell value (negatives as 0) of the last successful render: the
    // filter bar's maximum.
    int32_t gridMaximum = 0;
    // Whether the grid holds a picture of the site shown: set by a successful
    // render, cleared when the site's picture is dropped.
    bool pictureDrawn = false;
    // The picture's kOutsideGrid cells are no data (a forecast frame's
    // inflow edge) and read out as such; the cell layer draws every such
    // cell in the no-data style anyway. An observation's picture leaves it false.
    bool pictureMarksNoData = false;
    // The cell bitmap holds the map with the cells blended over it (cells
    // below full opacity): it is then copied, not ANDed, over the map.
    bool pictureOnMap = false;
    PictureDecoder decoder;
    // The window's own viewer: its legend labels are smoothed for reading.
    // Every other viewer draws for a file, in whole pixels of exact colours.
    bool onScreen = false;
    MapResourceCache mapCache;
    MapBackgroundStamp mapDrawnFor;

    int side() const { return layout.picture.width; }
    // The point of the map under window position (x, y), through the view
    // of the last render.
    GeoPoint pointAt(int x, int y) const {
        return {view.YToLat(static_cast<float>(y - layout.picture.top)),
                view.XToLon(static_cast<float>(x - layout.picture.left))};
    }
};

}  // namespace kalvera
