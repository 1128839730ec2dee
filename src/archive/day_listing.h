#pragma once
// Which days of a month a site has data for, and how the month is laid out in
// the date picker's 6 x 7 grid (Monday first).

#include <array>
#include <string>
#include <vector>

namespace kalvera {

constexpr int kMonthGridRows = 6;
constexpr int kMonthGridColumns = 7;
constexpr int kMonthGridCells = kMonthGridRows * kMonthGridColumns;

// Two-character day texts of the index files "YYMMDD.ind" in `directory` whose
// first four characters are the year's two last digits and the month; in name
// order. Empty when the directory cannot be listed or the year is not a
// four-digit year.
std::vector<std::string> ListDaysWithData(const std::string& directory, int year, int month);

// True when some entry of `days`, read as a number, equals `day`. Entries that
// are not numbers are ignored.
bool DayHasData(const std::vector<std::string>& days, int day);

// One button of the grid: day 0 is a cell outside the month (empty, disabled).
struct MonthCell {
    int day = 0;
    bool enabled = false;
};

using MonthGrid = std::array<MonthCell, kMonthGridCells>;

// Row-major cells, row 0 holding the 1st of the month; a day is enabled only
// when `days` names it.
MonthGrid LayOutMonth(int year, int month, const std::vector<std::string>& days);

// Grid index of a day of the month (row * 7 + column), or -1 when the day is
// not in the month.
int MonthCellIndex(int year, int month, int day);

// "YYMMDD" for a picked day: the two last digits of the year, month and day
// each two digits. Empty when the year is not four digits.
std::string PickedDayName(int year, int month, int day);

}  // namespace kalvera
