// kalvera-cli mosaic: the composite of every site (or the chosen ones) for
// one term and layer, as a picture or through the map exports. Standard
// error names the sites used and those missing.

#include <QImage>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_nowcast_day.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "geo/map_resources.h"
#include "geo/settings.h"
#include "output/map_export.h"
#include "output/mosaic_source.h"
#include "output/png_writer.h"
#include "products/derived_products.h"
#include "render/mosaic_picture.h"

namespace kalvera::cli {

namespace {

constexpr int kPictureSide = 1000;

struct MosaicArgs {
    std::string startDir, day, term, out, srs;
    int layer = 0;
    MosaicChoice choice;
};

int ParseArgs(const std::vector<std::string>& args, MosaicArgs& mosaic) {
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(
            args, {"--start-dir", "--day", "--term", "--layer", "--out"}, options);
        usage != 0) {
        return usage;
    }
    for (const auto& [name, value] : options) {
        if (const int taken = ParseMosaicOption(name, value, mosaic.choice); taken >= 0) {
            if (taken != 0) return taken;
        } else if (name == "--start-dir") {
            mosaic.startDir = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            mosaic.day = value;
        } else if (name == "--term") {
            mosaic.term = value;
        } else if (name == "--layer") {
            if (!ParseLayer(value, mosaic.layer)) return UsageError(kLayerUsage);
        } else if (name == "--out") {
            mosaic.out = value;
        } else if (name == "--srs") {
            mosaic.srs = value;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    int hour = 0, minute = 0;
    if (!SplitTermText(mosaic.term, hour, minute)) return UsageError("--term needs HH.MM");
    const bool png = HasSuffix(mosaic.out, ".png");
    if (!png && MapFormatOf(mosaic.out) == MapFormat::None) {
        return UsageError("--out must end in .png, .tif, .kmz, .geojson or .gpkg");
    }
    if (!mosaic.srs.empty() && MapFormatOf(mosaic.out) != MapFormat::GeoTiff) {
        return UsageError("--srs goes with a .tif");
    }
    return 0;
}

int runMosaic(const std::vector<std::string>& args) {
    MosaicArgs mosaic;
    if (const int usage = ParseArgs(args, mosaic); usage != 0) return usage;
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    if (const int failed = LoadMosaicConfig(mosaic.startDir, config); failed != 0) return failed;
    std::string error;
    MosaicLoader loader;
    MosaicTerm term;
    const std::unique_ptr<MapSource> source = LoadMosaicSource(
        config, loader, MosaicRequestOf(config, mosaic.choice, mosaic.day, mosaic.term),
        mosaic.layer, mosaic.choice.method, term, error);
    std::fprintf(stderr, "kalvera-cli: mosaic %s %s, layer %s: %s\n", mosaic.day.c_str(),
                 mosaic.term.c_str(), LayerName(mosaic.layer).c_str(),
                 MosaicSummary(term).c_str());
    if (!source) return LoadFailure(error);
    if (HasSuffix(mosaic.out, ".png")) return WriteMosaicPicture(config, *source, term, mosaic.out);
    if (!WriteMapFile(*source, mosaic.out, error, mosaic.srs)) return LoadFailure(error);
    return 0;
}

const CliRegistrar registrar({"mosaic", runMosaic});

}  // namespace

int WriteMosaicPicture(const AppConfig& config, const MapSource& source, const MosaicTerm& term,
                       const std::string& path) {
    MapResourceCache cache;
    MosaicScene scene;
    scene.cells = &*source.composite;
    for (size_t s = 0; s < term.layout->sites().size(); ++s) {
        scene.squares.push_back(term.layout->siteGrid(s));
    }
    scene.paint = {source.layerCode, 0, &config.palette};
    scene.outlines =
        cache.outlines(CountryBinPath(config.startDir), CountryIndPath(config.startDir));
    scene.places = cache.places(PlacesPath(config.startDir));
    const QImage image =
        MosaicPictureImage(scene,
                           MosaicTitle(source.dayName, source.termText, source.layerCode,
                                       term.Present().size(), term.sites.size()),
                           kPictureSide);
    std::string error;
    if (image.isNull() || !WritePngFile(image, path, error)) {
        return LoadFailure(error.empty() ? "cannot draw the composite" : error);
    }
    return 0;
}

}  // namespace kalvera::cli
