// kalvera-cli probe, run as a program: the header readout of a point of a
// term's picture, for a script to check without a display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/navigation_fixture.h"

namespace kalvera {
namespace {

using navtest::DayFromNow;
using navtest::StartDir;

struct ProbeRun {
    int status = -1;
    std::string out;
};

std::string CliPath() {
    return std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";
}

class ProbeTest : public ::testing::Test {
  protected:
    ProbeTest() : dir("probe", 60, {{"S1", 55.0f, 37.0f}}) {
        dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 3}, 10);
        dir.addTerm("S1", DayFromNow(0), 9, 0, {22}, 3);
    }
    void SetUp() override {
        if (!std::filesystem::exists(CliPath())) GTEST_SKIP() << "kalvera-cli is not built";
    }

    ProbeRun probe(const std::string& arguments) {
        ProbeRun result;
        const std::string command = CliPath() + " probe --start-dir " + dir.path() +
                                    " --site S1 --day " + DayFromNow(0) + " --term 09.00 " +
                                    arguments + " 2>/dev/null";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char chunk[1024];
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.out.append(chunk, n);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    StartDir dir;
};

TEST_F(ProbeTest, AtTheSiteTheValueAndZeroAzimuthAndRange) {
    const ProbeRun run = probe("--layer 3 --lat 55 --lon 37");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "{\"value\": \"10\", \"azimuth\": \"0\", \"range\": \"0\", \"lat\": \"55.0\", "
              "\"lon\": \"37.0\"}\n");
}

TEST_F(ProbeTest, OutsideTheRadarSquare) {
    EXPECT_EQ(probe("--layer 3 --lat 58 --lon 37").out.rfind("{\"value\": \"65535\", ", 0), 0u);
    EXPECT_EQ(probe("--layer 22 --lat 58 --lon 37").out.rfind("{\"value\": \"\", ", 0), 0u);
}

TEST_F(ProbeTest, WeatherCodesAreNamed) {
    const ProbeRun run = probe("--layer 22 --lat 55 --lon 37");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("{\"value\": \"Осадки слабые\", ", 0), 0u) << run.out;
}

TEST_F(ProbeTest, AGivenCentreMovesAzimuthAndRange) {
    const ProbeRun run = probe("--layer 3 --lat 55 --lon 37 --centre 55,38");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"azimuth\": \"271\", \"range\": \"64\""), std::string::npos)
        << run.out;
}

TEST_F(ProbeTest, ARelativeDataDirectoryIsTakenFromTheStartDirectory) {
    std::ofstream(dir.path() + "/settings") << "data/ 60 S1 x 55 37\n";
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37").status, 0);
}

TEST_F(ProbeTest, ATermThatCannotBeLoadedExitsWithOne) {
    EXPECT_EQ(probe("--layer 5 --lat 55 --lon 37").status, 1);
    std::filesystem::remove(dir.path() + "/settings");
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37").status, 1);
}

TEST_F(ProbeTest, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(probe("--layer x --lat 55 --lon 37").status, 2);
    EXPECT_EQ(probe("--layer 3 --lat 55").status, 2);
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37 --centre 55").status, 2);
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37 --colour red").status, 2);
}

}  // namespace
}  // namespace kalvera
