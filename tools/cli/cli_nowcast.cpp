// kalvera-cli nowcast: a layer of a term carried on along the motion of its
// echoes to leads of 10 to 60 minutes, written as pictures or map files; a
// site's, or with --mosaic the composite's. Several leads are one call: the
// terms are read and the motion found once.

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
    std::vector<int> leads;  // ascending, each once
    std::string out;
};

// "10,20,30": leads of the nowcast each; false on anything else.
bool ParseLeads(const std::string& text, std::vector<int>& leads) {
    const std::vector<int> known = NowcastLeads();
    leads.clear();
    size_t from = 0;
    while (from <= text.size()) {
        const size_t comma = std::min(text.find(',', from), text.size());
        int lead = 0;
        if (!ParseInt(text.substr(from, comma - from), lead) ||
            std::find(known.begin(), known.end(), lead) == known.end()) {
            return false;
        }
        leads.push_back(lead);
        from = comma + 1;
    }
    std::sort(leads.begin(), leads.end());
    leads.erase(std::unique(leads.begin(), leads.end()), leads.end());
    return !leads.empty();
}

// The file of one lead: --out itself for one lead, else "+NN" before its
// extension ("f.png" gives "f+10.png", "f+20.png", ...).
std::string OutputOf(const NowcastArgs& request, int lead) {
    if (request.leads.size() == 1) return request.out;
    const size_t slash = request.out.find_last_of('/');
    size_t dot = request.out.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        dot = request.out.size();
    }
    return request.out.substr(0, dot) + '+' + std::to_string(lead) + request.out.substr(dot);
}

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
            if (!ParseLeads(value, request.leads)) {
                return UsageError(
                    "--lead needs minutes: 10, 20, 30, 40, 50 or 60, or several with commas");
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

// The forecast grids of the request, by lead; 0, or 1 with the reason printed.
int Forecast(const NowcastArgs& request, NowcastDaySource& day,
             std::vector<GridValues>& forecasts) {
    const TermChoice& choice = request.day.day;
    std::vector<DayTerm> terms;
    const std::vector<int> codes = choice.layer == kLayerColumnMax
                                       ? std::vector<int>{kLayerColumnMax}
                                       : std::vector<int>{kLayerColumnMax, choice.layer};
    // The motion reads the term and the two before it, nothing earlier.
    if (const int failed =
            LoadNowcastDay(request.day, codes, TermSelection(choice.term, 3), terms, &day);
        failed != 0) {
        return failed;
    }
    if (terms.empty() || terms.back().termText != choice.term || terms.back().minutes < 0.0) {
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
    forecasts = Extrapolate(*newest, motion, request.leads, AdvectionOf(choice.layer));
    if (forecasts.size() != request.leads.size() ||
        (!request.day.mosaic &&
         forecasts.front().values.size() != static_cast<size_t>(kGridCells))) {
        return LoadFailure("the forecast grid is not a site's square");
    }
    return 0;
}

int WritePicture(const NowcastArgs& request, const GridValues& forecast, int lead,
                 const std::string& out) {
    const std::unique_ptr<QGuiApplication> app = StartGui();
    auto viewer = std::make_unique<ViewerState>();
    RenderArgs render;
    render.term = request.day.day;
    render.out = out;
    if (!ParseDay(render.term.day, render.year, render.month, render.dayOfMonth)) {
        return UsageError(kDayUsage);
    }
    if (const int failed = RenderTerm(render, *viewer); failed != 0) return failed;
    viewer->picture = ForecastPicture(forecast);
    viewer->pictureMarksNoData = true;
    DrawDecodedPicture(*viewer);
    viewer->display.termText = ForecastFrameText(render.term.term, lead);
    QImage image = ComposeExportImage(*viewer);
    {
        CanvasState state;
        Canvas canvas(image, state);
        DrawForecastMark(canvas, Viewport::Of(viewer->view, 0, kExportHeaderHeight),
                         render.term.term, lead);
    }
    std::string error;
    if (!WritePngFile(image, out, error)) return LoadFailure(error);
    return 0;
}

int WriteMap(const NowcastArgs& request, const GridValues& forecast, int lead,
             const std::string& out) {
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
    source->leadMinutes = lead;
    if (!WriteMapFile(*source, out, error)) return LoadFailure(error);
    return 0;
}

// The composite's forecast goes out as the composite of its base term does,
// its grid replaced by the forecast's.
int WriteMosaic(const NowcastArgs& request, NowcastDaySource& day,
                const std::vector<GridValues>& forecasts) {
    const std::unique_ptr<QGuiApplication> app = StartGui();
    const TermChoice& choice = request.day.day;
    MosaicTerm term;
    std::string error;
    // The base term's composite is made once for every lead.
    const std::unique_ptr<MapSource> source =
        LoadMosaicSource(day.config, day.loader,
                         MosaicRequestOf(day.config, request.day.choice, choice.day, choice.term),
                         choice.layer, request.day.choice.method, term, error);
    if (!source) return LoadFailure(error);
    const std::string baseText = source->termText;
    for (size_t l = 0; l < forecasts.size(); ++l) {
        const int lead = request.leads[l];
        const std::string out = OutputOf(request, lead);
        if (!source->composite || source->composite->values.size() != forecasts[l].values.size()) {
            return LoadFailure("the forecast grid is not the composite's");
        }
        source->composite->values = forecasts[l].values;
        source->leadMinutes = lead;
        source->termText = baseText;
        if (HasSuffix(out, ".png")) {
            source->termText = ForecastFrameText(choice.term, lead);
            if (const int failed = WriteMosaicPicture(day.config, *source, term, out);
                failed != 0) {
                return failed;
            }
        } else if (!WriteMapFile(*source, out, error)) {
            return LoadFailure(error);
        }
    }
    return 0;
}

int runNowcast(const std::vector<std::string>& args) {
    NowcastArgs request;
    if (const int usage = ParseArgs(args, request); usage != 0) return usage;
    std::vector<GridValues> forecasts;
    NowcastDaySource day;
    if (const int failed = Forecast(request, day, forecasts); failed != 0) return failed;
    // One application for every lead's picture or file.
    const std::unique_ptr<QGuiApplication> app = StartGui();
    if (request.day.mosaic) return WriteMosaic(request, day, forecasts);
    for (size_t l = 0; l < forecasts.size(); ++l) {
        const int lead = request.leads[l];
        const std::string out = OutputOf(request, lead);
        const int failed = HasSuffix(out, ".png") ? WritePicture(request, forecasts[l], lead, out)
                                                  : WriteMap(request, forecasts[l], lead, out);
        if (failed != 0) return failed;
    }
    return 0;
}

const CliRegistrar registrar({"nowcast", runNowcast});

}  // namespace

}  // namespace kalvera::cli
