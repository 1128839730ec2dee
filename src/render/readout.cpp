#include "render/readout.h"

#include <algorithm>
#include <cmath>

#include "render/legend_tables.h"
#include "render/picture_render.h"

namespace kalvera {

namespace {
// trunc() toward zero of a cell coordinate, or -1 when it is no cell: NaN and
// far-off points must not reach an integer conversion.
int CellIndex(float position, int count) {
    if (!(position >= 0.0f) || position >= static_cast<float>(count)) return -1;
    return static_cast<int>(position);
}
}  // namespace

int32_t GridValueAt(const RadarPicture& picture, const DisplayState& state, int side, float lat,
                    float lon) {
    const int cols = state.gridCols;
    const int rows = state.gridRows;
    // Before the first render the grid has no dimensions yet.
    if (cols <= 0 || rows <= 0 || static_cast<long>(cols) * rows > kGridCells) return kOutsideGrid;
    const float sideF = static_cast<float>(side > 0 ? side : kGridSide);
    const MapProjection grid =
        MapProjection::Init(sideF, sideF, state.siteLon, state.siteLat, kGridHalfExtentKm);
    const float cellLon = grid.lonSpan / static_cast<float>(cols);
    const float cellLat = grid.latSpan / static_cast<float>(rows);
    if (!(cellLon > 0.0f) || !(cellLat > 0.0f)) return kOutsideGrid;
    const int row = CellIndex((lat - grid.latMin) / cellLat, rows);
    const int column = CellIndex((lon - grid.lonMin) / cellLon, cols);
    if (row < 0 || column < 0) return kOutsideGrid;
    return picture.values[static_cast<size_t>(row) * cols + column];
}

std::string ValueText(int layerCode, int32_t value) {
    if (layerCode == kLayerWeather) {
        if (value < 1 || value > kLegendBoxes) return std::string();
        return std::string(LegendLabel(kLayerWeather, value));
    }
    return std::to_string(value);
}

std::string CeilingText(float value) {
    if (!std::isfinite(value)) return "0";
    const double up = std::min(std::ceil(static_cast<double>(value)), 1e9);
    // ceil(-0.3) is -0: nothing shown here is ever below zero.
    return std::to_string(up <= 0.0 ? 0LL : static_cast<long long>(up));
}

Readout ReadoutAt(const MapProjection& view, const RadarPicture& picture, const DisplayState& state,
                  int side, float lat, float lon) {
    Readout readout;
    readout.value = ValueText(state.layerCode, GridValueAt(picture, state, side, lat, lon));
    view.RangeAzimuth(lat, lon, readout.azimuthDeg, readout.rangeKm);
    readout.azimuth = CeilingText(readout.azimuthDeg);
    readout.range = CeilingText(readout.rangeKm);
    readout.lat = DegMinText(lat);
    readout.lon = DegMinText(lon);
    return readout;
}

int LegendEntryAt(int legendLeft, int legendTop, int legendHeight, int x, int y) {
    if (x < legendLeft || y > legendTop + legendHeight) return -1;
    const int boxHeight = legendHeight / kLegendBoxes;
    if (boxHeight <= 0) return -1;
    return std::clamp(kLegendBoxes - (y - legendTop) / boxHeight, 0, kLegendBoxes);
}

}  // namespace kalvera
