#pragma once
// What the cell values of a layer measure, for files read outside the viewer:
// the physical value and its units, and the legend class a value falls in.

#include <cstdint>
#include <optional>
#include <string>

#include "geo/radar_grid.h"
#include "products/layer_units.h"

namespace kalvera {

// The legend box (1..19) whose lower bound the value reaches, the boxes being
// bounded as their labels read: reflectivity in steps of 5 dBZ from 0, echo
// tops in steps of 1000 m from 0, phenomena one code each. 0 for a cell the
// viewer leaves undrawn (0 or below), for no data and for a phenomenon code
// without a legend box. VIL takes the classes of its own legend.
int LegendClassOf(int layerCode, int32_t value);

// The lowest and the highest physical value a cell of legend class k (1..19)
// can hold, both inclusive; the top class has no highest. These are the
// classes LegendClassOf forms, which the legend's own texts do not always
// read: reflectivity class 12, labelled "61-65", holds 55 to 59.5 dBZ.
struct ClassBounds {
    double min = 0.0;
    std::optional<double> max;
};
ClassBounds ClassBoundsOf(int layerCode, int k);

}  // namespace kalvera
