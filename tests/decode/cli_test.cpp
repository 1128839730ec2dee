// kalvera-cli decode and info, run as a program against files made by the writer.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::concat;
using testing::TempFile;

struct CliRun {
    int status = -1;
    std::string out;
};

std::string cliPath() {
    return std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";
}

CliRun run(const std::string& arguments) {
    CliRun result;
    const std::string command = cliPath() + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.out.append(chunk, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(cliPath())) GTEST_SKIP() << "kalvera-cli is not built";
    }
};

TEST_F(Cli, DecodePrintsTheGridAsJson) {
    bufr::GenericProduct p = testing::smallGenericProduct();
    p.groups.push_back({3, 100, {101}});
    const TempFile file(concat({Bytes{'x', 'y'}, bufr::writeGenericMessage(p)}));
    const CliRun r = run("decode " + file.path() + " 0 --layer 3 --site 26063");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out.rfind("{\"ok\": true, \"first_descriptor\": \"0 01 018\", \"count\": 4, "
                    "\"site_lat\": 40, \"site_lon\": 30, \"values\": [100, 100, 100, 101, 0, 0",
                    0),
        0u)
        << r.out.substr(0, 200);
    EXPECT_EQ(r.out.substr(r.out.size() - 6), ", 0]}\n");
}

TEST_F(Cli, DecodeOfAMissingMessageExitsOne) {
    const TempFile file(bufr::writeFixedMessage(testing::smallFixedProduct()));
    const CliRun r = run("decode " + file.path() + " -1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("{\"ok\": false, \"first_descriptor\": null, \"count\": 0, ", 0), 0u);
}

TEST_F(Cli, UsageErrorsExitTwo) {
    EXPECT_EQ(run("decode").status, 2);
    EXPECT_EQ(run("decode somefile 12abc").status, 2);
    EXPECT_EQ(run("decode somefile 0 --layer").status, 2);
    EXPECT_EQ(run("decode somefile 0 --colour red").status, 2);
    EXPECT_EQ(run("info somefile").status, 2);
}

TEST_F(Cli, InfoListsExpansionsOrNamesWhyTheMessageIsRejected) {
    const TempFile good(bufr::writeFixedMessage(testing::smallFixedProduct()));
    CliRun r = run("info " + good.path() + " 0");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("data category: 6"), std::string::npos);
    EXPECT_NE(r.out.find("  3 01 001\n    0 01 001  WMO block number"), std::string::npos) << r.out;
    bufr::MessageOptions options;
    options.category = 2;
    const TempFile bad(bufr::writeFixedMessage(testing::smallFixedProduct(), options));
    r = run("info " + bad.path() + " 0");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"BUFR\" found at offset 0"), std::string::npos);
    EXPECT_NE(r.out.find("rejected: data category is not 6"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace kalvera
