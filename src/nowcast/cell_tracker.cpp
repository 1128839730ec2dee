#include "nowcast/cell_tracker.h"

#include <algorithm>
#include <cmath>

namespace kalvera {

namespace {

constexpr double kMaxTrackGapMinutes = 60.0;
// The centroids of the last terms a cell's own motion is fitted to.
constexpr size_t kFitPoints = 4;

// Weighted least squares of position against time over the last points, the
// newest weighing most; false when the points span no time.
bool FitVelocity(const std::vector<TrackPoint>& track, double& northPerMin, double& eastPerMin) {
    const size_t n = std::min(track.size(), kFitPoints);
    if (n < 2) return false;
    double sw = 0, st = 0, sr = 0, sc = 0;
    for (size_t k = 0; k < n; ++k) {
        const TrackPoint& p = track[track.size() - n + k];
        const double w = static_cast<double>(k + 1);
        sw += w, st += w * p.minutes, sr += w * p.at.row, sc += w * p.at.column;
    }
    const double tm = st / sw, rm = sr / sw, cm = sc / sw;
    double stt = 0, str = 0, stc = 0;
    for (size_t k = 0; k < n; ++k) {
        const TrackPoint& p = track[track.size() - n + k];
        const double w = static_cast<double>(k + 1), dt = p.minutes - tm;
        stt += w * dt * dt, str += w * dt * (p.at.row - rm), stc += w * dt * (p.at.column - cm);
    }
    if (!(stt > 0.0)) return false;
    northPerMin = str / stt;
    eastPerMin = stc / stt;
    return true;
}

}  // namespace

void CellTracker::describe(const CellFields& term, const MotionField& motion,
                           StormCell& cell) const {
    const RadarGrid& grid = term.columnMax->grid;
    const GridScale scale = GridScale::Of(grid);
    const CellRegion& region = cell.region;
    cell.centroid = PlaceOf(grid, region.centroid);
    cell.areaKm2 = static_cast<double>(region.members.size()) * scale.cellAreaKm2();
    cell.maxDbz = region.peak / 2.0;
    const auto largest = [&](const GridValues* g, std::optional<int32_t>& out) {
        if (!g || g->values.size() != term.columnMax->values.size()) return;
        for (const size_t k : region.members) {
            const int32_t v = g->values[k];
            if (v != kOutsideGrid && v > 0 && (!out || v > *out)) out = v;
        }
    };
    largest(term.tops, cell.topM);
    std::optional<int32_t> vil;
    largest(term.vil, vil);
    if (vil) cell.vilMax = *vil / 10.0;
    cell.track.push_back({term.minutes, region.centroid});
    // The field averaged over the cell's area: what its echoes do, whatever
    // growth on one side does to its centroid.
    const bool fieldKnown = !motion.still() && motion.rows == grid.rows() &&
                            motion.columns == grid.columns() && !region.members.empty();
    double fieldEast = 0.0, fieldNorth = 0.0;
    if (fieldKnown) {
        const auto columns = static_cast<size_t>(grid.columns());
        for (const size_t k : region.members) {
            double east = 0.0, north = 0.0;
            motion.at(static_cast<double>(k / columns), static_cast<double>(k % columns), east,
                      north);
            fieldEast += east, fieldNorth += north;
        }
        fieldEast /= static_cast<double>(region.members.size());
        fieldNorth /= static_cast<double>(region.members.size());
    }
    double trackEast = 0.0, trackNorth = 0.0;
    const bool ownTrack =
        cell.track.size() >= kOwnTrackTerms && FitVelocity(cell.track, trackNorth, trackEast);
    cell.motion = CellMotion::Unknown;
    if (ownTrack && fieldKnown) {
        const double differenceKmh = 60.0 * std::hypot((trackEast - fieldEast) * scale.dxKm,
                                                       (trackNorth - fieldNorth) * scale.dyKm);
        cell.motion =
            differenceKmh <= kTrackToleranceKmh ? CellMotion::Track : CellMotion::FieldOverTrack;
    } else if (ownTrack) {
        cell.motion = CellMotion::Track;
    } else if (fieldKnown) {
        cell.motion = CellMotion::FieldYoung;
    }
    const bool byTrack = cell.motion == CellMotion::Track;
    cell.eastCellsPerMin = byTrack ? trackEast : fieldEast;
    cell.northCellsPerMin = byTrack ? trackNorth : fieldNorth;
    SpeedAndHeading(scale, cell.eastCellsPerMin, cell.northCellsPerMin, cell.speedKmh,
                    cell.headingDeg);
    if (cell.moving() && cell.speedKmh > kPlausibleSpeedKmh) cell.motion = CellMotion::Implausible;
    if (!cell.moving()) {
        cell.eastCellsPerMin = cell.northCellsPerMin = 0.0;
        cell.speedKmh = cell.headingDeg = 0.0;
    }
    for (size_t k = 0; k < kForecastPositions; ++k) {
        const double lead = static_cast<double>((k + 1) * kLeadStepMinutes);
        cell.forecast[k] = PlaceOf(grid, {region.centroid.row + cell.northCellsPerMin * lead,
                                          region.centroid.column + cell.eastCellsPerMin * lead});
    }
}

void CellTracker::match(const CellFields& term, const MotionField& motion,
                        std::vector<StormCell>& cells) {
    const RadarGrid& grid = term.columnMax->grid;
    const int rows = grid.rows(), columns = grid.columns();
    std::vector<int> owner(term.columnMax->values.size(), -1);
    for (size_t c = 0; c < cells.size(); ++c) {
        for (const size_t k : cells[c].region.members) owner[k] = static_cast<int>(c);
    }
    const std::vector<StormCell>& before = last_.cells;
    const double gap = term.minutes - last_.minutes;
    // overlap[p][c]: cells of previous cell p that land on new cell c.
    std::vector<std::vector<int>> overlap(before.size(), std::vector<int>(cells.size(), 0));
    for (size_t p = 0; p < before.size(); ++p) {
        for (const size_t k : before[p].region.members) {
            const double r = static_cast<double>(k / static_cast<size_t>(columns));
            const double c = static_cast<double>(k % static_cast<size_t>(columns));
            double east = 0.0, north = 0.0;
            motion.at(r, c, east, north);
            const long i = std::lround(r + north * gap), j = std::lround(c + east * gap);
            if (i < 0 || j < 0 || i >= rows || j >= columns) continue;
            const int o = owner[static_cast<size_t>(i) * columns + static_cast<size_t>(j)];
            if (o >= 0) ++overlap[p][static_cast<size_t>(o)];
        }
    }
    // Each previous cell goes on as the new cell it overlaps most.
    std::vector<int> successor(before.size(), -1);
    for (size_t p = 0; p < before.size(); ++p) {
        const auto best = std::max_element(overlap[p].begin(), overlap[p].end());
        if (best != overlap[p].end() && *best > 0) {
            successor[p] = static_cast<int>(best - overlap[p].begin());
        }
    }
    for (size_t c = 0; c < cells.size(); ++c) {
        // Of the previous cells that go on as this one, the largest gives its
        // number; the others merged into it.
        int heir = -1;
        for (size_t p = 0; p < before.size(); ++p) {
            if (successor[p] != static_cast<int>(c)) continue;
            if (heir < 0 || before[p].region.members.size() >
                                before[static_cast<size_t>(heir)].region.members.size()) {
                heir = static_cast<int>(p);
            }
        }
        StormCell& cell = cells[c];
        if (heir >= 0) {
            const StormCell& from = before[static_cast<size_t>(heir)];
            cell.id = from.id;
            for (size_t p = 0; p < before.size(); ++p) {
                if (successor[p] == static_cast<int>(c) && static_cast<int>(p) != heir) {
                    cell.mergedFrom.push_back(before[p].id);
                }
            }
            // A merged cell's centroid jumps towards the joined part: its
            // path starts again here.
            if (cell.mergedFrom.empty()) cell.track = from.track;
            continue;
        }
        cell.id = nextId_++;
        // A new cell that a previous one overlaps broke off from it.
        int parent = -1, most = 0;
        for (size_t p = 0; p < before.size(); ++p) {
            if (overlap[p][c] > most) most = overlap[p][c], parent = static_cast<int>(p);
        }
        // Its path is its own: the parent's centroid was that of both parts.
        if (parent >= 0) cell.splitFrom = before[static_cast<size_t>(parent)].id;
    }
}

const TermCells& CellTracker::add(const CellFields& term, const MotionField& motion) {
    std::vector<StormCell> cells;
    if (term.columnMax) {
        for (CellRegion& region : IdentifyCells(*term.columnMax, options_)) {
            cells.emplace_back().region = std::move(region);
        }
        const double gap = term.minutes - last_.minutes;
        const bool continues = !last_.cells.empty() && gap > 0.0 && gap <= kMaxTrackGapMinutes &&
                               last_.cellCount == term.columnMax->values.size();
        if (continues) {
            match(term, motion, cells);
        } else {
            for (StormCell& cell : cells) cell.id = nextId_++;
        }
        for (StormCell& cell : cells) describe(term, motion, cell);
    }
    last_ = {term.termText, term.minutes, std::move(cells),
             term.columnMax ? term.columnMax->values.size() : 0};
    return last_;
}

}  // namespace kalvera
