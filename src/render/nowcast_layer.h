#pragma once
// The nowcast drawn over the map: outlines of a threshold in the forecasts,
// the storm cells as symbols with their past and forecast tracks, the mark
// that tells a forecast frame from an observation, and the words for them.
// The window, its loop and the command line all draw a nowcast through these.

#include <optional>
#include <string>
#include <vector>

#include "common/radar_picture.h"
#include "geo/radar_grid.h"
#include "geo/viewport.h"
#include "nowcast/storm_cells.h"
#include "render/canvas.h"
#include "render/layer_style.h"

namespace kalvera {

// "+10 мин" for a lead of 10 minutes.
std::string ForecastLabel(int leadMinutes);
// "низкая надёжность": what a lead of 40 minutes or more carries with it.
std::string LowSkillText();
// The term of a forecast frame: "15.00 +30 мин", from +40 on with
// ", низкая надёжность".
std::string ForecastFrameText(const std::string& baseTerm, int leadMinutes);

// A forecast as a picture's grid: the cells whose air came from beyond the
// grid stay kOutsideGrid, no data, which the cell layer draws in the no-data style.
RadarPicture ForecastPicture(const GridValues& forecast);

// A frame and a banner over the map square that no observation carries:
// "ПРОГНОЗ +30 мин от 15.00", and the low skill from +40 on.
void DrawForecastMark(Canvas& canvas, const Viewport& viewport, const std::string& baseTerm,
                      int leadMinutes);

// One forecast's threshold, outlined.
struct ThresholdOutline {
    const GridValues* forecast = nullptr;
    int leadMinutes = 0;
};
// The edges between cells at or above `threshold` (raw units of the column
// maximum) and the rest, one colour per lead, with a small key in the
// square's lower-left corner that names what is outlined.
void DrawThresholdOutlines(Canvas& canvas, const Viewport& viewport,
                           const std::vector<ThresholdOutline>& outlines, int32_t threshold);

// Each cell as a ring at its centroid with its number, its past track as a
// line through its centroids and its forecast track with a tick every ten
// minutes (from +40 on drawn thinner: low skill).
// The ring, drawn clear, does not hide the core it marks; the cell numbered
// `chosen` gets a second, wider ring (the one picked in the table).
void DrawStormCells(Canvas& canvas, const Viewport& viewport, const RadarGrid& grid,
                    const std::vector<StormCell>& cells, int chosen = 0);

// The cell under a device pixel: the one whose area holds the pixel's grid
// cell, or whose symbol is within a few pixels. Empty when there is none.
std::optional<size_t> StormCellUnder(const std::vector<StormCell>& cells, const RadarGrid& grid,
                                     const Viewport& viewport, int x, int y);

// "42 км/ч, курс 70°", with where it comes from when it is the motion
// field's; "движение: —" when the motion is unknown or implausible.
std::string StormCellMotionText(const StormCell& cell);

// The figures of a cell, a line each, for a tooltip.
std::string StormCellFigures(const StormCell& cell);

}  // namespace kalvera
