// kalvera-cli export: a term's layer for GIS programs, Google Earth and web
// pages. The suffix of --out picks the format; a .png with --world-file is the
// map square alone with the files that place it.

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "geo/settings.h"
#include "output/map_export.h"
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

int ExportMapFile(const RenderArgs& render) {
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
    if (!WriteTermMap(config, at, render.term.layer, render.out, error)) return LoadFailure(error);
    return 0;
}

int runExport(std::vector<std::string> args) {
    const auto flag = std::find(args.begin(), args.end(), std::string("--world-file"));
    const bool worldFile = flag != args.end();
    if (worldFile) args.erase(flag);
    RenderArgs render;
    if (const int usage = ParseRenderArgs(args, render); usage != 0) return usage;
    if (HasSuffix(render.out, ".png")) {
        if (!worldFile) return UsageError("a .png map needs --world-file (or use render)");
        return ExportWorldFilePng(render);
    }
    if (MapFormatOf(render.out) == MapFormat::None) {
        return UsageError("--out must end in .tif, .kmz, .geojson, .gpkg or .png");
    }
    // These files hold the grid square itself, whatever the view.
    if (worldFile) return UsageError("--world-file goes with a .png map");
    if (const int usage =
            RefuseOptions(render, {"--side", "--centre", "--half-extent", "--opacity"}, "a grid file");
        usage != 0) {
        return usage;
    }
    return ExportMapFile(render);
}

const CliRegistrar registrar({"export", [](const std::vector<std::string>& args) {
                                  return runExport(args);
                              }});

}  // namespace

}  // namespace kalvera::cli
