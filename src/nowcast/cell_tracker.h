#pragma once
// Storm cells followed from term to term. The previous term's cells are
// carried on along the motion field and matched to the new ones by how much
// they overlap; a cell keeps its number while it lives, and when cells merge
// or one splits, the largest part keeps the number and the event is noted.

#include <map>
#include <string>
#include <vector>

#include "nowcast/motion_field.h"
#include "nowcast/storm_cells.h"

namespace kalvera {

// The grids of one term the cells are made from, all of one size. The
// echo tops and VIL may be missing.
struct CellFields {
    std::string termText;  // HH.MM
    double minutes = 0.0;
    const GridValues* columnMax = nullptr;
    const GridValues* tops = nullptr;
    const GridValues* vil = nullptr;  // tenths of kg/m2
};

struct TermCells {
    std::string termText;
    double minutes = 0.0;
    std::vector<StormCell> cells;
    size_t cellCount = 0;  // of the grid they were found on
};

class CellTracker {
  public:
    explicit CellTracker(const CellOptions& options = {}) : options_(options) {}

    // The cells of the next term, given in time order, with the motion from
    // the terms up to it. A gap longer than an hour starts all tracks anew.
    const TermCells& add(const CellFields& term, const MotionField& motion);
    const TermCells& last() const { return last_; }

  private:
    void match(const CellFields& term, const MotionField& motion, std::vector<StormCell>& cells);
    void describe(const CellFields& term, const MotionField& motion, StormCell& cell) const;

    CellOptions options_;
    TermCells last_;
    int nextId_ = 1;
};

}  // namespace kalvera
