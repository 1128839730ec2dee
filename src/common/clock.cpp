#include "common/clock.h"

#include <chrono>
#include <ctime>

#include "common/date_time.h"

namespace kalvera {

double SystemClock::now() const {
    const auto instant = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(instant);
    // Terms and day files are stamped in GMT, so the clock they are compared
    // with is GMT too, whatever time zone the machine is set to.
    std::tm gmt{};
    if (gmtime_r(&seconds, &gmt) == nullptr) return 0.0;
    const auto sinceSecond = instant - std::chrono::system_clock::from_time_t(seconds);
    const double millis = static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count());
    const CivilDate date{gmt.tm_year + 1900, gmt.tm_mon + 1, gmt.tm_mday};
    // A leap second (tm_sec 60) is folded into the last second of the minute.
    const CivilTime time{gmt.tm_hour, gmt.tm_min, gmt.tm_sec > 59 ? 59 : gmt.tm_sec};
    double value = EncodeDateTime(date, time);
    if (millis > 0.0 && millis < 1000.0) value += millis / 86400000.0;
    return value;
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

}  // namespace kalvera
