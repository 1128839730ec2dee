#pragma once
// How good a forecast was: the contingency table of a threshold over the
// cells, and the scores read from it, for the extrapolation and for
// persistence (the newest grid unchanged) over a day.

#include <cstdint>
#include <string>
#include <vector>

#include "geo/radar_grid.h"

namespace kalvera {

struct Contingency {
    int64_t hits = 0;
    int64_t misses = 0;
    int64_t falseAlarms = 0;

    // Probability of detection, false alarm ratio, critical success index;
    // NaN when the table holds nothing they can be read from.
    double pod() const;
    double far() const;
    double csi() const;
    Contingency& operator+=(const Contingency& other);
};

// Cells where forecast and observation reach `threshold` (raw units), counted
// only where both, and `domain` when given, cover the cell. Grids of other
// sizes add nothing.
Contingency Score(const GridValues& forecast, const GridValues& observed, int32_t threshold,
                  const GridValues* domain = nullptr);

// The fractions skill score of a threshold over square windows of cells,
// summed over cases: 1 - sum (Pf - Po)^2 / (sum Pf^2 + sum Po^2), where P
// is the share of covered cells at or above the threshold in the window
// around each cell. It forgives a displacement smaller than the window,
// which the cell-by-cell table does not.
inline constexpr int kFssWindowCells = 5;
struct Fractions {
    double squaredDifference = 0.0;
    double reference = 0.0;

    // NaN when neither field reached the threshold anywhere.
    double fss() const;
    Fractions& operator+=(const Fractions& other);
};
Fractions FractionsScore(const GridValues& forecast, const GridValues& observed, int32_t threshold,
                         const GridValues* domain = nullptr, int window = kFssWindowCells);

// One term of the day's layer, at its time in minutes.
struct VerifyTerm {
    std::string termText;
    double minutes = 0.0;
    GridValues values;
};

struct VerifyRow {
    int leadMinutes = 0;
    std::string method;  // "extrapolation" or "persistence"
    Contingency table;
    Fractions fractions;
};

// The nowcast from every term that has at least three earlier terms, its
// motion from the base and the two terms before it, each lead compared with
// the term observed at that time (terms given in time order). Both methods
// are scored on the same cells: those the extrapolation covers, so that
// neither gains from the inflow edge, where the other knows nothing. Rows by
// lead, extrapolation first. Terms at negative minutes (the day before) give
// motion only: no forecast from them is scored.
std::vector<VerifyRow> VerifyDay(const std::vector<VerifyTerm>& terms, int32_t threshold,
                                 int layerCode);

// "lead_min,method,hits,misses,false_alarms,pod,far,csi,fss" and a row each;
// scores with three decimals, empty when undefined.
std::string VerifyCsv(const std::vector<VerifyRow>& rows);

}  // namespace kalvera
