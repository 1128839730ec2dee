#include "archive/data_age.h"

#include <algorithm>
#include <cmath>

#include "archive/day_archive.h"
#include "archive/frame_selection.h"
#include "common/date_time.h"

namespace kalvera {

NewestData FindNewestData(const std::string& dataRoot, const std::string& siteCode, double now) {
    const std::vector<LoopFrame> newest =
        SelectLoopFrames(dataRoot, siteCode, now, std::string(), 1);
    if (newest.empty()) return {};
    return {true, FrameDateTime(newest.front()), newest.front().termText};
}

namespace {

std::string Two(int value) {
    // Not "0" + text: GCC 12 at -O3 warns of a false overlap (-Wrestrict) there.
    std::string text = std::to_string(value);
    if (value < 10) text.insert(text.begin(), '0');
    return text;
}

// "4 мин", "2 ч 05 мин", "3 сут".
std::string Duration(long long minutes) {
    if (minutes < 60) return std::to_string(minutes) + " мин";
    if (minutes < 24 * 60) {
        return std::to_string(minutes / 60) + " ч " + Two(static_cast<int>(minutes % 60)) + " мин";
    }
    return std::to_string(minutes / (24 * 60)) + " сут";
}

}  // namespace

DataAge DescribeDataAge(const NewestData& newest, double now, int updatePeriodSeconds) {
    if (!newest.found) return {"нет данных", true};
    // Whole seconds, so that a term of 12.00 seen at 12.04 is 4 minutes old
    // and not 3 minutes and 59.99 seconds.
    const long long seconds = std::max(0LL, std::llround((now - newest.termTime) * 86400.0));
    const long long minutes = seconds / 60;
    // A term of an earlier day names its day too, so "23.50" is not read as
    // tonight's.
    std::string when = newest.termText;
    if (std::floor(newest.termTime) != std::floor(now)) {
        const CivilDate date = DecodeDate(newest.termTime);
        when = Two(date.day) + "." + Two(date.month) + " " + when;
    }
    const bool stalled = seconds > 3LL * updatePeriodSeconds && minutes >= kStallMinimumMinutes;
    if (stalled) return {when + ", нет данных " + Duration(minutes), true};
    return {when + ", " + Duration(minutes) + " назад", false};
}

}  // namespace kalvera
