// What every kalvera-cli command promises a script: command lines it cannot
// honour are usage errors, an answer that cannot be written is a failure, and
// what `help` lists is on the manual page.
#include <map>
#include <sstream>

#include "output/cli_fixture.h"

namespace kalvera {
namespace {

using CliContract = testing::CliArchive;
using testing::kCli;

TEST_F(CliContract, CommandLinesItCannotHonourAreUsageErrors) {
    const std::string day = " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    const std::string term = day + " --term " + term_;
    const std::string at = " --lat 55 --lon 37";
    const std::string rows[] = {
        "loop --frames 3" + term + " --layer 1 --out " + dir.file("loop.png"),
        "probe" + term + " --layer 1 --lat inf --lon 37",
        "probe" + term + " --layer 1 --lat 91 --lon 37",
        "probe" + term + " --layer 1 --lat 55 --lon nan",
        "history" + day + " --lat 55 --lon 400",
        "history" + day + " --lat -inf --lon 37",
        "history --start-dir " + start_ + " --site " + site_ + " --day 26120" + at,
        "probe --start-dir " + start_ + " --site " + site_ + " --day 261340 --term " + term_ +
            " --layer 1" + at,
        "section --start-dir " + start_ + " --site " + site_ + " --day x --term " + term_ +
            " --from 55,37 --to 56,38 --out " + dir.file("s.csv"),
        "newest --start-dir " + start_ + " --day 2612077",
        "probe" + term + " --layer 256" + at,
        "render" + term + " --layer 257 --out " + dir.file("p.png"),
        "newest --start-dir " + start_ + " --layer max",
        "export" + term + " --layer 1 --out " + dir.file("g.tif") + " --side 300",
        "export" + term + " --layer 1 --out " + dir.file("g.kmz") + " --centre 55,37",
        "export" + term + " --layer 1 --out " + dir.file("g.geojson") + " --half-extent 50",
        "export" + term + " --layer 1 --out " + dir.file("g.tif") + " --world-file",
        "render" + term + " --layer 1 --out " + dir.file("page.pdf") + " --side 300",
        "export" + term + " --layer 1 --out " + dir.file("t.h5"),
        "export" + term + " --layers 1,1 --out " + dir.file("t.h5"),
        "batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
            " --layers all --format h5 --out " + dir.file("b") + " --mosaic --method best",
        "batch --start-dir " + start_ + " --from " + day_ + " --to " + day_ +
            " --layers all --format h5 --out " + dir.file("b") + " --shard 3/2",
        "batch --start-dir " + start_ + " --from " + day_ + " --to 000101 --layers all" +
            " --format tif --out " + dir.file("b"),
    };
    for (const std::string& row : rows) EXPECT_EQ(run(row), 2) << row << "\n" << err;
    EXPECT_EQ(testing::CountFiles(dir.str()), 2u) << "only the captured output";
}

TEST_F(CliContract, AnAnswerThatCannotBeWrittenIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string day = " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    const std::string base = start_ + "/archive/" + site_ + "/" + day_ + ".bas";
    const std::string rows[] = {
        "probe" + day + " --term " + term_ + " --layer 1 --lat 55 --lon 37",
        "history" + day + " --lat 55 --lon 37",
        "newest --start-dir " + start_,
        "decode " + base + " 0",
        "info " + base + " 0",
        "help",
        "--version",
    };
    const std::string errFile = dir.file("stderr.txt");
    for (const std::string& row : rows) {
        ASSERT_EQ(run(row), 0) << row << "\n" << err;
        const int raw =
            std::system((testing::Quoted(kCli) + " " + row + " >/dev/full 2>" + errFile).c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1) << row;
        EXPECT_NE(
            testing::ReadWholeFile(errFile).find("kalvera-cli: cannot write the standard output"),
            std::string::npos)
            << row;
    }
}

// The page as a reader sees it: roff's hyphens and font changes taken out.
std::string ManPageText(const std::string& roff) {
    std::string text;
    for (size_t i = 0; i < roff.size(); ++i) {
        if (roff.compare(i, 2, "\\-") == 0) {
            text += '-';
            ++i;
        } else if (roff.compare(i, 3, "\\fB") == 0 || roff.compare(i, 3, "\\fI") == 0 ||
                   roff.compare(i, 3, "\\fR") == 0) {
            i += 2;
        } else {
            text += roff[i];
        }
    }
    return text;
}

TEST_F(CliContract, EveryCommandAndOptionThatHelpListsIsOnTheManualPage) {
    const std::string page =
        ManPageText(testing::ReadWholeFile(std::string(KALVERA_BINARY_DIR) + "/man/kalvera-cli.1"));
    ASSERT_FALSE(page.empty()) << "the manual page was not generated";
    ASSERT_EQ(run("help"), 0);
    // Each command's synopsis starts "  kalvera-cli NAME" and goes on in the
    // lines indented further; its summary is indented less.
    std::map<std::string, std::vector<std::string>> options;
    std::istringstream lines(printed);
    std::string command;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word;
        if (line.rfind("  kalvera-cli ", 0) == 0) {
            words >> word >> command;
        } else if (line.rfind("        ", 0) != 0) {
            continue;
        }
        while (words >> word) {
            const size_t start = word.find("--"), end = word.find_first_of("]", start);
            if (start != std::string::npos)
                options[command].push_back(word.substr(start, end - start));
        }
        options[command];
    }
    ASSERT_GE(options.size(), 10u) << printed;
    for (const auto& [name, names] : options) {
        const size_t from = page.find("\n.SS " + name + "\n");
        ASSERT_NE(from, std::string::npos) << name;
        const std::string section = page.substr(from, page.find("\n.S", from + 1) - from);
        for (const std::string& option : names) {
            EXPECT_NE(section.find(option), std::string::npos) << name << " " << option;
        }
        EXPECT_EQ(run("help " + name), 0) << name;
        // Documented commands are the ones that run.
        if (name != "help") {
            EXPECT_EQ(run(name), 2) << name;
        }
        EXPECT_EQ(err.find("unknown command"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace kalvera
