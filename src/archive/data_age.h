#pragma once
// How old a site's newest data is, as the loop panel shows it: "22.10, 4 мин
// назад", or a stall once nothing has come for three update periods and at
// least a quarter of an hour. The newest term is looked for across days, so
// the empty archive of a day that has just begun is no stall.

#include <string>

namespace kalvera {

constexpr int kStallMinimumMinutes = 15;

struct NewestData {
    bool found = false;
    double termTime = 0.0;  // date-time value of the newest term
    std::string termText;
};

// The newest term of `siteCode` on the day of `now` or the days before it
// (as far back as a loop looks).
NewestData FindNewestData(const std::string& dataRoot, const std::string& siteCode, double now);

struct DataAge {
    std::string text;  // UTF-8
    bool stalled = false;
};

// The line for `newest` seen at `now`, with the timer's update period in
// seconds. A term stamped later than `now` counts as just arrived.
DataAge DescribeDataAge(const NewestData& newest, double now, int updatePeriodSeconds);

}  // namespace kalvera
