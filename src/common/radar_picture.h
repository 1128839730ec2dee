#pragma once
// The decoded value grid: 100 rows from the south, 100 columns from the west.
// One instance lives for the whole run and is not cleared between pictures.

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/domain_constants.h"

namespace kalvera {

struct RadarPicture {
    std::array<int32_t, kGridCells> values{};
};

// Writes `length` cells of `value` from cell `next` on, as far as the grid
// reaches, and moves `next` past them. False once the grid is full. The
// decoders fill the grid in order with this, runs and single cells alike.
inline bool FillCells(RadarPicture& picture, int32_t& next, int32_t length, int32_t value) {
    const int32_t count = std::min(length, kGridCells - next);
    std::fill_n(picture.values.begin() + next, count, value);
    next += count;
    return next < kGridCells;
}

}  // namespace kalvera
