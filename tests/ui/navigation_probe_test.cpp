// kalvera-cli probe, run as a program: the header readout of a point of a
// term's picture, for a script to check without a display.

#include <sys/wait.h>

#include <cstdio>

#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

class ProbeTest : public ::testing::Test {
  protected:
    ProbeTest() : dir(60, {{"S1", 55.0f, 37.0f}}) {
        dir.addTerm("S1", DayFromNow(0), 9, 0, {0, 3}, 10);
        dir.addTerm("S1", DayFromNow(0), 9, 0, {22}, 3);
    }
    void SetUp() override {
        if (!fs::exists(cli)) GTEST_SKIP() << "kalvera-cli is not built";
    }

    // Runs the probe on today's 09.00 term; the exit status, and the output.
    int probe(const std::string& arguments, std::string* out = nullptr) {
        const std::string command = cli + " probe --start-dir " + dir.path() + " --site S1 --day " +
                                    DayFromNow(0) + " --term 09.00 " + arguments + " 2>/dev/null";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        char chunk[1024];
        for (size_t n = 0; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            if (out != nullptr) out->append(chunk, n);
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string cli = std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";
    StartDir dir;
};

TEST_F(ProbeTest, PrintsTheHeaderReadoutOfThePoint) {
    std::string out;
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37", &out), 0);
    EXPECT_EQ(out,
              "{\"value\": \"10\", \"azimuth\": \"0\", \"range\": \"0\", \"lat\": \"55.0\", "
              "\"lon\": \"37.0\"}\n");
    const struct {
        const char* arguments;
        const char* part;
    } rows[] = {
        {"--layer 22 --lat 55 --lon 37", "{\"value\": \"Осадки слабые\", "},
        {"--layer 3 --lat 58 --lon 37", "{\"value\": \"65535\", "},  // outside the radar square
        {"--layer 22 --lat 58 --lon 37", "{\"value\": \"\", "},
        {"--layer 3 --lat 55 --lon 37 --centre 55,38", "\"azimuth\": \"271\", \"range\": \"64\""},
    };
    for (const auto& row : rows) {
        out.clear();
        EXPECT_EQ(probe(row.arguments, &out), 0) << row.arguments;
        EXPECT_NE(out.find(row.part), std::string::npos) << row.arguments << ": " << out;
    }
}

TEST_F(ProbeTest, ATermThatCannotBeLoadedExitsWithOneAndBadArgumentsWithTwo) {
    EXPECT_EQ(probe("--layer 5 --lat 55 --lon 37"), 1);
    for (const char* arguments :
         {"--layer x --lat 55 --lon 37", "--layer 3 --lat 55",
          "--layer 3 --lat 55 --lon 37 --centre 55", "--layer 3 --lat 55 --lon 37 --colour red"}) {
        EXPECT_EQ(probe(arguments), 2) << arguments;
    }
    // A relative data directory is taken from the start directory.
    std::ofstream(dir.path() + "/settings") << "data/ 60 S1 x 55 37\n";
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37"), 0);
    fs::remove(dir.path() + "/settings");
    EXPECT_EQ(probe("--layer 3 --lat 55 --lon 37"), 1);
}

}  // namespace kalvera::navtest
