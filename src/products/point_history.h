#pragma once
// What one point of the map held through a day: for every term, the values
// of layers 1..10, the echo tops and the phenomena there, with the column
// maximum and VIL of that column.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "products/derived_products.h"
#include "products/term_layers.h"

namespace kalvera {

struct HistoryRow {
    std::string term;   // "HH.MM"
    CellColumn layers;  // index N - 1
    std::optional<int32_t> top;
    std::optional<int32_t> weather;
    std::optional<int32_t> columnMax;
    std::optional<int32_t> vilTenths;
};

// One row per term of the day of `day` (its index and base file and site),
// in term order. Each field is what a reading of that term's picture of the
// layer gives at the point (kOutsideGrid outside the grid); empty where the
// term lacks the layer, or for the derived fields all of layers 1..10 or
// one of them that is listed but does not decode.
// Reads the index once and only the messages of these twelve layers. False
// when the index cannot be read.
bool PointHistory(const DisplayState& day, float lat, float lon, std::vector<HistoryRow>& rows,
                  const LayerDecoder& decode = DecodeArchiveMessage);

// What the history of (lat, lon) over the day of `day` is of, as lines
// "key: value": the product, site, day, point and what the columns hold.
std::string HistorySubject(const DisplayState& day, float lat, float lon);

// The rows of that history as CSV: the subject as comment lines, a header row
// "term,v1,...,v10,top,weather,max,vil" and a row per term; VIL in kg/m2 with
// one decimal, a missing value empty.
std::string HistoryCsv(const DisplayState& day, float lat, float lon,
                       const std::vector<HistoryRow>& rows);

// The derived fields of a row, from the term's decoded layers: the column at
// the cell under the point of the site a derived picture is placed at.
void DeriveRow(const TermLayers& term, float lat, float lon, HistoryRow& row);

}  // namespace kalvera
