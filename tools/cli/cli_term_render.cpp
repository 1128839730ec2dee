#include "cli_term_render.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "common/date_time.h"
#include "geo/settings.h"
#include "products/term_layers.h"
#include "render/app_language.h"
#include "render/mosaic_picture.h"
#include "render/picture_render.h"

namespace kalvera::cli {

namespace {

constexpr int kMinSide = 64;
constexpr int kMaxSide = 8000;
// The right edge of the viewer's filter bar: only the picture's size matters
// here, but the layout is the window's.
constexpr int kFilterBarRight = 176;

int ParseOption(const std::string& name, const std::string& value, RenderArgs& render) {
    TermChoice& term = render.term;
    if (int status = 0; ParseColourOption(name, value, render.colours, status)) return status;
    if (name == "--start-dir") {
        term.startDir = value;
    } else if (name == "--site") {
        term.site = value;
    } else if (name == "--day") {
        if (!ParseDay(value, render.year, render.month, render.dayOfMonth))
            return UsageError(kDayUsage);
        term.day = value;
    } else if (name == "--term") {
        int hour = 0, minute = 0;
        if (!SplitTermText(value, hour, minute)) return UsageError("--term needs HH.MM");
        term.term = value;
    } else if (name == "--layer") {
        if (!ParseLayer(value, term.layer)) return UsageError(kLayerUsage);
    } else if (name == "--out") {
        render.out = value;
    } else if (name == "--side") {
        if (!ParseInt(value, render.side) || render.side < kMinSide || render.side > kMaxSide) {
            return UsageError("--side needs a number of pixels from " + std::to_string(kMinSide) +
                              " to " + std::to_string(kMaxSide));
        }
    } else if (name == "--centre") {
        if (!ParseLatLon(value, term.centreLat, term.centreLon) || term.centreLat < -89.0f ||
            term.centreLat > 89.0f) {
            return UsageError("--centre needs LAT,LON in degrees");
        }
        term.centred = true;
    } else if (name == "--half-extent") {
        if (!ParseFloat(value, term.halfExtentKm) || term.halfExtentKm < 10.0f ||
            term.halfExtentKm > 5000.0f) {
            return UsageError("--half-extent needs kilometres from 10 to 5000");
        }
    } else {
        return UsageError("unknown option " + name);
    }
    return 0;
}

// The environment that scales a Qt program's screens and fonts.
constexpr const char* kScaleVariables[] = {"QT_SCALE_FACTOR",
                                           "QT_SCREEN_SCALE_FACTORS",
                                           "QT_AUTO_SCREEN_SCALE_FACTOR",
                                           "QT_ENABLE_HIGHDPI_SCALING",
                                           "QT_FONT_DPI",
                                           "QT_USE_PHYSICAL_DPI",
                                           "QT_SCALE_FACTOR_ROUNDING_POLICY"};

// A batch tool's standard error is for its own reasons; the offscreen
// platform's remark about a missing runtime directory is not one.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int ParseRenderArgs(const std::vector<std::string>& args, RenderArgs& render) {
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(
            args, {"--start-dir", "--site", "--day", "--term", "--layer", "--out"}, options);
        usage != 0) {
        return usage;
    }
    for (const auto& [name, value] : options) {
        if (const int usage = ParseOption(name, value, render); usage != 0) return usage;
        render.given.push_back(name);
    }
    return 0;
}

int RefuseOptions(const RenderArgs& render, const std::vector<std::string>& names,
                  const std::string& format) {
    for (const std::string& name : names) {
        if (std::find(render.given.begin(), render.given.end(), name) != render.given.end()) {
            return UsageError(name + " does not apply to " + format);
        }
    }
    return 0;
}

// Fonts need an application object; without a display the offscreen
// platform draws them just the same.
std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A desktop's scale settings change how Qt hints glyphs, and so a few
    // pixels of every text: a published file must be the same bytes from a
    // script, a terminal of a scaled desktop or a cron job.
    for (const char* name : kScaleVariables) qunsetenv(name);
    qInstallMessageHandler(QuietMessages);
    static int argc = 1;
    static char name[] = "kalvera-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    InstallLanguage(*app, PictureLanguage() == "en" ? AppLanguage::English : AppLanguage::Russian);
    return app;
}

int PrepareTerm(const RenderArgs& render, ViewerState& viewer) {
    std::string error;
    if (!LoadSettingsFrom(viewer.config, render.term.startDir, error)) {
        return LoadFailure(error);
    }
    LoadPalette(viewer.config);
    if (const int failed = ApplyColourOptions(render.colours, render.term.layer, viewer.config);
        failed != 0) {
        return failed;
    }

    SetUpTerm(viewer, StateForTerm(render.term, viewer.config.dataRoot),
              EncodeDate(render.year, render.month, render.dayOfMonth), render.side);
    return 0;
}

void SetUpTerm(ViewerState& viewer, const DisplayState& state, double date, int side) {
    viewer.display = state;
    viewer.display.currentDate = date;
    viewer.layout = ComputePictureLayout(kFilterBarRight, side + kHeaderHeight + 10);
    viewer.MapLayer.setSize(side, side);
    viewer.PictureLayer.setSize(side, side);
    viewer.WindowDC.setSize(WindowWidthFor(viewer.layout), viewer.layout.picture.bottom() + 10,
                            kWhite);
}

int RenderTerm(const RenderArgs& render, ViewerState& viewer) {
    if (const int failed = PrepareTerm(render, viewer); failed != 0) return failed;
    if (!RenderPicture(viewer)) return LoadFailure(WhyNotLoaded(viewer.display));
    return 0;
}

QImage MosaicPicture(const AppConfig& config, const MapSource& source, const MosaicTerm& term,
                     MapResourceCache& cache) {
    constexpr int kMosaicPictureSide = 1000;
    const MosaicScene scene =
        MosaicSceneOf(config, term, source.termText, *source.composite, source.layerCode, 0, cache);
    return MosaicPictureImage(scene,
                              MosaicTitle(source.dayName, source.termText, source.layerCode,
                                          term.Present().size(), term.sites.size()),
                              kMosaicPictureSide);
}

}  // namespace kalvera::cli
