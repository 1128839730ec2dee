#include "products/point_history.h"

#include <map>

#include "archive/day_archive.h"
#include "archive/index_records.h"
#include "geo/radar_grid.h"
#include "products/section.h"

namespace kalvera {

namespace {

// Offsets of the kept layers of every term, from one pass over the index.
bool ReadDayOffsets(const std::string& indexPath, std::map<std::string, TermOffsets>& terms) {
    return ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        auto [entry, added] = terms.try_emplace(TermTextOf(record.hour, record.minute));
        if (added) entry->second.fill(-1);
        KeepFirstOffset(entry->second, record.layerCode, record.offset);
        return true;
    });
}

}  // namespace

std::string HistorySubject(const DisplayState& day, float lat, float lon) {
    return "product: point history\nsite: " + day.siteCode + "\nday: " + day.dayName +
           "\npoint: " + CoordinateText(lat) + ',' + CoordinateText(lon) +
           "\nlayers: 1-10 as v1-v10 (reflectivity, 2 x dBZ), 21 as top (echo tops, m), "
           "22 as weather (phenomenon code), max (column maximum, 2 x dBZ), vil (kg/m2)\n";
}

std::string HistoryCsv(const DisplayState& day, float lat, float lon,
                       const std::vector<HistoryRow>& rows) {
    std::string csv = CsvComments(HistorySubject(day, lat, lon)) + "term";
    for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) csv += ",v" + std::to_string(n);
    csv += ",top,weather,max,vil\n";
    const auto field = [](const std::optional<int32_t>& value) {
        return value ? ',' + std::to_string(*value) : std::string(",");
    };
    for (const HistoryRow& row : rows) {
        csv += row.term;
        for (const auto& value : row.layers) csv += field(value);
        csv += field(row.top) + field(row.weather) + field(row.columnMax);
        csv += ',' + (row.vilTenths ? VilText(*row.vilTenths) : std::string()) + '\n';
    }
    return csv;
}

void DeriveRow(const TermLayers& term, float lat, float lon, HistoryRow& row) {
    row.columnMax.reset();
    row.vilTenths.reset();
    // A product the picture would refuse is not shown here either.
    if (!term.hasHeights() || !term.columnWhole()) return;
    const RadarGrid grid = RadarGrid::AroundSite(term.siteLon, term.siteLat);
    const GridCell at = grid.CellAt(lat, lon);
    if (!at.valid()) {
        row.columnMax = kOutsideGrid;
        row.vilTenths = kOutsideGrid;
        return;
    }
    CellColumn column;
    for (int n = 0; n < kHeightLayers; ++n) {
        const DecodedLayer* layer = term.grids[static_cast<size_t>(n)].get();
        if (layer) column[static_cast<size_t>(n)] = layer->picture.values[grid.IndexOf(at)];
    }
    row.columnMax = DerivedValue(kLayerColumnMax, column);
    row.vilTenths = DerivedValue(kLayerVil, column);
}

bool PointHistory(const DisplayState& day, float lat, float lon, std::vector<HistoryRow>& rows,
                  const LayerDecoder& decode) {
    rows.clear();
    std::map<std::string, TermOffsets> terms;
    if (!ReadDayOffsets(day.indexPath, terms)) return false;
    DisplayState state = day;
    TermLayers term;
    for (const auto& entry : terms) {
        HistoryRow& row = rows.emplace_back();
        row.term = entry.first;
        state.termText = entry.first;
        const TermOffsets& offsets = entry.second;
        const LayerOffsets lookup = [&offsets](int code) { return OffsetOf(offsets, code); };
        LoadTermLayers(state, KeptLayerCodes(), lookup, term, decode);
        ColumnAndTopsAt(term, lat, lon, row.layers, row.top);
        row.weather = LayerValueAt(term, kLayerWeather, lat, lon);
        DeriveRow(term, lat, lon, row);
    }
    return true;
}

}  // namespace kalvera
