#pragma once
// A one-site demo archive up to a fixed, busy moment (and the days before it,
// if asked), made in a scratch directory for one benchmark run, and the
// viewer state of its newest term at layer 1 (the lowest reflectivity layer
// holds the most cells), rendered as the window renders it at the given
// picture side. The moment is fixed so that every run, by day or by night,
// measures the same scene.

#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "demo/demo_sites.h"
#include "geo/settings.h"
#include "render/picture_render.h"

namespace kalvera::bench {

// 16.05 GMT on 10 July 2026: the demo's front and an afternoon's cells are
// over the default site, about two thirds of its grid has echo at layer 1,
// and the newest term is 16.00.
inline double BusyMoment() {
    return EncodeDateTime({2026, 7, 10}, {16, 5, 0});
}

// Cells of the viewer's grid that are drawn (above the filter threshold).
inline int DrawnCells(const ViewerState& v) {
    int drawn = 0;
    for (int32_t value : v.picture.values) drawn += value > v.display.filterThreshold;
    return drawn;
}

// A scratch directory with a start directory in it that holds `days` days of
// the first `sites` demo sites (the default site first), the busy moment's
// day the last of them.
struct DemoArchive {
    std::string scratch;  // empty when the directory could not be made
    std::string startDir;
    double now = 0.0;  // the time the days are written up to
    bool ready = false;
};

inline DemoArchive MakeDemoArchive(const std::string& name, int days, int sites = 1) {
    DemoArchive a;
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("kalvera-bench-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return a;
    a.scratch = pattern;
    demo::DemoOptions options;
    options.dir = a.scratch + "/start";
    options.dataDir =
        (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string();
    options.days = days;
    options.siteCount = sites;
    std::string error;
    a.now = BusyMoment();
    if (!demo::PrepareStartDirectory(options, error) ||
        demo::WriteHistory(options, a.now, error) <= 0) {
        std::fprintf(stderr, "bench_%s: cannot make the demo archive: %s\n", name.c_str(),
                     error.c_str());
        return a;
    }
    a.startDir = options.dir;
    a.ready = true;
    return a;
}

struct DemoScene {
    std::string scratch;
    std::string startDir;
    std::string site;
    std::string day;
    std::string term;
    std::unique_ptr<ViewerState> viewer;
    bool ready = false;
};

// `ratio`: the device pixel ratio of the screen the bitmaps are made for.
inline DemoScene MakeDemoScene(const std::string& name, int side, int days = 1,
                               double ratio = 1.0) {
    DemoScene s;
    const DemoArchive made = MakeDemoArchive(name, days);
    s.scratch = made.scratch;
    if (!made.ready) return s;
    const double now = made.now;
    s.startDir = made.startDir;
    s.site = demo::DefaultDemoSite().code;
    s.day = DayNameOf(now);

    s.viewer = std::make_unique<ViewerState>();
    ViewerState& v = *s.viewer;
    std::string error;
    if (!LoadSettingsFrom(v.config, s.startDir, error)) return s;
    LoadPalette(v.config);
    const DayArchive archive = DayArchive::Of(v.config.dataRoot, s.site, s.day);
    std::vector<std::string> terms;
    if (LoadTermList(archive.indexPath, terms) == 0) return s;
    s.term = terms.back();
    DisplayState& d = v.display;
    d.siteCode = s.site;
    d.dayName = s.day;
    d.indexPath = archive.indexPath;
    d.basePath = archive.basePath;
    d.currentDate = now;
    d.termText = s.term;
    d.layerCode = 1;
    d.viewLat = v.config.centreLat;
    d.viewLon = v.config.centreLon;
    d.viewHalfExtentKm = 200.0f;
    d.recentre = 1;
    v.layout = ComputePictureLayout(176, side + 40);
    v.deviceRatio = ratio;
    v.MapLayer.setSize(side, side, ratio);
    v.PictureLayer.setSize(side, side, ratio);
    v.WindowDC.setSize(WindowWidthFor(v.layout), side + 50, kWhite, ratio);
    s.ready = RenderPicture(v);
    return s;
}

// Opens a benchmark on the file's TheScene(): `scene` and its viewer `v`, or
// skips the benchmark when the scene could not be made.
#define NEED_SCENE(state)                                            \
    auto& scene = TheScene();                                        \
    if (!scene.ready) return (state).SkipWithError("no demo scene"); \
    ViewerState& v = *scene.viewer

inline void RemoveScratch(const DemoScene& scene) {
    if (scene.scratch.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(scene.scratch, ignored);
}

// Fonts need a GUI application; the offscreen platform needs no display.
template <typename CleanUp>
int RunBenchmarks(int argc, char** argv, CleanUp cleanUp) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    cleanUp();
    return 0;
}

}  // namespace kalvera::bench
