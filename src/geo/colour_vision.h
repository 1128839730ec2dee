#pragma once
// How far apart colours look: CIEDE2000 differences of sRGB colours, in
// normal vision and in simulated dichromacy (Machado, Oliveira and Fernandes
// 2009, full severity), for judging whether a table's classes can be told
// apart by every eye.

#include <array>
#include <string>
#include <vector>

#include "geo/colour_table.h"

namespace kalvera {

enum class Vision { Normal, Deuteranopia, Protanopia, Tritanopia };
inline constexpr std::array<Vision, 4> kVisions = {Vision::Normal, Vision::Deuteranopia,
                                                   Vision::Protanopia, Vision::Tritanopia};
const char* VisionName(Vision vision);

// The colour as an eye of that kind sees it, back in sRGB.
Rgba SimulatedColour(Rgba colour, Vision vision);
// CIEDE2000 between two sRGB colours (D65, alpha ignored), and between two
// CIE L*a*b* colours.
double Ciede2000(Rgba a, Rgba b);
double Ciede2000Lab(const std::array<double, 3>& a, const std::array<double, 3>& b);

// The smallest difference between neighbouring classes and between any two
// classes of a list of class colours, in each vision.
struct ClassSeparation {
    std::array<double, 4> adjacent{};
    std::array<double, 4> any{};
};
ClassSeparation SeparationOf(const std::vector<Rgba>& classColours);

// What a table must reach for every eye.
inline constexpr double kAdjacentMinimum = 3.5;
inline constexpr double kAnyMinimum = 8.0;
bool SeparatedForEveryEye(const ClassSeparation& separation);

}  // namespace kalvera
