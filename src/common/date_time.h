#pragma once
// Date-time values: days counted from 1899-12-30 midnight as a double,
// the fraction being the time of day. All conversions are proleptic Gregorian
// and independent of the time zone; "now" comes from a Clock.

namespace kalvera {

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

struct CivilTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Builds the date-time value of midnight of a civil date.
double EncodeDate(int year, int month, int day);
double EncodeDateTime(const CivilDate& date, const CivilTime& time);
// Splits the whole-day part of a date-time value.
CivilDate DecodeDate(double dateTime);
// Splits the fraction of a date-time value, rounded to the second.
CivilTime DecodeTime(double dateTime);
// 1 = Monday ... 7 = Sunday.
int DayOfWeekIso(double dateTime);
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);

}  // namespace kalvera
