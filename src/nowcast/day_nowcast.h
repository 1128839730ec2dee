#pragma once
// The nowcast over a day's terms: the motion at a term, the forecasts from
// it, the cells of every term tracked through the day, and their table.

#include <string>
#include <vector>

#include "nowcast/cell_tracker.h"
#include "nowcast/day_terms.h"
#include "nowcast/extrapolation.h"
#include "nowcast/motion_field.h"

namespace kalvera {

// The motion at terms[index] from it and up to two terms before it, read
// from `layerCode` (those lacking the layer are passed over).
MotionField MotionAt(const std::vector<DayTerm>& terms, size_t index, int layerCode);

// Every term's cells from its column maximum, echo tops and VIL, tracked in
// time order; a term without the column maximum has none and ends all tracks.
std::vector<TermCells> TrackDay(const std::vector<DayTerm>& terms, const CellOptions& options = {});

// TrackDay a term at a time: it keeps only the column maximum of the two
// terms before, which the motion reads, so that a day need not be held whole.
class DayCellTracker {
  public:
    explicit DayCellTracker(const CellOptions& options = {}) : tracker_(options) {}
    TermCells add(const DayTerm& term);

  private:
    struct Recent {
        GridValues columnMax;
        double minutes = 0.0;
    };
    CellTracker tracker_;
    std::vector<Recent> recent_;
};

// TrackDay over the composite's day (and the hour before it), read a few
// terms at a time: the composite of a day held whole, with its echo tops and
// VIL, is of the order of a gigabyte. A term whose sites' layout differs from
// the last one's of its part holds no layers, as in LoadMosaicDayTerms.
bool TrackMosaicDay(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                    const TermSelection& which, const CellOptions& options,
                    std::vector<TermCells>& cells, std::string& error);

// "term,id,lat,lon,area_km2,max_dbz,top_m,vil_max,speed_kmh,heading_deg,motion"
// and a row per cell and term; a figure the term lacks is empty, and so are
// speed and heading where the motion is unknown or implausible (the motion
// column says which, see CellMotionName).
std::string CellsCsv(const std::vector<TermCells>& terms);

}  // namespace kalvera
