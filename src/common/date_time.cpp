#include "common/date_time.h"

#include <cmath>
#include <cstdint>

namespace kalvera {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date, in integers only
// (eras of 400 years make the leap rule exact for any year).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

// 1899-12-30, the day the date-time value counts from.
constexpr int64_t kEpochFromUnixDays = -25569;

// Date-time values far outside any calendar a person uses would overflow the
// integer arithmetic; they are pinned to this many days either side.
constexpr double kDayLimit = 1.0e9;

int64_t WholeDays(double dateTime) {
    if (std::isnan(dateTime)) return 0;
    const double clamped = std::fmax(-kDayLimit, std::fmin(kDayLimit, dateTime));
    return static_cast<int64_t>(std::floor(clamped));
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

double EncodeDate(int year, int month, int day) {
    // Months outside 1..12 carry into the year and days beyond the month run
    // on into the next ones, so callers may step fields without normalising.
    int64_t zeroBasedMonth = static_cast<int64_t>(month) - 1;
    int64_t fullYear = static_cast<int64_t>(year) + zeroBasedMonth / 12;
    zeroBasedMonth %= 12;
    if (zeroBasedMonth < 0) {
        zeroBasedMonth += 12;
        fullYear -= 1;
    }
    const int64_t firstOfMonth = DaysFromCivil(fullYear, zeroBasedMonth + 1, 1);
    return static_cast<double>(firstOfMonth + (static_cast<int64_t>(day) - 1) - kEpochFromUnixDays);
}

double EncodeDateTime(const CivilDate& date, const CivilTime& time) {
    const double seconds = time.hour * 3600.0 + time.minute * 60.0 + time.second;
    return EncodeDate(date.year, date.month, date.day) + seconds / 86400.0;
}

CivilDate DecodeDate(double dateTime) {
    return CivilFromDays(WholeDays(dateTime) + kEpochFromUnixDays);
}

CivilTime DecodeTime(double dateTime) {
    if (!std::isfinite(dateTime)) return CivilTime{};
    const double fraction = dateTime - std::floor(dateTime);
    int64_t seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
    // A fraction a hair below the next midnight still belongs to this day.
    if (seconds >= 86400) seconds = 86399;
    if (seconds < 0) seconds = 0;
    return CivilTime{static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                     static_cast<int>(seconds % 60)};
}

int DayOfWeekIso(double dateTime) {
    // 1899-12-30 was a Saturday (ISO 6).
    const int64_t days = WholeDays(dateTime);
    int64_t index = (days + 5) % 7;
    if (index < 0) index += 7;
    return static_cast<int>(index) + 1;
}

}  // namespace kalvera
