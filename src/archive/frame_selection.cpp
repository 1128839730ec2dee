#include "archive/frame_selection.h"

#include <algorithm>
#include <cmath>

#include "archive/day_archive.h"

namespace kalvera {

std::vector<LoopFrame> SelectLoopFrames(const std::string& dataRoot, const std::string& siteCode,
                                        double date, const std::string& termText, int count) {
    std::vector<LoopFrame> newestFirst;
    const double firstDay = std::floor(date);
    for (int back = 0; back <= kLoopSearchDays && static_cast<int>(newestFirst.size()) < count;
         ++back) {
        const double day = firstDay - back;
        const DayArchive archive = DayArchive::Of(dataRoot, siteCode, DayNameOf(day));
        std::vector<std::string> terms;
        LoadTermList(archive.indexPath, terms);
        for (auto term = terms.rbegin();
             term != terms.rend() && static_cast<int>(newestFirst.size()) < count; ++term) {
            // Term texts have two digits a field, so text order is time order.
            if (back == 0 && !termText.empty() && *term > termText) continue;
            newestFirst.push_back(
                {day, archive.dayName, *term, archive.indexPath, archive.basePath});
        }
    }
    std::reverse(newestFirst.begin(), newestFirst.end());
    return newestFirst;
}

int FrameDelayMs(bool newest, int fps, double dwellSeconds) {
    const int step = 1000 / std::clamp(fps, kLoopFpsMin, kLoopFpsMax);
    if (!newest || !(dwellSeconds > 0.0)) return step;
    const double dwell = std::min(dwellSeconds, kLoopDwellMax) * 1000.0;
    return std::max(step, static_cast<int>(std::lround(dwell)));
}

double FrameDateTime(const LoopFrame& frame) {
    int hour = 0, minute = 0;
    SplitTermText(frame.termText, hour, minute);
    return frame.date + (hour * 60 + minute) / 1440.0;
}

}  // namespace kalvera
