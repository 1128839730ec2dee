// kalvera-cli mosaic: the composite of every site (or the chosen ones) for
// one term and layer, as a picture or through the map exports. Standard
// error names the sites used and those missing.

#include <QImage>
#include <algorithm>
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
#include "output/odim_h5.h"
#include "output/odim_source.h"
#include "output/png_writer.h"
#include "output/term_products.h"
#include "products/derived_products.h"

namespace kalvera::cli {

namespace {

struct MosaicArgs {
    std::string startDir, day, term, out, srs;
    int layer = 0;
    // A .h5 holds every product asked with --layers (all by default) or the one of --layer.
    std::vector<int> layers;
    bool odim = false;
    MosaicChoice choice;
    ColourOptions colours;
};

int ParseArgs(const std::vector<std::string>& args, MosaicArgs& mosaic) {
    const auto out = std::find(args.begin(), args.end(), std::string("--out"));
    mosaic.odim = out != args.end() && out + 1 != args.end() && HasSuffix(*(out + 1), ".h5");
    std::map<std::string, std::string> options;
    std::vector<const char*> required = {"--start-dir", "--day", "--term", "--out"};
    if (!mosaic.odim) required.push_back("--layer");
    if (const int usage = ParseOptionPairs(args, required, options); usage != 0) return usage;
    if (options.count("--layers") != 0 && !mosaic.odim)
        return UsageError("--layers goes with a .h5");
    for (const auto& [name, value] : options) {
        int status = 0;
        if (const int taken = ParseMosaicOption(name, value, mosaic.choice); taken >= 0) {
            if (taken != 0) return taken;
        } else if (ParseColourOption(name, value, mosaic.colours, status)) {
            if (status != 0) return status;
        } else if (name == "--start-dir") {
            mosaic.startDir = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            mosaic.day = value;
        } else if (name == "--term") {
            mosaic.term = value;
        } else if (name == "--layer") {
            if (!ParseLayer(value, mosaic.layer)) return UsageError(kLayerUsage);
            mosaic.layers = {mosaic.layer};
        } else if (name == "--layers") {
            if (options.count("--layer") != 0) return UsageError("--layer or --layers, not both");
            if (!ParseLayerList(value, mosaic.layers)) return UsageError(kLayersUsage);
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
    if (mosaic.odim && mosaic.layers.empty()) mosaic.layers = TermProductCodes();
    const bool png = HasSuffix(mosaic.out, ".png");
    if (!png && !mosaic.odim && MapFormatOf(mosaic.out) == MapFormat::None) {
        return UsageError("--out must end in .png, .tif, .kmz, .geojson, .gpkg or .h5");
    }
    if (!mosaic.srs.empty() && MapFormatOf(mosaic.out) != MapFormat::GeoTiff) {
        return UsageError("--srs goes with a .tif");
    }
    return 0;
}

// The composite's products as an ODIM_H5 COMP: the sites that made it and
// the compositing method travel with it.
int WriteOdim(const MosaicArgs& mosaic, const AppConfig& config, const MosaicRequest& request,
              MosaicLoader& loader) {
    OdimIdentifiers ids;
    std::string error;
    if (!LoadOdimIdentifiers(config.startDir, ids, error)) return LoadFailure(error);
    const MosaicTerm term = loader.Load(request, mosaic.layers);
    std::fprintf(stderr, "kalvera-cli: mosaic %s %s: %s\n", mosaic.day.c_str(), mosaic.term.c_str(),
                 MosaicSummary(term).c_str());
    OdimObject object =
        OdimCompositeOf(term, mosaic.day, mosaic.term, mosaic.layers, mosaic.choice.method);
    if (object.datasets.empty()) {
        return LoadFailure("No site has a term with these products within " +
                           std::to_string(request.toleranceMinutes) + " min of " + mosaic.day +
                           " " + mosaic.term);
    }
    if (!IdentifyOdimObject(ids, "", object, error)) {
        return LoadFailure("Cannot make " + mosaic.out + ": " + error);
    }
    if (!WriteOdimFile(object, mosaic.out, error)) return LoadFailure(error);
    return 0;
}

int runMosaic(const std::vector<std::string>& args) {
    MosaicArgs mosaic;
    if (const int usage = ParseArgs(args, mosaic); usage != 0) return usage;
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    if (const int failed = LoadMosaicConfig(mosaic.startDir, config); failed != 0) return failed;
    std::string error;
    if (const int failed = ApplyColourOptions(mosaic.colours, mosaic.layer, config); failed != 0) {
        return failed;
    }
    MosaicLoader loader;
    const MosaicRequest request = MosaicRequestOf(config, mosaic.choice, mosaic.day, mosaic.term);
    if (mosaic.odim) return WriteOdim(mosaic, config, request, loader);
    MosaicTerm term;
    const std::unique_ptr<MapSource> source =
        LoadMosaicSource(config, loader, request, mosaic.layer, mosaic.choice.method, term, error);
    // The reason of a failure names every site already.
    if (!source) return LoadFailure(error);
    std::fprintf(stderr, "kalvera-cli: mosaic %s %s, layer %s: %s\n", mosaic.day.c_str(),
                 mosaic.term.c_str(), LayerName(mosaic.layer).c_str(), MosaicSummary(term).c_str());
    if (HasSuffix(mosaic.out, ".png")) return WriteMosaicPicture(config, *source, term, mosaic.out);
    if (!WriteMapFile(*source, mosaic.out, error, mosaic.srs)) return LoadFailure(error);
    return 0;
}

const CliRegistrar registrar({"mosaic", runMosaic});

}  // namespace

int WriteMosaicPicture(const AppConfig& config, const MapSource& source, const MosaicTerm& term,
                       const std::string& path) {
    MapResourceCache cache;
    const QImage image = MosaicPicture(config, source, term, cache);
    std::string error;
    if (image.isNull() || !WritePngFile(image, path, error)) {
        return LoadFailure(error.empty() ? "cannot draw the composite" : error);
    }
    return 0;
}

}  // namespace kalvera::cli
