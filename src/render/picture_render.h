#pragma once
// The window's picture: decoding the chosen term, drawing the map, cell and
// legend layers into the off-screen bitmaps, and composing them with the
// header on the window's backing image. The automatic export and the
// command-line render compose the same bitmaps.

#include <cstdint>
#include <memory>
#include <string>

#include "render/canvas.h"
#include "render/cell_layer.h"
#include "render/header_layer.h"
#include "render/viewer_state.h"

namespace kalvera {

// Decodes the message of termText and layerCode and draws it: map background,
// cells above the threshold, composition on the window, legend. False when no
// picture was decoded; the bitmaps and the window are then left as they were.
bool RenderPicture(ViewerState& viewer);
// The same for the grid already in viewer.picture (a loop's frame).
void DrawDecodedPicture(ViewerState& viewer);

// The cell bitmap: white with a blue rim, the cells of the picture's grid
// drawn through `view` in the screen style. Returns the highest value.
int32_t DrawPictureLayer(ViewerState& viewer);

// Sizes and draws LegendLayer, writes the layer title into header column 1 and
// copies the legend to the legend area of `dc`.
void DrawLegend(ViewerState& viewer, WindowSurface& dc);

// WriteHeaderCell on the window's backing image.
void WriteHeaderCell(ViewerState& viewer, int column, const std::string& text);

// The view without a term: MapLayer as it is, header cells 0 and 1 emptied.
void ShowEmptyPicture(ViewerState& viewer);

// Drops the picture of a site that is no longer shown: its cells, its grid
// and its term. Every later composition, print or readout then shows the map
// alone until the next picture is decoded.
void ForgetPicture(ViewerState& viewer);

// Re-shows the last render on the window without decoding anything: the paint
// handler's work. `termListEmpty` shows the empty picture instead.
void RepaintWindow(ViewerState& viewer, bool termListEmpty);

// What an export composes from: `viewer` itself when its bitmaps are of
// ratio 1, otherwise the picture it shows drawn once more into `redrawn` on
// bitmaps of ratio 1, from the same grid, view and pens, without decoding.
// An export is then the same on every screen.
const ViewerState& DrawnForExport(const ViewerState& viewer, std::unique_ptr<ViewerState>& redrawn);

// Copies MapLayer, then PictureLayer with AND, to the picture area.
void ComposePicture(ViewerState& viewer);
// The same composition onto any image, with its top-left corner at (left, top).
void ComposeLayers(QImage& dest, int left, int top, const ViewerState& viewer);

}  // namespace kalvera
