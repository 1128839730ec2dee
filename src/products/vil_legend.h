#pragma once
// The 19 classes of the VIL legend. Fine steps at the low end, where most
// showers lie, and 5 kg/m2 steps through the range where hail becomes likely
// (about 35 kg/m2 and up); the top class starts at 70 kg/m2.

#include <array>
#include <cstdint>
#include <string_view>

namespace kalvera {

// Lower bound of classes 1..19 in kg/m2; class 1 starts above 0.
constexpr std::array<int, 19> kVilClassFloorsKgPerM2 = {0,  1,  2,  3,  5,  7,  10, 13, 16, 20,
                                                        25, 30, 35, 40, 45, 50, 55, 60, 70};

// The class (1..19) of a VIL in tenths of kg/m2; 0 for no liquid at all.
int VilClass(int32_t tenths);

// Box texts of classes 1..19: "0-1" ... "60-70", ">=70".
const std::array<std::string_view, 19>& VilLabels();

}  // namespace kalvera
