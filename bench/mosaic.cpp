// Speed of the composite: one product from four overlapping sites with the
// layout built (the gather alone, and read from the archive with the
// decoding), all twelve products of a term, forty synthetic sites, and the
// frame switch of the composite window during a loop, with and without its
// nowcast overlay. Run from the build directory: the demo archive takes the
// map resources from ../data.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QThread>
#include <cmath>
#include <vector>

#include "demo_scene.h"
#include "geo/settings.h"
#include "mosaic/mosaic_term.h"
#include "output/mosaic_source.h"
#include "output/term_products.h"
#include "ui/mosaic_window.h"
#include "ui/nowcast_tools.h"

namespace {

using namespace kalvera;

// The demo's sites whose squares overlap: Moscow, Voronezh, Tula, Murom.
const std::vector<std::string> kOverlapping = {"27612", "34122", "27719", "27532"};
// Every layer a term holds.
const std::vector<int> kTermLayers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 21, 22};

struct Archive {
    bench::DemoArchive made;
    AppConfig config;
    std::string day;
    std::vector<std::string> terms;
    bool ready = false;
};

Archive& TheArchive() {
    static Archive a = [] {
        Archive a;
        a.made = bench::MakeDemoArchive("mosaic", 1, static_cast<int>(demo::DemoSites().size()));
        std::string error;
        if (!a.made.ready || !LoadSettingsFrom(a.config, a.made.startDir, error)) return a;
        LoadPalette(a.config);
        ListSites(a.config);
        a.day = DayNameOf(a.made.now);
        LoadTermList(DayArchive::Of(a.config.dataRoot, "27612", a.day).indexPath, a.terms);
        a.ready = a.terms.size() > 12;
        return a;
    }();
    return a;
}

MosaicRequest RequestOf(const Archive& a, const std::string& term,
                        const std::vector<std::string>& sites) {
    MosaicChoice choice;
    choice.sites = sites;
    return MosaicRequestOf(a.config, choice, a.day, term);
}

// A site's grid of echo that changes from cell to cell.
RadarPicture Echo(int seed) {
    RadarPicture picture;
    for (int k = 0; k < kGridCells; ++k) {
        picture.values[static_cast<size_t>(k)] = (k * 37 + seed * 11) % 120;
    }
    return picture;
}

void BM_ComposeFromPictures(benchmark::State& state, int siteCount) {
    // Four demo sites, or a lattice of sites 250 km apart.
    std::vector<MosaicSite> sites;
    if (siteCount == 4) {
        const auto& demo = demo::DemoSites();
        for (const auto& site : demo) {
            for (const std::string& code : kOverlapping) {
                if (site.code == code) {
                    sites.push_back(
                        {code, static_cast<float>(site.lat), static_cast<float>(site.lon)});
                }
            }
        }
    } else {
        for (int k = 0; k < siteCount; ++k) {
            const float lat = 50.0f + 2.25f * static_cast<float>(k / 8);
            const float lon = 25.0f + 4.0f * static_cast<float>(k % 8);
            sites.push_back({std::to_string(10000 + k), lat, lon});
        }
    }
    const MosaicLayout layout = MosaicLayout::Of(sites);
    std::vector<RadarPicture> pictures;
    for (size_t s = 0; s < sites.size(); ++s) pictures.push_back(Echo(static_cast<int>(s)));
    std::vector<const RadarPicture*> pointers;
    for (const RadarPicture& p : pictures) pointers.push_back(&p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Compose(layout, 1, CompositeMethod::Maximum, pointers));
    }
    state.counters["cells"] = static_cast<double>(layout.cellCount());
}
BENCHMARK_CAPTURE(BM_ComposeFromPictures, sites4, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComposeFromPictures, sites40, 40)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One product read from the archive: each site's term found and its layer
// decoded, then gathered on the layout the loader keeps.
void BM_ComposeFromArchive(benchmark::State& state) {
    Archive& a = TheArchive();
    if (!a.ready) return state.SkipWithError("no demo archive");
    MosaicLoader loader;
    const MosaicRequest request = RequestOf(a, a.terms.back(), kOverlapping);
    loader.Load(request, {1});  // the layout
    for (auto _ : state) {
        const MosaicTerm term = loader.Load(request, {1});
        benchmark::DoNotOptimize(term.Product(1, CompositeMethod::Maximum));
    }
}
BENCHMARK(BM_ComposeFromArchive)->Unit(benchmark::kMillisecond)->UseRealTime();

