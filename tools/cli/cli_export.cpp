// kalvera-cli export: a term's layer for GIS programs, Google Earth and web
// pages. The suffix of --out picks the format; a .png with --world-file is the
// map square alone with the files that place it; a .h5 holds every product of
// the term for other radar services.

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "geo/settings.h"
#include "output/map_export.h"
#include "output/odim_h5.h"
#include "output/odim_products.h"
#include "output/odim_source.h"
#include "output/term_products.h"
#include "output/world_file_export.h"
#include "render/picture_render.h"

namespace kalvera::cli {

namespace {

int ExportWorldFilePng(const RenderArgs& render) {
    const std::unique_ptr<QGuiApplication> app = StartGui();
    auto viewer = std::make_unique<ViewerState>();
    if (const int failed = RenderTerm(render, *viewer); failed != 0) return failed;
    QImage square(render.side, render.side, QImage::Format_RGB32);
    ComposeLayers(square, 0, 0, *viewer);
    std::string error;
    if (!WriteWorldFilePng(square, viewer->view, render.out, error)) return LoadFailure(error);
    return 0;
}

int ExportMapFile(const RenderArgs& render, const std::string& srs) {
    // The legend of a KMZ is drawn with text.
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, render.term.startDir, error)) return LoadFailure(error);
    LoadPalette(config);
    if (const int failed = ApplyColourOptions(render.colours, render.term.layer, config);
        failed != 0) {
        return failed;
    }
    const DisplayState at = StateForTerm(render.term, config.dataRoot);
    if (!WriteTermMap(config, at, render.term.layer, render.out, error, srs)) {
        return LoadFailure(error);
    }
    return 0;
}

// One file with every product of the term (or those --layers names): the
// exchange format's IMAGE object.
int ExportOdim(const std::vector<std::string>& args) {
    std::map<std::string, std::string> options;
    if (const int usage =
            ParseOptionPairs(args, {"--start-dir", "--site", "--day", "--term", "--out"}, options);
        usage != 0) {
        return usage;
    }
    std::vector<int> layers = TermProductCodes();
    if (options.count("--layer") != 0)
        return UsageError("a .h5 file holds every product: choose them with --layers");
    for (const auto& [name, value] : options) {
        if (name == "--layers" && !ParseLayerList(value, layers)) return UsageError(kLayersUsage);
        const bool known = name == "--layers" || name == "--start-dir" || name == "--site" ||
                           name == "--day" || name == "--term" || name == "--out";
        if (!known) return UsageError(name + " does not apply to a .h5 file");
    }
    TermChoice term;
    term.startDir = options["--start-dir"];
    term.site = options["--site"];
    term.day = options["--day"];
    term.term = options["--term"];
    int hour = 0, minute = 0;
    if (!IsDayName(term.day)) return UsageError(kDayUsage);
    if (!SplitTermText(term.term, hour, minute)) return UsageError("--term needs HH.MM");
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, term.startDir, error)) return LoadFailure(error);
    OdimIdentifiers ids;
    if (!LoadOdimIdentifiers(config.startDir, ids, error)) return LoadFailure(error);
    OdimObject object;
    if (!LoadOdimImage(StateForTerm(term, config.dataRoot), layers, object, error))
        return LoadFailure(error);
    if (!IdentifyOdimObject(ids, term.site, object, error))
        return LoadFailure("Cannot make " + options["--out"] + ": " + error);
    if (!WriteOdimFile(object, options["--out"], error)) return LoadFailure(error);
    return 0;
}

int runExport(std::vector<std::string> args) {
    const auto out = std::find(args.begin(), args.end(), std::string("--out"));
    if (out != args.end() && out + 1 != args.end() && HasSuffix(*(out + 1), ".h5"))
        return ExportOdim(args);
    const auto flag = std::find(args.begin(), args.end(), std::string("--world-file"));
    const bool worldFile = flag != args.end();
    if (worldFile) args.erase(flag);
    // The target grid of a warped GeoTIFF; the rest of the options are a render's.
    std::string srs;
    if (const auto given = std::find(args.begin(), args.end(), std::string("--srs"));
        given != args.end()) {
        if (given + 1 == args.end()) return UsageError("--srs needs a value");
        srs = *(given + 1);
        args.erase(given, given + 2);
    }
    RenderArgs render;
    if (const int usage = ParseRenderArgs(args, render); usage != 0) return usage;
    if (!srs.empty() && MapFormatOf(render.out) != MapFormat::GeoTiff) {
        return UsageError("--srs goes with a .tif");
    }
    if (HasSuffix(render.out, ".png")) {
        if (!worldFile) return UsageError("a .png map needs --world-file (or use render)");
        return ExportWorldFilePng(render);
    }
    if (MapFormatOf(render.out) == MapFormat::None) {
        return UsageError("--out must end in .tif, .kmz, .geojson, .gpkg, .png or .h5");
    }
    // These files hold the grid square itself, whatever the view.
    if (worldFile) return UsageError("--world-file goes with a .png map");
    if (const int usage = RefuseOptions(
            render, {"--side", "--centre", "--half-extent", "--opacity"}, "a grid file");
        usage != 0) {
        return usage;
    }
    return ExportMapFile(render, srs);
}

const CliRegistrar registrar({"export", [](const std::vector<std::string>& args) {
                                  return runExport(args);
                              }});

}  // namespace

}  // namespace kalvera::cli
