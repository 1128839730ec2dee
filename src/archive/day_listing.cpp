#include "archive/day_listing.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "common/date_time.h"

namespace kalvera {

namespace {

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() == 1 ? "0" + text : text;
}

// The 3rd and 4th characters of a four-character year text; other years give
// an empty prefix, which matches no file.
std::string YearDigits(int year) {
    const std::string text = std::to_string(year);
    return text.size() == 4 ? text.substr(2, 2) : std::string();
}

bool ParseDay(const std::string& text, int& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

}  // namespace

std::vector<std::string> ListDaysWithData(const std::string& directory, int year, int month) {
    std::vector<std::string> days;
    const std::string years = YearDigits(year);
    if (years.empty() || month < 1 || month > 12) return days;
    const std::string prefix = years + TwoDigits(month);

    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    if (error) return days;
    std::vector<std::string> names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) break;
        std::string name = it->path().filename().string();
        const bool isIndex = name.size() >= 4 && name.compare(name.size() - 4, 4, ".ind") == 0;
        if (isIndex && name.size() >= 6 + 4 && name.compare(0, 4, prefix) == 0) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) days.push_back(name.substr(4, 2));
    return days;
}

bool DayHasData(const std::vector<std::string>& days, int day) {
    for (const std::string& text : days) {
        int value = 0;
        if (ParseDay(text, value) && value == day) return true;
    }
    return false;
}

int MonthCellIndex(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return -1;
    const int firstColumn = DayOfWeekIso(EncodeDate(year, month, 1)) - 1;
    const int column = DayOfWeekIso(EncodeDate(year, month, day)) - 1;
    const int row = (day - 1 + firstColumn) / kMonthGridColumns;
    return row * kMonthGridColumns + column;
}

MonthGrid LayOutMonth(int year, int month, const std::vector<std::string>& days) {
    MonthGrid grid{};
    if (month < 1 || month > 12) return grid;
    const int count = DaysInMonth(year, month);
    for (int day = 1; day <= count; ++day) {
        const int index = MonthCellIndex(year, month, day);
        if (index < 0 || index >= kMonthGridCells) continue;
        grid[index].day = day;
        grid[index].enabled = DayHasData(days, day);
    }
    return grid;
}

std::string PickedDayName(int year, int month, int day) {
    const std::string years = YearDigits(year);
    if (years.empty()) return std::string();
    return years + TwoDigits(month) + TwoDigits(day);
}

}  // namespace kalvera
