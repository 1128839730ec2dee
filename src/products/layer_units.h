#pragma once
// What the stored cell values of a layer measure, and which kind of layer
// (and so which colour table) a layer code is.

#include <cstdint>
#include <string>

#include "geo/colour_choice.h"
#include "geo/radar_grid.h"

namespace kalvera {

// A cell the viewer holds as "no data": the value it shows for points off the grid.
constexpr int32_t kNoDataCell = kOutsideGrid;
// What such a cell becomes in a GeoTIFF: below every value a layer can hold.
constexpr double kNoDataValue = -9999.0;

// How many steps of the stored value make one unit of what it measures: 2
// for dBZ (half decibels), 10 for kg/m2 of VIL (tenths), 1 for the metres of
// echo tops and the phenomena's codes. Every conversion to physical values
// (GeoTIFF values, ODIM_H5 gains, class bounds) starts here.
int RawStepsPerUnit(int layerCode);
// dBZ for reflectivity and the column maximum (value / 2), metres for echo
// tops, the code for phenomena, kg/m2 for VIL (value / 10); kNoDataValue for
// a no-data cell.
double PhysicalValue(int layerCode, int32_t value);
// "dBZ", "m", "code" or "kg/m2".
std::string UnitsOf(int layerCode);

// Reflectivity for layers 1..10 and the column maximum.
LayerKind LayerKindOf(int layerCode);

// The table chosen for the layer's kind; null for the palette.
const ColourTable* TableForLayer(const ColourChoice& choice, int layerCode);

}  // namespace kalvera
