#pragma once
// The newest grid carried on along the motion: backward semi-Lagrangian
// advection, where each cell of a forecast takes the value found where its
// air was `lead` minutes before. Nothing is invented at the inflow edge: a
// cell whose air came from outside the grid is outside the data.

#include <vector>

#include "geo/radar_grid.h"
#include "nowcast/motion_field.h"

namespace kalvera {

// The leads the nowcast is made for, and the first one whose forecast is
// shown as of low skill: echoes grow and die within the hour.
inline constexpr int kLeadStepMinutes = 10;
inline constexpr int kMaxLeadMinutes = 60;
inline constexpr int kLowSkillLeadMinutes = 40;
inline bool IsLowSkillLead(int leadMinutes) {
    return leadMinutes >= kLowSkillLeadMinutes;
}
// 10, 20 ... 60.
std::vector<int> NowcastLeads();

// Reflectivity and VIL are interpolated between the four cells around the
// departure point; phenomena are classes and echo tops the top of one
// column, so they take the nearest cell's value as it stands.
enum class Advection { Linear, Nearest };
Advection AdvectionOf(int layerCode);

// The forecasts of `newest` at each lead (minutes, ascending), in that order.
// A still field gives copies of the grid.
std::vector<GridValues> Extrapolate(const GridValues& newest, const MotionField& motion,
                                    const std::vector<int>& leadsMinutes, Advection advection);

}  // namespace kalvera
