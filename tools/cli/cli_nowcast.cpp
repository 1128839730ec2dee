// kalvera-cli nowcast: a layer of a term carried on along the motion of its
// echoes to a lead of 10 to 60 minutes, written as a picture or a map file;
// a site's, or with --mosaic the composite's.

#include <QImage>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_nowcast_day.h"
#include "cli_term_render.h"
#include "geo/settings.h"
#include "nowcast/day_nowcast.h"
#include "output/map_export.h"
#include "output/mosaic_source.h"
#include "output/picture_export.h"
#include "output/png_writer.h"
#include "render/canvas.h"
#include "render/nowcast_layer.h"
#include "render/picture_render.h"

namespace kalvera::cli {

namespace {

struct NowcastArgs {
    NowcastDayArgs day;
    int lead = 0;
    std::string out;
};

int ParseArgs(const std::vector<std::string>& args, NowcastArgs& request) {
    if (const int usage = ParseNowcastDay(
            args, {"--start-dir", "--site", "--day", "--term", "--layer", "--lead", "--out"}, false,
            request.day);
        usage != 0) {
        return usage;
    }
    TermChoice& term = request.day.day;
    for (const auto& [name, value] : request.day.rest) {
        int hour = 0, minute = 0;
        if (name == "--term") {
            if (!SplitTermText(value, hour, minute)) return UsageError("--term needs HH.MM");
            term.term = TermTextOf(hour, minute);
        } else if (name == "--layer") {
            if (!ParseLayer(value, term.layer)) return UsageError(kLayerUsage);
        } else if (name == "--lead") {
            const std::vector<int> leads = NowcastLeads();
            if (!ParseInt(value, request.lead) ||
                std::find(leads.begin(), leads.end(), request.lead) == leads.end()) {
                return UsageError("--lead needs minutes: 10, 20, 30, 40, 50 or 60");
            }
        } else if (name == "--out") {
            request.out = value;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    if (!HasSuffix(request.out, ".png") && MapFormatOf(request.out) == MapFormat::None) {
        return UsageError("--out must end in .png, .tif, .kmz, .geojson or .gpkg");
    }
    return 0;
}

// The forecast grid of the request; 0, or 1 with the reason printed.
int Forecast(const NowcastArgs& request, NowcastDaySource& day, GridValues& forecast) {
    const TermChoice& choice = request.day.day;
    std::vector<DayTerm> terms;
    const std::vector<int> codes = choice.layer == kLayerColumnMax
                                       ? std::vector<int>{kLayerColumnMax}
                                       : std::vector<int>{kLayerColumnMax, choice.layer};
    if (const int failed = LoadNowcastDay(request.day, codes, choice.term, terms, &day);
        failed != 0) {
        return failed;
    }
    if (terms.empty() || terms.back().termText != choice.term) {
        return LoadFailure("the day has no term " + choice.term);
    }
    const size_t base = terms.size() - 1;
    const GridValues* newest = terms[base].layer(choice.layer);
    if (!newest) {
        return LoadFailure("layer " + LayerName(choice.layer) + " of term " + choice.term +
                           " does not decode");
    }
    if (base == 0) return LoadFailure("the nowcast needs a term before " + choice.term);
    // The motion is read from the column maximum, whatever layer is carried:
    // phenomena and echo tops say little about it on their own.
    const int motionLayer = terms[base].layer(kLayerColumnMax) ? kLayerColumnMax : choice.layer;
    const MotionField motion = MotionAt(terms, base, motionLayer);
    const std::vector<GridValues> leads =
        Extrapolate(*newest, motion, {request.lead}, AdvectionOf(choice.layer));
    if (leads.empty() ||
        (!request.day.mosaic && leads.front().values.size() != static_cast<size_t>(kGridCells))) {
        return LoadFailure("the forecast grid is not a site's square");
    }
    forecast = leads.front();
    return 0;
}

int WritePicture(const NowcastArgs& request, const GridValues& forecast) {
    const std::unique_ptr<QGuiApplication> app = StartGui();
    auto viewer = std::make_unique<ViewerState>();
    RenderArgs render;
    render.term = request.day.day;
    render.out = request.out;
    if (!ParseDay(render.term.day, render.year, render.month, render.dayOfMonth)) {
        return UsageError(kDayUsage);
    }
    if (const int failed = RenderTerm(render, *viewer); failed != 0) return failed;
    viewer->picture = ForecastPicture(forecast);
    DrawDecodedPicture(*viewer);
    viewer->display.termText = ForecastFrameText(render.term.term, request.lead);
    QImage image = ComposeExportImage(*viewer);
    {
        CanvasState state;
        Canvas canvas(image, state);
        DrawForecastMark(canvas, Viewport::Of(viewer->view, 0, kExportHeaderHeight),
                         render.term.term, request.lead);
    }
    std::string error;
    if (!WritePngFile(image, request.out, error)) return LoadFailure(error);
    return 0;
}

int WriteMap(const NowcastArgs& request, const GridValues& forecast) {
    // The legend of a KMZ is drawn with text.
    const std::unique_ptr<QGuiApplication> app = StartGui();
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, request.day.day.startDir, error)) return LoadFailure(error);
    LoadPalette(config);
    const DisplayState at = StateForTerm(request.day.day, config.dataRoot);
    const std::unique_ptr<MapSource> source =
        LoadMapSource(config, at, request.day.day.layer, error);
    if (!source) return LoadFailure(error);
    // Cells whose air came from beyond the grid are the files' nodata.
    std::copy(forecast.values.begin(), forecast.values.end(), source->grid.values.begin());
    source->leadMinutes = request.lead;
    if (!WriteMapFile(*source, request.out, error)) return LoadFailure(error);
    return 0;
}

// The composite's forecast goes out as the composite of its base term does,
// its grid replaced by the forecast's.
int WriteMosaic(const NowcastArgs& request, NowcastDaySource& day, const GridValues& forecast) {
    const std::unique_ptr<QGuiApplication> app = StartGui();
    const TermChoice& choice = request.day.day;
    MosaicTerm term;
    std::string error;
    const std::unique_ptr<MapSource> source =
        LoadMosaicSource(day.config, day.loader,
                         MosaicRequestOf(day.config, request.day.choice, choice.day, choice.term),
                         choice.layer, request.day.choice.method, term, error);
    if (!source) return LoadFailure(error);
    if (!source->composite || source->composite->values.size() != forecast.values.size()) {
        return LoadFailure("the forecast grid is not the composite's");
    }
    source->composite->values = forecast.values;
    source->leadMinutes = request.lead;
    if (HasSuffix(request.out, ".png")) {
        source->termText = ForecastFrameText(choice.term, request.lead);
        return WriteMosaicPicture(day.config, *source, term, request.out);
    }
    if (!WriteMapFile(*source, request.out, error)) return LoadFailure(error);
    return 0;
}

int runNowcast(const std::vector<std::string>& args) {
    NowcastArgs request;
    if (const int usage = ParseArgs(args, request); usage != 0) return usage;
    GridValues forecast;
    NowcastDaySource day;
    if (const int failed = Forecast(request, day, forecast); failed != 0) return failed;
    if (request.day.mosaic) return WriteMosaic(request, day, forecast);
    return HasSuffix(request.out, ".png") ? WritePicture(request, forecast)
                                          : WriteMap(request, forecast);
}

const CliRegistrar registrar({"nowcast", runNowcast});

}  // namespace

}  // namespace kalvera::cli
