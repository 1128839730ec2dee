#pragma once
// Composition of the picture, legend and header on the off-screen bitmaps and
// the window's backing image.

#include <array>
#include <cstdint>
#include <string>

#include "common/domain_constants.h"
#include "render/canvas.h"
#include "render/viewer_state.h"

namespace kalvera {

constexpr int kLegendBoxes = 19;
constexpr int kHeaderColumns = 7;
constexpr int kPaletteEntries = 32;

// Palette entry of a cell value on a layer, always within 0..31: weather codes
// index the palette directly (above 31: entry 31), heights take one entry per
// 1000 m up to 19, reflectivity one per 10 units from entry 1 up to 19.
// Negative values are coloured as 0.
int ColourEntry(int layerCode, int32_t value);

// Decodes the message of termText and layerCode and draws it: map background,
// cells above the threshold, composition on the window, legend. False when no
// picture was decoded; the bitmaps and the window are then left as they were.
bool RenderPicture(ViewerState& viewer);
// The same for the grid already in viewer.picture (a loop's frame).
void DrawDecodedPicture(ViewerState& viewer);

// Sizes and draws LegendLayer, writes the layer title into header column 1 and
// copies the legend to the legend area of `dc`.
void DrawLegend(ViewerState& viewer, WindowSurface& dc);

// Frame, middle line and the seven titles of the header strip.
void DrawHeaderFrame(Canvas& canvas, const LayoutRect& header);

// Clears one value cell (column 0..6) of the header and writes `text` (UTF-8)
// centred in it. The cell's frame is cleared with `windowColor`.
void WriteHeaderCell(Canvas& canvas, const LayoutRect& header, int column, const std::string& text,
                     uint32_t windowColor);
// The same on the window's backing image.
void WriteHeaderCell(ViewerState& viewer, int column, const std::string& text);

// The view without a term: MapLayer as it is, header cells 0 and 1 emptied.
void ShowEmptyPicture(ViewerState& viewer);

// Re-shows the last render on the window without decoding anything: the paint
// handler's work. `termListEmpty` shows the empty picture instead.
void RepaintWindow(ViewerState& viewer, bool termListEmpty);

// Copies MapLayer, then PictureLayer with AND, to the picture area.
void ComposePicture(ViewerState& viewer);
// The same composition onto any image, with its top-left corner at (left, top).
void ComposeLayers(QImage& dest, int left, int top, const ViewerState& viewer);

}  // namespace kalvera
