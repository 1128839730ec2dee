#pragma once
// kalvera-cli as a script runs it: whole processes on one demo archive shared
// by a suite, with its first site's day and last term.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "output/output_test_support.h"

namespace kalvera::testing {

inline const std::string kCli = std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";

// One demo archive for the suite and its first site's day and last term.
class CliArchive : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        archive_ = new ScratchDir;
        start_ = archive_->file("start");
        if (!std::filesystem::exists(kCli) || !testing::WriteDemoArchive(start_)) return;
        for (const auto& site : std::filesystem::directory_iterator(start_ + "/archive")) {
            for (const auto& file : std::filesystem::directory_iterator(site.path())) {
                std::vector<std::string> terms;
                if (file.path().extension() != ".ind" ||
                    LoadTermList(file.path().string(), terms) == 0)
                    continue;
                site_ = site.path().filename().string();
                day_ = file.path().stem().string();
                term_ = terms.back();
                return;
            }
        }
    }
    static void TearDownTestSuite() {
        delete archive_;
        archive_ = nullptr;
    }
    void SetUp() override {
        if (term_.empty()) GTEST_SKIP() << "kalvera-cli or kalvera-demo is not built";
    }

    std::string args(const std::string& out, int layer = 22,
                     const std::string& command = "render") const {
        return command + " --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
               " --term " + term_ + " --layer " + std::to_string(layer) + " --out " + out;
    }
    // Exit status of kalvera-cli; its standard error is kept in `err`.
    int run(const std::string& arguments) {
        const std::string errFile = dir.file("stderr.txt");
        const int raw =
            std::system((testing::Quoted(kCli) + " " + arguments + " 2>" + errFile).c_str());
        err = testing::ReadWholeFile(errFile);
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    QImage load(const std::string& path) const { return QImage(QString::fromStdString(path)); }

    ScratchDir dir;
    std::string err;
    static inline ScratchDir* archive_ = nullptr;
    static inline std::string start_, site_, day_, term_;
};

}  // namespace kalvera::testing
