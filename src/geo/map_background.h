#pragma once
// The map under the radar cells: country outlines pinned to the picture's
// edges, places with red discs and names, range rings and the 8 x 8 grid.

#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/map_projection.h"
#include "geo/map_resources.h"
#include "render/canvas.h"
#include "render/viewer_state.h"

namespace kalvera {

// Rebuilds the view projection from viewLon, viewLat, viewHalfExtentKm and the
// layer's side, stores it in `view` and draws the background into `mapLayer`.
// When an outline file cannot be opened nothing is drawn and `view` is left
// as it was. The files are taken from `cache` (read again when changed).
void DrawMapBackground(BitmapLayer& mapLayer, const DisplayState& state,
                       const std::string& startDir, MapProjection& view, MapResourceCache& cache);

// Range rings and grid lines of a picture side, as drawn (tests and print).
struct RingsAndGrid {
    int cx = 0;
    std::vector<int> radii;
    std::vector<int> lines;  // positions of the vertical (and horizontal) lines
};
RingsAndGrid RingsAndGridFor(int side);

// An outline's points in pixels, each pinned into 0..side.
void PinnedOutline(const MapProjection& view, int side, const Outline& outline,
                   std::vector<CanvasPoint>& points);

}  // namespace kalvera
