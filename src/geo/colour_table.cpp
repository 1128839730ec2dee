#include "geo/colour_table.h"

#include <algorithm>
#include <cmath>

namespace kalvera {

namespace {

uint8_t Mix(uint8_t from, uint8_t to, double t) {
    return static_cast<uint8_t>(std::lround(from + (static_cast<double>(to) - from) * t));
}

// The last stop at or below the value: equal values let the later stop win,
// as a band that starts where the one before it ends.
int StopIndexOf(const ColourTable& table, double value) {
    const auto after =
        std::upper_bound(table.stops.begin(), table.stops.end(), value,
                         [](double v, const ColourStop& stop) { return v < stop.value; });
    return static_cast<int>(after - table.stops.begin()) - 1;
}

}  // namespace

double TableValue(const ColourTable& table, double quantity) {
    return quantity * table.scale + table.offset;
}

int ClassIndexOf(const ColourTable& table, double tableValue) {
    if (std::isnan(tableValue)) return -1;
    const int stop = StopIndexOf(table, tableValue);
    if (stop < 0) return -1;
    // Classes are counted as ClassesOf forms them: without the empty ones.
    int index = 0;
    for (int j = 0; j < stop; ++j) {
        if (table.stops[static_cast<size_t>(j) + 1].value >
            table.stops[static_cast<size_t>(j)].value)
            ++index;
    }
    return index;
}

std::optional<Rgba> ColourAt(const ColourTable& table, double tableValue) {
    if (std::isnan(tableValue)) return std::nullopt;
    const int i = StopIndexOf(table, tableValue);
    if (i < 0) return std::nullopt;
    const ColourStop& stop = table.stops[static_cast<size_t>(i)];
    const bool last = static_cast<size_t>(i) + 1 == table.stops.size();
    if (stop.solid || last) return stop.colour;
    const ColourStop& next = table.stops[static_cast<size_t>(i) + 1];
    const double span = next.value - stop.value;
    if (!(span > 0.0)) return stop.colour;
    const double t = std::clamp((tableValue - stop.value) / span, 0.0, 1.0);
    const Rgba end = stop.to ? *stop.to : next.colour;
    return Rgba{Mix(stop.colour.r, end.r, t), Mix(stop.colour.g, end.g, t),
                Mix(stop.colour.b, end.b, t), Mix(stop.colour.a, end.a, t)};
}

std::vector<ColourClass> ClassesOf(const ColourTable& table) {
    std::vector<ColourClass> classes;
    for (size_t i = 0; i < table.stops.size(); ++i) {
        ColourClass c{table.stops[i].value, std::nullopt, table.stops[i].colour};
        if (i + 1 < table.stops.size()) c.max = table.stops[i + 1].value;
        // A stop that the next one starts at the same value has no values.
        if (c.max && *c.max <= c.min) continue;
        classes.push_back(c);
    }
    return classes;
}

}  // namespace kalvera
