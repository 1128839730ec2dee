#pragma once
// Where the echoes are going: a dense motion field from the last two or three
// terms of one layer (the column maximum as a rule), found by optical flow.
// Speeds are in cells per minute, so that terms taken at uneven intervals
// count by their real time difference, and the field applies to any lead.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "geo/radar_grid.h"
#include "nowcast/grid_scale.h"

namespace kalvera {

struct MotionField {
    int rows = 0;
    int columns = 0;
    // Cells per minute towards the east (columns) and the north (rows), by
    // cells from the south-western one; empty for a field of zero motion.
    std::vector<float> east;
    std::vector<float> north;

    static MotionField Still(int rows, int columns);
    bool still() const { return east.empty(); }
    // The motion at a fractional cell position, bilinear between cell centres
    // and held at the edges; zero for a still field.
    void at(double row, double column, double& eastward, double& northward) const;
};

// One term of the layer the motion is read from, at its time in minutes.
struct TimedGrid {
    const GridValues* grid = nullptr;
    double minutes = 0.0;
};

struct MotionOptions {
    // Values at or below it are no echo (raw units of the layer: 20 is
    // 10 dBZ for reflectivity).
    int32_t echoFloor = 20;
    // A pair of terms with fewer echo cells than this in either is taken as
    // telling nothing about motion.
    int minEchoCells = 12;
    // Pairs further apart say more about growth than about motion.
    double maxGapMinutes = 40.0;
};

// The motion from terms given oldest first (two or three; only the last three
// count), all of the same grid size. Consecutive pairs are flowed separately,
// each divided by its own time difference, and the newer pair weighs double.
// Where there is no echo the field takes the echoes' mean motion, so that the
// leading edge of a storm moves on into clear air. A still field when no pair
// tells anything (no echo, unequal grids, a gap, an error of the library).
MotionField EstimateMotion(std::span<const TimedGrid> terms, const MotionOptions& options = {});

// The flows of the last few pairs of grids, so that a caller going along a
// day (the verification) flows each pair once rather than once for every
// base term that reads it. The grids must stay where they are meanwhile.
class MotionPairCache {
  public:
    MotionPairCache();
    ~MotionPairCache();
    MotionPairCache(const MotionPairCache&) = delete;
    MotionPairCache& operator=(const MotionPairCache&) = delete;
    struct Pairs;
    Pairs& pairs() { return *pairs_; }

  private:
    std::unique_ptr<Pairs> pairs_;
};
MotionField EstimateMotion(std::span<const TimedGrid> terms, const MotionOptions& options,
                           MotionPairCache& cache);

// Speed in km/h and heading in degrees clockwise from north (where the motion
// goes) of a motion in cells per minute on a grid of that scale.
void SpeedAndHeading(const GridScale& scale, double eastCellsPerMin, double northCellsPerMin,
                     double& speedKmh, double& headingDeg);

}  // namespace kalvera
