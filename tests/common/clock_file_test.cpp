#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <ctime>

#include "common/clock.h"
#include "common/date_time.h"
#include "common/file_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

TEST(Clocks, TheSystemClockGivesTheGmtDateAndTime) {
    const std::time_t before = std::time(nullptr);
    const double now = systemClock().now();
    std::tm gmt{};
    gmtime_r(&before, &gmt);
    const double today = EncodeDate(gmt.tm_year + 1900, gmt.tm_mon + 1, gmt.tm_mday);
    // The call may straddle midnight, so the next day is allowed too.
    EXPECT_GE(now, today);
    EXPECT_LT(now, today + 2.0);
    EXPECT_NE(std::floor(now), now) << "the time of day is carried in the fraction";
}

TEST(WholeFileReads, GiveTheBytesAsTheyStandOrTheReason) {
    testing::TempDir dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    std::string read;
    int error = -1;
    ASSERT_TRUE(ReadFileBytes(dir.write("f.bin", bytes), read, error));
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(ReadFileBytes(dir.str() + "/missing", read, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(ReadFileBytes(dir.str(), read, error)) << "a directory is not a file";
    EXPECT_NE(error, 0);
}

}  // namespace
}  // namespace kalvera
