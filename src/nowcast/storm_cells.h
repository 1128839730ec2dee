#pragma once
// Storm cells: connected areas of strong column maximum, with nearby peaks
// that a clear minimum parts kept apart, and their figures for one term.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "geo/radar_grid.h"
#include "nowcast/extrapolation.h"
#include "nowcast/grid_scale.h"

namespace kalvera {

struct CellOptions {
    double thresholdDbz = 40.0;
    int minCells = 3;
    // Two peaks are two cells when the lowest way between them dips at least
    // this far below the lower peak.
    double splitDepthDbz = 6.0;
};

// One identified area: its cells (indexes into the grid) and its peak.
struct CellRegion {
    std::vector<size_t> members;
    int32_t peak = 0;  // raw column maximum, 2 x dBZ
    GridPosition centroid;
};

// 8-connected areas of column maximum at or above the threshold, split at
// minima deep enough, each of at least minCells cells, largest peak first.
// Cells outside the data never belong to one.
std::vector<CellRegion> IdentifyCells(const GridValues& columnMax, const CellOptions& options = {});

struct TrackPoint {
    double minutes = 0.0;
    GridPosition at;
};

inline constexpr size_t kForecastPositions = kMaxLeadMinutes / kLeadStepMinutes;

// Where a cell's speed and heading come from. A cell's centroid moves with
// the storm but also with growth and decay on one side, and jumps when cells
// split or merge, so its own path is trusted only once it has positions of
// its own over at least kOwnTrackTerms terms and agrees with the motion
// field at the cell within kTrackToleranceKmh; otherwise the field, averaged
// over the cell's area, gives the motion. A speed above kPlausibleSpeedKmh
// is taken as a fault of the estimate, never as a fact.
enum class CellMotion {
    Unknown,         // no field yet (the first term read) and no path of its own
    Track,           // its own path, agreeing with the field
    FieldYoung,      // the field: too few positions of its own (new, split or merged)
    FieldOverTrack,  // the field: its path disagrees (growth, decay, a jump)
    Implausible,     // faster than the bound: not shown as a speed
};
inline constexpr size_t kOwnTrackTerms = 3;
inline constexpr double kTrackToleranceKmh = 20.0;
inline constexpr double kPlausibleSpeedKmh = 150.0;
// "track", "field_young", "field_over_track", "implausible", or "" when unknown.
const char* CellMotionName(CellMotion motion);

// A cell at one term, as tracked.
struct StormCell {
    int id = 0;  // kept through the cell's life
    CellRegion region;
    LatLon centroid;
    double areaKm2 = 0.0;
    double maxDbz = 0.0;
    std::optional<int32_t> topM;   // highest echo top over the cell
    std::optional<double> vilMax;  // kg/m2
    // Speed, heading and forecast positions mean something only when
    // moving() is true.
    CellMotion motion = CellMotion::Unknown;
    double speedKmh = 0.0;
    double headingDeg = 0.0;       // where it goes, clockwise from north
    double eastCellsPerMin = 0.0;  // the same motion on the grid
    double northCellsPerMin = 0.0;
    // Past centroids since the cell was born, split off or merged, oldest
    // first, this term last.
    std::vector<TrackPoint> track;
    std::array<LatLon, kForecastPositions> forecast{};  // at +10 ... +60 minutes
    std::vector<int> mergedFrom;                        // cells that ended by joining this one now
    int splitFrom = 0;  // the cell this one broke off from now, or 0

    bool moving() const {
        return motion == CellMotion::Track || motion == CellMotion::FieldYoung ||
               motion == CellMotion::FieldOverTrack;
    }
};

}  // namespace kalvera