// All twelve products of a term from the four sites, decoding included.
void BM_AllProductsOfATerm(benchmark::State& state) {
    Archive& a = TheArchive();
    if (!a.ready) return state.SkipWithError("no demo archive");
    MosaicLoader loader;
    const MosaicRequest request = RequestOf(a, a.terms.back(), kOverlapping);
    loader.Load(request, kTermLayers);
    for (auto _ : state) {
        const MosaicTerm term = loader.Load(request, kTermLayers);
        for (const int layer : kTermLayers) {
            benchmark::DoNotOptimize(term.Product(layer, CompositeMethod::Maximum));
        }
    }
}
BENCHMARK(BM_AllProductsOfATerm)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full ODIM_H5 composite term of the six demo sites: every product of the
// term read, decoded and composed into the object the writer takes (the
// HDF5 writing itself is not timed). `per_product` asks the term for one
// product at a time, as the writer did before it asked for them all at
// once (each of max and VIL composing layers 1..10 again); `one_call` is
// the writer's way now.
void BM_OdimCompositeTerm(benchmark::State& state, bool oneCall) {
    Archive& a = TheArchive();
    if (!a.ready) return state.SkipWithError("no demo archive");
    std::vector<std::string> all;
    for (const auto& site : demo::DemoSites()) all.push_back(site.code);
    MosaicLoader loader;
    const MosaicRequest request = RequestOf(a, a.terms.back(), all);
    const std::vector<int>& codes = TermProductCodes();
    loader.Load(request, codes);  // the layout
    for (auto _ : state) {
        const MosaicTerm term = loader.Load(request, codes);
        if (oneCall) {
            benchmark::DoNotOptimize(
                OdimCompositeOf(term, a.day, request.termText, codes, CompositeMethod::Maximum));
        } else {
            for (const int code : codes) {
                benchmark::DoNotOptimize(term.Product(code, CompositeMethod::Maximum));
            }
        }
    }
    state.counters["sites"] = static_cast<double>(all.size());
}
BENCHMARK_CAPTURE(BM_OdimCompositeTerm, per_product, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OdimCompositeTerm, one_call, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The composite window stepping through a loop of twelve terms at 900 x 800:
// on its first round each frame is read, composed and drawn (`drawn`: every
// frame drawn afresh); on the next rounds a paint shows the frame's kept
// picture (`kept`). With the nowcast overlay on (`overlay`), each frame also
// draws the composite's outlines at three leads and its cells with tracks,
// the day being read before the timing.
void BM_WindowFrameSwitch(benchmark::State& state, bool kept, bool overlay) {
    Archive& a = TheArchive();
    if (!a.ready) return state.SkipWithError("no demo archive");
    MosaicWindow window(a.config);
    window.resize(900, 800);
    DisplayState shown;
    shown.dayName = a.day;
    shown.layerCode = 1;
    const std::vector<std::string> loop(a.terms.end() - 12, a.terms.end());
    QImage screen(window.size(), QImage::Format_RGB32);
    shown.termText = loop.front();
    window.followTerm(shown);
    if (overlay) {
        window.nowcast().toggleOverlay();
        while (window.nowcast().loading()) {
            QThread::msleep(10);
            QCoreApplication::processEvents();
        }
        if (!window.nowcast().overlayShown() || window.nowcast().cells().empty()) {
            return state.SkipWithError("the composite's day has no cells");
        }
    }
    // The first round, not timed: the kept pictures are made there.
    for (const std::string& term : loop) {
        shown.termText = term;
        window.followTerm(shown);
        window.picture(1.0);
    }
    size_t frame = 0;
    for (auto _ : state) {
        shown.termText = loop[frame++ % loop.size()];
        window.followTerm(shown);
        // A paint puts the picture on the window's backing store.
        QPainter painter(&screen);
        painter.drawImage(0, 0, kept ? window.picture(1.0) : window.drawPicture(1.0));
        window.nowcast().paint(painter);
    }
}
BENCHMARK_CAPTURE(BM_WindowFrameSwitch, kept, true, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WindowFrameSwitch, drawn, false, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WindowFrameSwitch, kept_overlay, true, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    if (!TheArchive().made.scratch.empty()) {
        std::filesystem::remove_all(TheArchive().made.scratch, ignored);
    }
    return 0;
}
