#include "render/readout.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "geo/radar_grid.h"
#include "products/derived_products.h"
#include "render/cell_layer.h"
#include "render/legend_tables.h"

namespace kalvera {

int32_t GridValueAt(const RadarPicture& picture, const DisplayState& state, float lat, float lon) {
    const int cols = state.gridCols;
    const int rows = state.gridRows;
    // Before the first render the grid has no dimensions yet.
    if (cols <= 0 || rows <= 0 || static_cast<long>(cols) * rows > kGridCells) return kOutsideGrid;
    const RadarGrid grid = RadarGrid::AroundSite(state.siteLon, state.siteLat, rows, cols);
    const GridCell cell = grid.CellAt(lat, lon);
    if (!cell.valid()) return kOutsideGrid;
    return picture.values[grid.IndexOf(cell)];
}

std::string ValueText(int layerCode, int32_t value) {
    if (layerCode == kLayerWeather) {
        if (value < 1 || value > kLegendBoxes) return std::string();
        return std::string(LegendLabel(kLayerWeather, value));
    }
    if (layerCode == kLayerVil) return VilText(value);
    return std::to_string(value);
}

std::string CeilingText(float value) {
    if (!std::isfinite(value)) return "0";
    const double up = std::min(std::ceil(static_cast<double>(value)), 1e9);
    // ceil(-0.3) is -0: nothing shown here is ever below zero.
    return std::to_string(up <= 0.0 ? 0LL : static_cast<long long>(up));
}

Readout ReadoutAt(const MapProjection& view, const RadarPicture& picture, const DisplayState& state,
                  float lat, float lon, bool marksNoData) {
    Readout readout;
    const int32_t value = GridValueAt(picture, state, lat, lon);
    readout.value =
        marksNoData && value == kOutsideGrid
            ? QCoreApplication::translate("kalvera::DataAge", "нет данных").toStdString()
            : ValueText(state.layerCode, value);
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
