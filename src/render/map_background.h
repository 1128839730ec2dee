#pragma once
// The map layers: country outlines, places, range rings with the grid, and a
// frame, each drawn on a canvas through a viewport (where the square lies and
// how degrees map onto it) in a style (screen or paper). Every picture the
// program makes is built from these and the cell, legend and header layers:
// the window, the automatic export, the command-line render and the printed
// page. A loop frame draws DrawMapBackground once into a bitmap, keeps it,
// and ANDs cells drawn by DrawCells (render/cell_layer.h) over a copy of it;
// a world-file PNG draws the layers alone onto an image of the square.

#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/map_resources.h"
#include "geo/viewport.h"
#include "render/canvas.h"
#include "render/layer_style.h"
#include "render/viewer_state.h"

namespace kalvera {

// Open polylines, each point pinned into the square so that an outline
// leaving the view runs along its edge.
void DrawOutlines(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                  const std::vector<Outline>& outlines);

// Red discs with the names up and to the right, on white.
void DrawPlaces(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                const std::vector<Place>& places);

// Four rings a quarter of the half side apart around the square's centre, and
// the lines that cut it into 8 x 8 squares.
void DrawRingsAndGrid(Canvas& canvas, const Viewport& viewport, const LayerStyle& style);

// A frame of style.frameWidth around the square; nothing when that is 0.
void DrawSquareFrame(Canvas& canvas, const Viewport& viewport, const LayerStyle& style);

// The window's map bitmap: rebuilds the view projection from viewLon,
// viewLat, viewHalfExtentKm and the layer's side, stores it in `view` and
// draws white, outlines, places, rings and grid in the screen style. When an
// outline file cannot be opened nothing is drawn and `view` is left as it
// was. The files are taken from `cache` (read again when changed).
void DrawMapBackground(BitmapLayer& mapLayer, const DisplayState& state,
                       const std::string& startDir, MapProjection& view, MapResourceCache& cache);

// DrawMapBackground for the viewer's map bitmap, skipped when the bitmap
// already shows the same view from the same files and pens (the view
// projection is set all the same).
void UpdateMapBackground(ViewerState& viewer);

// Ring radii and grid line offsets within a square of a side (tests).
struct RingsAndGrid {
    int cx = 0;
    std::vector<int> radii;
    std::vector<int> lines;  // offsets of the vertical (and horizontal) lines
};
RingsAndGrid RingsAndGridFor(int side);

// An outline's points in device pixels, each pinned into the square.
void PinnedOutline(const Viewport& viewport, const Outline& outline,
                   std::vector<CanvasPoint>& points);

}  // namespace kalvera
