// kalvera-cli render as a script runs it: a whole process on a demo archive.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <filesystem>
#include <vector>

#include "archive/day_archive.h"
#include "output/output_test_support.h"

namespace kalvera {
namespace {

using testing::CommandOutput;
using testing::CountFiles;
using testing::HaveTool;
using testing::ScratchDir;

const std::string kCli = std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-cli";
const std::string kDemo = std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-demo";

struct CliRun {
    int status = -1;
    std::string err;
};

// Runs kalvera-cli with the arguments; standard error is kept.
CliRun RunCli(const std::string& args, const std::string& errFile) {
    CliRun run;
    const int raw = std::system((testing::Quoted(kCli) + " " + args + " 2>" + errFile).c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = testing::ReadWholeFile(errFile);
    return run;
}

// One demo archive for the suite, with a term every four hours: enough to
// draw, and quick to write even in the sanitizer build.
class CliRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!std::filesystem::exists(kCli) || !std::filesystem::exists(kDemo)) return;
        archive_ = new ScratchDir;
        start_ = archive_->file("start");
        if (std::system(
                (testing::Quoted(kDemo) + " " + start_ + " --days 1 --step 240 >/dev/null 2>&1")
                    .c_str()) != 0)
            return;
        // The first site directory and its day, and the day's last term.
        for (const auto& site : std::filesystem::directory_iterator(start_ + "/archive")) {
            for (const auto& file : std::filesystem::directory_iterator(site.path())) {
                if (file.path().extension() != ".ind") continue;
                std::vector<std::string> terms;
                if (LoadTermList(file.path().string(), terms) == 0) continue;
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

    std::string Args(const std::string& out, int layer = 22) const {
        return "render --start-dir " + start_ + " --site " + site_ + " --day " + day_ + " --term " +
               term_ + " --layer " + std::to_string(layer) + " --out " + out;
    }

    ScratchDir dir;
    std::string err = dir.file("stderr.txt");
    static ScratchDir* archive_;
    static std::string start_, site_, day_, term_;
};

ScratchDir* CliRender::archive_ = nullptr;
std::string CliRender::start_, CliRender::site_, CliRender::day_, CliRender::term_;

TEST_F(CliRender, JpegHasTheExportSizeAndEncoding) {
    const std::string out = dir.file("picture.jpg");
    const CliRun run = RunCli(Args(out), err);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(out), "JPEG"));
    EXPECT_EQ(image.size(), QSize(700 + 100, 700 + 40));
    if (HaveTool("identify")) {
        const std::string report = CommandOutput("identify -verbose " + out);
        EXPECT_NE(report.find("Quality: 90"), std::string::npos);
        EXPECT_NE(report.find("Interlace: None"), std::string::npos);
    }
}

TEST_F(CliRender, PngByNameWithAnotherSide) {
    const std::string out = dir.file("picture.PNG");
    const CliRun run = RunCli(Args(out, 1) + " --side 300 --half-extent 100", err);
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(out), "PNG"));
    EXPECT_EQ(image.size(), QSize(400, 340));
}

TEST_F(CliRender, CentreMovesTheMap) {
    const std::string a = dir.file("a.png");
    const std::string b = dir.file("b.png");
    ASSERT_EQ(RunCli(Args(a) + " --side 200", err).status, 0);
    ASSERT_EQ(RunCli(Args(b) + " --side 200 --centre 50.0,30.0", err).status, 0);
    QImage first, second;
    ASSERT_TRUE(first.load(QString::fromStdString(a)));
    ASSERT_TRUE(second.load(QString::fromStdString(b)));
    EXPECT_NE(first.copy(0, 40, 200, 200), second.copy(0, 40, 200, 200));
}

TEST_F(CliRender, PdfIsThePrintedPage) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const std::string out = dir.file("page.pdf");
    const CliRun run = RunCli(Args(out, 3), err);
    ASSERT_EQ(run.status, 0) << run.err;
    CommandOutput("pdftoppm -r 50 -png -singlefile " + out + " " + dir.file("page"));
    QImage page;
    ASSERT_TRUE(page.load(QString::fromStdString(dir.file("page.png"))));
    // A4 portrait at 50 dots per inch.
    EXPECT_NEAR(page.width(), 413, 1);
    EXPECT_NEAR(page.height(), 585, 1);
    // Blue rings and grid inside the square, which starts at 40 mm.
    int blue = 0;
    for (int y = 80; y < 80 + 395; ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qBlue(p) > 180 && qRed(p) < 90 && qGreen(p) < 90) ++blue;
        }
    EXPECT_GT(blue, 500);
}

TEST_F(CliRender, MissingTermExitsOneWithTheReasonAndWritesNothing) {
    const std::string out = dir.file("none.jpg");
    const std::string args = "render --start-dir " + start_ + " --site " + site_ + " --day " +
                             day_ + " --term 25.61 --layer 22 --out " + out;
    const CliRun run = RunCli(args, err);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no message for term 25.61"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    const CliRun noSite = RunCli(Args(out) + " --site 00000", err);
    EXPECT_EQ(noSite.status, 1);
    EXPECT_NE(noSite.err.find("index file"), std::string::npos) << noSite.err;
    EXPECT_EQ(CountFiles(dir.path()), 1u);  // only the captured standard error
}

TEST_F(CliRender, UsageErrorsExitTwo) {
    EXPECT_EQ(RunCli("render --start-dir " + start_, err).status, 2);
    EXPECT_EQ(RunCli(Args(dir.file("x.jpg")) + " --side 5", err).status, 2);
    EXPECT_EQ(RunCli(Args(dir.file("x.jpg")) + " --centre 55", err).status, 2);
    EXPECT_EQ(RunCli(Args(dir.file("x.jpg")) + " --half-extent 2", err).status, 2);
    EXPECT_EQ(RunCli(Args(dir.file("x.jpg")) + " --day 261340", err).status, 2);
    EXPECT_EQ(RunCli(Args(dir.file("x.jpg")) + " --bogus 1", err).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.jpg")));
}

TEST_F(CliRender, UnwritableTargetExitsOne) {
    const CliRun run = RunCli(Args(dir.file("no/such/dir/x.jpg")), err);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no/such/dir/x.jpg"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kalvera
