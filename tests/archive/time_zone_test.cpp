// Terms and day files are GMT: the clock, the newest day and the data age
// agree with them whatever time zone the machine is set to.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "archive/data_age.h"
#include "archive/day_archive.h"
#include "archive/index_bytes.h"
#include "common/clock.h"
#include "common/date_time.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

// TZ for one scope; the old value comes back when it ends.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        if (old != nullptr) old_ = old;
        had_ = old != nullptr;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (had_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

  private:
    std::string old_;
    bool had_ = false;
};

TEST(TimeZones, ATermSevenMinutesOldIsSevenMinutesOldOnTodaysFileEverywhere) {
    // Kiritimati's date is a day ahead of GMT from 10 to 24 GMT and Pago
    // Pago's a day behind from 0 to 11 GMT, so at any hour one of them would
    // show a local clock's date apart from GMT's.
    for (const char* zone :
         {"Pacific/Kiritimati", "Pacific/Pago_Pago", "Europe/Moscow", "America/New_York", "UTC"}) {
        const TimeZone inZone(zone);
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        const double gmt =
            EncodeDate(1970, 1, 1) + std::chrono::duration<double>(sinceEpoch).count() / 86400.0;
        const double now = systemClock().now();
        EXPECT_NEAR(now, gmt, 2.0 / 86400.0) << zone;

        // A term on a whole minute, 7 minutes and under a minute before now.
        const long long minutes = std::llround(gmt * 86400.0) / 60 - 7;
        const double term = static_cast<double>(minutes) / 1440.0;
        const CivilTime at = DecodeTime(term);
        testing::TempDir dir;
        dir.write("S/" + DayNameOf(term) + ".ind",
                  testing::IndexRecordBytes(at.hour, at.minute, 22, 0));

        DisplayState state;
        state.siteCode = "S";
        ASSERT_TRUE(FindLatestDay(state, dir.prefix(), systemClock())) << zone;
        EXPECT_EQ(state.dayName, DayNameOf(term)) << zone;
        const DataAge age = DescribeDataAge(FindNewestData(dir.prefix(), "S", now), now, 60);
        EXPECT_TRUE(age.text.ends_with(TermTextOf(at.hour, at.minute) + ", 7 мин назад"))
            << zone << ": " << age.text;
        EXPECT_FALSE(age.stalled) << zone;
    }
}

}  // namespace
}  // namespace kalvera
