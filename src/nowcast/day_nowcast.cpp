#include "nowcast/day_nowcast.h"

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

std::vector<TermCells> TrackDay(const std::vector<DayTerm>& terms, const CellOptions& options) {
    CellTracker tracker(options);
    std::vector<TermCells> days;
    for (size_t k = 0; k < terms.size(); ++k) {
        const DayTerm& term = terms[k];
        const CellFields fields{term.termText, term.minutes, term.layer(kLayerColumnMax),
                                term.layer(kLayerEchoTops), term.layer(kLayerVil)};
        days.push_back(tracker.add(fields, MotionAt(terms, k, kLayerColumnMax)));
    }
    return days;
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
