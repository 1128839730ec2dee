#include "nowcast/day_nowcast.h"

#include <algorithm>
#include <cstdio>

#include "products/derived_products.h"

namespace kalvera {

namespace {

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

MotionField MotionAt(const std::vector<DayTerm>& terms, size_t index, int layerCode) {
    std::vector<TimedGrid> recent;
    for (size_t k = index + 1; k-- > 0 && recent.size() < 3;) {
        if (const GridValues* g = terms[k].layer(layerCode)) {
            recent.insert(recent.begin(), TimedGrid{g, terms[k].minutes});
        }
    }
    if (recent.empty() || !terms[index].layer(layerCode)) return {};
    return EstimateMotion(recent);
}

TermCells DayCellTracker::add(const DayTerm& term) {
    const GridValues* columnMax = term.layer(kLayerColumnMax);
    const CellFields fields{term.termText, term.minutes, columnMax, term.layer(kLayerEchoTops),
                            term.layer(kLayerVil)};
    // As MotionAt reads it: this term and the two before it that have the
    // layer, nothing when this one lacks it.
    MotionField motion;
    if (columnMax) {
        std::vector<TimedGrid> grids;
        for (const Recent& r : recent_) grids.push_back({&r.columnMax, r.minutes});
        grids.push_back({columnMax, term.minutes});
        motion = EstimateMotion(grids);
    }
    TermCells cells = tracker_.add(fields, motion);
    if (columnMax) {
        if (recent_.size() == 2) recent_.erase(recent_.begin());
        recent_.push_back({*columnMax, term.minutes});
    }
    return cells;
}

std::vector<TermCells> TrackDay(const std::vector<DayTerm>& terms, const CellOptions& options) {
    DayCellTracker tracker(options);
    std::vector<TermCells> days;
    for (const DayTerm& term : terms) days.push_back(tracker.add(term));
    return days;
}

bool TrackMosaicDay(MosaicLoader& loader, const MosaicRequest& day, CompositeMethod method,
                    const TermSelection& which, const CellOptions& options,
                    std::vector<TermCells>& cells, std::string& error) {
    // Terms read at once: enough that the sites' layout is rarely rebuilt
    // within a part, few enough that the part stays some tens of megabytes.
    constexpr size_t kPartTerms = 12;
    cells.clear();
    std::vector<std::string> texts;
    if (!MosaicDayTermTexts(day, which, texts, error)) return false;
    const std::vector<int> codes = {kLayerColumnMax, kLayerEchoTops, kLayerVil};
    DayCellTracker tracker(options);
    for (size_t from = 0; from < texts.size(); from += kPartTerms) {
        TermSelection part(texts[std::min(texts.size(), from + kPartTerms) - 1]);
        part.first = texts[from];
        std::vector<DayTerm> terms;
        // Only the day's first part wants the hour before midnight.
        const bool read =
            from == 0 ? LoadMosaicTermsAcrossDays(loader, day, method, codes, part, terms, error)
                      : LoadMosaicDayTerms(loader, day, method, codes, part, terms, error);
        if (!read) return false;
        for (const DayTerm& term : terms) cells.push_back(tracker.add(term));
    }
    return true;
}

std::string CellsCsv(const std::vector<TermCells>& terms) {
    std::string csv =
        "term,id,lat,lon,area_km2,max_dbz,top_m,vil_max,speed_kmh,heading_deg,motion\n";
    for (const TermCells& term : terms) {
        for (const StormCell& cell : term.cells) {
            csv += term.termText + ',' + std::to_string(cell.id) + ',' +
                   Fixed(cell.centroid.lat, 4) + ',' + Fixed(cell.centroid.lon, 4) + ',' +
                   Fixed(cell.areaKm2, 0) + ',' + Fixed(cell.maxDbz, 1) + ',' +
                   (cell.topM ? std::to_string(*cell.topM) : std::string()) + ',' +
                   (cell.vilMax ? Fixed(*cell.vilMax, 1) : std::string()) + ',' +
                   (cell.moving() ? Fixed(cell.speedKmh, 0) + ',' + Fixed(cell.headingDeg, 0)
                                  : std::string(",")) +
                   ',' + CellMotionName(cell.motion) + '\n';
        }
    }
    return csv;
}

}  // namespace kalvera
