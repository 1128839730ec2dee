#pragma once
// The printed page: three centred header lines and a 200 mm map square with
// outlines, radar cells, range rings, grid and places, drawn afresh on the
// printer through a projection of its own at a fixed half extent of 200 km.

#include <string>

#include "common/display_state.h"
#include "common/domain_constants.h"
#include "common/radar_picture.h"
#include "geo/app_config.h"
#include "geo/viewport.h"
#include "render/canvas.h"
#include "render/viewer_state.h"

class QPaintDevice;

namespace kalvera {

// The printed map shows exactly one product grid.
constexpr float kPrintHalfExtentKm = kGridHalfExtentKm;

// Draws the map square of `viewport` in the paper style of `pixelsPerMm`:
// outlines, cells, rings and grid, frame, places. False, with nothing drawn,
// when an outline file cannot be opened.
bool PrintPage(const Viewport& viewport, int pixelsPerMm, Canvas& canvas, const AppConfig& config,
               const DisplayState& state, const RadarPicture& picture);

struct PrintResult {
    bool pageBegun = false;  // false: the device could not be painted on
    bool mapDrawn = false;   // false: only the header lines are on the page
};

// One A4 portrait page of the current picture on `page` (a QPrinter set to
// full-page mode, or an image of the page's size). The view itself, including
// viewHalfExtentKm, is not changed.
PrintResult PrintPicture(QPaintDevice& page, const ViewerState& viewer);

}  // namespace kalvera
