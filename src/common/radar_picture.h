#pragma once
// The decoded value grid: 100 rows from the south, 100 columns from the west.
// One instance lives for the whole run and is not cleared between pictures.

#include <array>
#include <cstdint>

namespace kalvera {

constexpr int kGridSide = 100;
constexpr int kGridCells = kGridSide * kGridSide;

struct RadarPicture {
    std::array<int32_t, kGridCells> values{};
};

}  // namespace kalvera
