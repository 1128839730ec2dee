#pragma once
// What the header's value cells show for a point of the picture: the radar
// value there, azimuth and range from the view centre, latitude and longitude.

#include <cstdint>
#include <string>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "geo/map_projection.h"
#include "geo/radar_grid.h"

namespace kalvera {

// The value of the grid's cell around the decoded site that holds the
// point, or kOutsideGrid.
int32_t GridValueAt(const RadarPicture& picture, const DisplayState& state, float lat, float lon);

// The legend entry under a point of the legend area (left, top, height in
// client pixels): the top box is entry 19, the bottom box entry 1, and the
// rows below the last whole box entry 0. Any legend height maps onto 0..19;
// -1 when the point is left of the legend or below it.
int LegendEntryAt(int legendLeft, int legendTop, int legendHeight, int x, int y);

// Texts of header columns 2 to 6, and the figures behind columns 3 and 4.
struct Readout {
    std::string value;    // column 2, "Значение"
    std::string azimuth;  // column 3, "Азимут"
    std::string range;    // column 4, "Дальность"
    std::string lat;      // column 5, "Широта"
    std::string lon;      // column 6, "Долгота"
    float azimuthDeg = 0.0f;
    float rangeKm = 0.0f;
};

// The readout for a point; azimuth and range are measured from the centre of
// `view`, the value from the decoded grid.
// With `marksNoData` (a forecast frame), a kOutsideGrid value reads
// "нет данных".
Readout ReadoutAt(const MapProjection& view, const RadarPicture& picture, const DisplayState& state,
                  float lat, float lon, bool marksNoData = false);

// Column 2: the weather text of a code on layer 22 (empty unless 1..19), the
// decimal value on every other layer.
std::string ValueText(int layerCode, int32_t value);

// A non-negative figure rounded up to a whole number: "90" for 89.59.
std::string CeilingText(float value);

}  // namespace kalvera
