// kalvera-cli render as a script runs it: a whole process on a demo archive.
#include <gdal.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <filesystem>
#include <vector>

#include "archive/day_archive.h"
#include "archive/frame_selection.h"
#include "common/date_time.h"
#include "geo/map_projection.h"
#include "geo/settings.h"
#include "output/cli_fixture.h"
#include "output/gif_frames.h"
#include "render/viewer_state.h"

namespace kalvera {
namespace {

using testing::TempDir;
using CliRender = testing::CliArchive;

TEST_F(CliRender, JpegHasTheExportSizeAndEncoding) {
    const std::string out = dir.file("picture.jpg");
    ASSERT_EQ(run(args(out)), 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    EXPECT_EQ(load(out).size(), QSize(700 + 100, 700 + 40));
    if (testing::HaveTool("identify")) {
        const std::string report = testing::CommandOutput("identify -verbose " + out);
        EXPECT_NE(report.find("Quality: 90"), std::string::npos);
        EXPECT_NE(report.find("Interlace: None"), std::string::npos);
    }
}

TEST_F(CliRender, PngByNameWithAnotherSideAndCentre) {
    const std::string a = dir.file("a.PNG"), b = dir.file("b.png");
    ASSERT_EQ(run(args(a, 1) + " --side 300 --half-extent 100"), 0) << err;
    ASSERT_EQ(run(args(b, 1) + " --side 300 --half-extent 100 --centre 50.0,30.0"), 0) << err;
    ASSERT_EQ(testing::ReadWholeFile(a).substr(1, 3), "PNG");
    const QImage first = load(a), second = load(b);
    EXPECT_EQ(first.size(), QSize(400, 340));
    EXPECT_NE(first.copy(0, 40, 300, 300), second.copy(0, 40, 300, 300));
}

TEST_F(CliRender, PdfIsThePrintedPage) {
    if (!testing::HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const std::string out = dir.file("page.pdf");
    ASSERT_EQ(run(args(out, 3)), 0) << err;
    testing::CommandOutput("pdftoppm -r 50 -png -singlefile " + out + " " + dir.file("page"));
    const QImage page = load(dir.file("page.png"));
    EXPECT_NEAR(page.width(), 413, 1);  // A4 portrait at 50 dots per inch
    EXPECT_NEAR(page.height(), 585, 1);
    int blue = 0;  // rings and grid inside the square, which starts at 40 mm
    for (int y = 80; y < 80 + 395; ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            blue += qBlue(p) > 180 && qRed(p) < 90 && qGreen(p) < 90;
        }
    EXPECT_GT(blue, 500);
}

TEST_F(CliRender, FailuresExitOneWithTheReasonAndWriteNothing) {
    const std::string out = dir.file("none.jpg");
    EXPECT_EQ(run("render --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                  " --term 25.61 --layer 22 --out " + out),
              1);
    EXPECT_NE(err.find("no message for term 25.61"), std::string::npos) << err;
    EXPECT_EQ(run(args(out) + " --site 00000"), 1);
    EXPECT_NE(err.find("index file"), std::string::npos) << err;
    EXPECT_EQ(run(args(dir.file("no/such/dir/x.jpg"))), 1);
    EXPECT_NE(err.find("no/such/dir/x.jpg"), std::string::npos) << err;
    EXPECT_EQ(testing::CountFiles(dir.path()), 2u);  // only the captured output
}

TEST_F(CliRender, NewestNamesTheLastTermAndWhereItsMessageStarts) {
    const std::string day = " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    AppConfig config;
    std::string error;
    ASSERT_TRUE(LoadSettingsFrom(config, start_, error)) << error;
    const DayArchive archive = DayArchive::Of(config.dataRoot, site_, day_);
    const std::string weather =
        std::to_string(FindMessageOffset(archive.indexPath, term_, kLayerWeather));
    const struct {
        std::string arguments;
        int status;
        std::string line;
    } cases[] = {
        {"newest" + day + " --layer 22", 0, term_ + " 22 " + weather + " " + archive.basePath},
        {"newest" + day, 0, term_ + " 22 " + weather + " " + archive.basePath},
        {"newest" + day + " --layer 23", 1, ""},
        {"newest --start-dir " + start_ + " --site " + site_ + " --day 000101", 1, ""},
        {"newest --site " + site_, 2, ""},
        {"newest" + day + " --layer x", 2, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments << "\n" << err;
        EXPECT_EQ(printed, c.line.empty() ? "" : c.line + "\n") << c.arguments;
    }
}

TEST_F(CliRender, UsageErrorsExitTwo) {
    const std::string out = dir.file("x.jpg");
    EXPECT_EQ(run("render --start-dir " + start_), 2);
    for (const char* bad :
         {" --side 5", " --centre 55", " --half-extent 2", " --day 261340", " --bogus 1"})
        EXPECT_EQ(run(args(out) + bad), 2) << bad;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliRender, ExportWritesEachMapFormatThatGdalOpens) {
    for (const char* name : {"grid.tif", "classes.geojson", "classes.gpkg"}) {
        const std::string out = dir.file(name);
        ASSERT_EQ(run(args(out, 3, "export")), 0) << name << ": " << err;
        GDALAllRegister();
        GDALDatasetH opened = GDALOpenEx(out.c_str(), GDAL_OF_READONLY, nullptr, nullptr, nullptr);
        EXPECT_NE(opened, nullptr) << name;
        if (opened) GDALClose(opened);
    }
}

TEST_F(CliRender, ExportedMapSquareSitsWhereItsWorldFileSays) {
    const std::string out = dir.file("square.png");
    ASSERT_EQ(run(args(out, 3, "export") + " --world-file --side 300 --centre 55.0,37.0"), 0)
        << err;
    EXPECT_EQ(load(out).size(), QSize(300, 300));
    GDALAllRegister();
    GDALDatasetH opened = GDALOpen(out.c_str(), GA_ReadOnly);
    ASSERT_NE(opened, nullptr);
    double transform[6];
    ASSERT_EQ(GDALGetGeoTransform(opened, transform), CE_None);
    const MapProjection view = MapProjection::Init(300, 300, 37.0f, 55.0f, 200.0f);
    EXPECT_NEAR(transform[0], view.lonMin, 1e-6);
    EXPECT_NEAR(transform[3], view.latMax, 1e-6);
    EXPECT_NEAR(transform[1] * 300, view.lonSpan, 1e-6);
    EXPECT_NE(std::string(GDALGetProjectionRef(opened)).find("WGS"), std::string::npos);
    GDALClose(opened);
}

TEST_F(CliRender, AWorldFileExportThatCannotWriteEveryFileLeavesThemAllAsTheyWere) {
    const std::string out = dir.file("square.png"), world = dir.file("square.pgw");
    const std::string options = " --world-file --side 300";
    ASSERT_EQ(run(args(out, 3, "export") + options), 0) << err;
    const std::string png = testing::ReadWholeFile(out), pgw = testing::ReadWholeFile(world);
    std::filesystem::remove(out + ".aux.xml");
    std::filesystem::create_directory(out + ".aux.xml");
    EXPECT_EQ(run(args(out, 3, "export") + options + " --centre 50.0,30.0"), 1);
    EXPECT_NE(err.find(".aux.xml"), std::string::npos) << err;
    EXPECT_EQ(testing::ReadWholeFile(out), png);
    EXPECT_EQ(testing::ReadWholeFile(world), pgw);
}

TEST_F(CliRender, ExportUsageErrorsExitTwoAndWriteNothing) {
    for (const char* name : {"square.png", "picture.bmp"}) {
        EXPECT_EQ(run(args(dir.file(name), 3, "export")), 2) << name;
    }
    EXPECT_EQ(testing::CountFiles(dir.path()), 2u);  // only the captured output
}

TEST_F(CliRender, LoopFramesAreTheRenderPicturesOfTheirTerms) {
    const std::string gif = dir.file("loop.gif");
    const std::string options = " --side 300 --half-extent 150";
    ASSERT_EQ(run("loop --frames 3 --fps 5 --dwell 2" + options + " " +
                  args(gif, 1).substr(std::string("render").size())),
              0)
        << err;
    const testing::ReadBackGif read = testing::ReadGif(testing::ReadWholeFile(gif));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.loopsForever);
    const std::vector<LoopFrame> frames =
        SelectLoopFrames(start_ + "/archive/", site_,
                         EncodeDate(2000 + std::stoi(day_.substr(0, 2)),
                                    std::stoi(day_.substr(2, 2)), std::stoi(day_.substr(4, 2))),
                         term_, 3);
    ASSERT_EQ(read.frames.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(read.delaysCs[i], i + 1 < frames.size() ? 20 : 200);
        const std::string png = dir.file("frame.png");
        ASSERT_EQ(run("render --start-dir " + start_ + " --site " + site_ + " --day " +
                      frames[i].dayName + " --term " + frames[i].termText + " --layer 1 --out " +
                      png + options),
                  0)
            << err;
        const QImage picture = load(png).convertToFormat(QImage::Format_RGB32);
        // The frame goes on below the picture until the legend's last box is whole.
        EXPECT_EQ(read.frames[i].copy(picture.rect()), picture) << i;
        ASSERT_EQ(read.frames[i].height(), picture.height() + kHeaderHeight) << i;
        EXPECT_EQ(read.frames[i].pixel(picture.width() - 50, picture.height() + kHeaderHeight - 1),
                  qRgb(0, 0, 0))
            << "the rim under box 1, frame " << i;
    }
    EXPECT_EQ(run("loop --frames 99 " + args(gif).substr(std::string("render").size())), 2);
}

}  // namespace
}  // namespace kalvera
