#pragma once
// The newest grid carried on along the motion: backward semi-Lagrangian
// advection, where each cell of a forecast takes the value found where its
// air was `lead` minutes before. Nothing is invented at the inflow edge: a
// cell whose air came from outside the grid is outside the data.

#include <cstdint>
#include <span>
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

// How a forecast cell takes its value at the departure point. Every layer
// takes the nearest cell's value as it stands: only the departure position
// is interpolated (along the motion), never the field. Interpolating the
// field between four cells smears a shower's core of a few cells into its
// surroundings at every lead, so that a forecast held a quarter of the
// observed area of 30 dBZ at +10 on a day of showers, and it invents values
// (classes of phenomena, echo tops of no column) that were never observed.
// Linear stays for comparison in the measurements.
enum class Advection { Linear, Nearest };
Advection AdvectionOf(int layerCode);

// The forecasts of `newest` at each lead (minutes, ascending), in that order.
// A still field gives copies of the grid. When `wanted` is not empty (a flag
// per cell), only the cells flagged are followed back; the others are outside
// the data in every forecast: a caller that reads only some cells (the scores,
// where an observation covers) need not pay for the rest of a wide grid.
std::vector<GridValues> Extrapolate(const GridValues& newest, const MotionField& motion,
                                    const std::vector<int>& leadsMinutes, Advection advection,
                                    std::span<const uint8_t> wanted = {});

}  // namespace kalvera
