#pragma once
// Which terms a loop shows: the newest ones up to and including the selected
// term, oldest first, reaching back into earlier days when the selected day
// holds too few.

#include <string>
#include <vector>

namespace kalvera {

constexpr int kLoopFramesMin = 2;
constexpr int kLoopFramesMax = 72;
constexpr int kLoopFramesDefault = 12;
constexpr int kLoopFpsMin = 1;
constexpr int kLoopFpsMax = 15;
constexpr int kLoopFpsDefault = 4;
constexpr double kLoopDwellDefault = 1.5;
constexpr double kLoopDwellMax = 30.0;
// Days looked at before the selected one; a site whose archive has a longer
// hole than this gives a shorter loop rather than a slow search.
constexpr int kLoopSearchDays = 10;

// One term of one day, with the files it is read from.
struct LoopFrame {
    double date = 0.0;  // midnight of the term's day
    std::string dayName;
    std::string termText;
    std::string indexPath;
    std::string basePath;
    bool operator==(const LoopFrame& other) const = default;
};

// The `count` newest terms of `siteCode` up to and including `termText` of the
// day of `date`, oldest first. An empty `termText` takes the whole day. Days
// without an index file are passed over. Fewer frames when the archive holds
// fewer; none when `count` is below 1.
std::vector<LoopFrame> SelectLoopFrames(const std::string& dataRoot, const std::string& siteCode,
                                        double date, const std::string& termText, int count);

// How long a frame stays, in milliseconds: 1/fps, and on the newest frame the
// dwell, though never less than 1/fps. Out-of-range values are clamped.
int FrameDelayMs(bool newest, int fps, double dwellSeconds);

// Date-time value of a frame's term (its day plus hours and minutes).
double FrameDateTime(const LoopFrame& frame);

}  // namespace kalvera
