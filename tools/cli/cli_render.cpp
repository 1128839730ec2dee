// kalvera-cli render: the picture of one term composed as the automatic export
// composes it (map, cells, legend, the two header lines), without a display,
// written as JPEG, PNG or, for a .pdf name, the printed page. The batch tool
// an office uses to publish pictures from a script.

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "common/date_time.h"
#include "geo/settings.h"
#include "output/jpeg_writer.h"
#include "output/picture_export.h"
#include "output/print_job.h"
#include "output/replace_file.h"
#include "render/picture_render.h"
#include "render/viewer_state.h"

namespace kalvera::cli {

namespace {

constexpr int kDefaultSide = 700;
constexpr int kMinSide = 64;
constexpr int kMaxSide = 8000;
constexpr float kDefaultHalfExtentKm = 200.0f;
// The right edge of the viewer's filter bar: only the picture's size matters
// here, but the layout is the window's.
constexpr int kFilterBarRight = 176;

enum class OutputKind { Jpeg, Png, Pdf };

struct RenderArgs {
    std::string startDir, site, day, term, out;
    int layer = 0;
    int side = kDefaultSide;
    bool centred = false;
    float centreLat = 0.0f, centreLon = 0.0f;
    float halfExtentKm = kDefaultHalfExtentKm;
    int year = 0, month = 0, dayOfMonth = 0;
};

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !(parsed == parsed)) return false;
    value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < -1000000 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

// YYMMDD of a real calendar day in 2000..2099.
bool ParseDay(const std::string& text, RenderArgs& render) {
    if (text.size() != 6 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    render.year = 2000 + std::stoi(text.substr(0, 2));
    render.month = std::stoi(text.substr(2, 2));
    render.dayOfMonth = std::stoi(text.substr(4, 2));
    return render.month >= 1 && render.month <= 12 && render.dayOfMonth >= 1 &&
           render.dayOfMonth <= DaysInMonth(render.year, render.month);
}

OutputKind KindOf(const std::string& path) {
    auto endsWith = [&path](const char* suffix) {
        const std::string s(suffix);
        if (path.size() < s.size()) return false;
        for (size_t i = 0; i < s.size(); ++i) {
            const char c = path[path.size() - s.size() + i];
            if (static_cast<char>(std::tolower(static_cast<unsigned char>(c))) != s[i]) {
                return false;
            }
        }
        return true;
    };
    if (endsWith(".png")) return OutputKind::Png;
    if (endsWith(".pdf")) return OutputKind::Pdf;
    return OutputKind::Jpeg;
}

int ParseOption(const std::string& name, const std::string& value, RenderArgs& render) {
    if (name == "--start-dir") {
        render.startDir = value;
    } else if (name == "--site") {
        render.site = value;
    } else if (name == "--day") {
        if (!ParseDay(value, render)) return UsageError("--day needs a date as YYMMDD");
        render.day = value;
    } else if (name == "--term") {
        int hour = 0, minute = 0;
        if (!SplitTermText(value, hour, minute)) return UsageError("--term needs HH.MM");
        render.term = value;
    } else if (name == "--layer") {
        if (!ParseInt(value, render.layer)) return UsageError("--layer is not a number");
    } else if (name == "--out") {
        render.out = value;
    } else if (name == "--side") {
        if (!ParseInt(value, render.side) || render.side < kMinSide || render.side > kMaxSide) {
            return UsageError("--side needs a number of pixels from " + std::to_string(kMinSide) +
                              " to " + std::to_string(kMaxSide));
        }
    } else if (name == "--centre") {
        const size_t comma = value.find(',');
        if (comma == std::string::npos || !ParseFloat(value.substr(0, comma), render.centreLat) ||
            !ParseFloat(value.substr(comma + 1), render.centreLon) || render.centreLat < -89.0f ||
            render.centreLat > 89.0f) {
            return UsageError("--centre needs LAT,LON in degrees");
        }
        render.centred = true;
    } else if (name == "--half-extent") {
        if (!ParseFloat(value, render.halfExtentKm) || render.halfExtentKm < 10.0f ||
            render.halfExtentKm > 5000.0f) {
            return UsageError("--half-extent needs kilometres from 10 to 5000");
        }
    } else {
        return UsageError("unknown option " + name);
    }
    return 0;
}

int ParseArgs(const std::vector<std::string>& args, RenderArgs& render) {
    std::map<std::string, std::string> options;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (args[i].rfind("--", 0) != 0) return UsageError("unexpected argument: " + args[i]);
        if (i + 1 >= args.size()) return UsageError(args[i] + " needs a value");
        options[args[i]] = args[i + 1];
    }
    for (const char* required : {"--start-dir", "--site", "--day", "--term", "--layer", "--out"}) {
        if (options.count(required) == 0) return UsageError(std::string("missing ") + required);
    }
    for (const auto& [name, value] : options) {
        if (const int usage = ParseOption(name, value, render); usage != 0) return usage;
    }
    return 0;
}

int LoadFailure(const std::string& reason) {
    std::fprintf(stderr, "kalvera-cli: %s\n", reason.c_str());
    return 1;
}

// The viewer resolves a relative data directory against its start directory.
std::string DataRootFrom(const std::string& startDir, const std::string& dataRoot) {
    if (dataRoot.empty() || dataRoot.front() == '/') return dataRoot;
    return startDir + "/" + dataRoot;
}

// Why the term cannot be drawn, in the order the viewer would stumble on it.
std::string WhyNotLoaded(const RenderArgs& render, const DisplayState& state) {
    std::vector<std::string> terms;
    if (LoadTermList(state.indexPath, terms) == 0) {
        return "cannot read the index file " + state.indexPath;
    }
    if (FindMessageOffset(state.indexPath, render.term, render.layer) < 0) {
        return "no message for term " + render.term + ", layer " + std::to_string(render.layer) +
               " in " + state.indexPath;
    }
    return "the message for term " + render.term + ", layer " + std::to_string(render.layer) +
           " in " + state.basePath + " does not decode";
}

bool WriteImage(const QImage& image, const std::string& path, OutputKind kind, std::string& error) {
    if (kind == OutputKind::Jpeg) return WriteJpegFile(image, path, error);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "Cannot encode " + path + " as PNG";
        return false;
    }
    const QByteArray& bytes = buffer.data();
    return ReplaceFileContents(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

// A batch tool's standard error is for its own reasons; the offscreen
// platform's remark about a missing runtime directory is not one.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Fonts need an application object; without a display the offscreen
// platform draws them just the same.
std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    static int argc = 1;
    static char name[] = "kalvera-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runRender(const std::vector<std::string>& args) {
    RenderArgs render;
    if (const int usage = ParseArgs(args, render); usage != 0) return usage;
    const std::unique_ptr<QGuiApplication> app = StartGui();

    // About 100 MB of bitmaps at the largest side: kept off the stack.
    auto viewer = std::make_unique<ViewerState>();
    std::string error;
    if (!LoadSettingsFrom(viewer->config, render.startDir, error)) return LoadFailure(error);
    LoadPalette(viewer->config);

    const DayArchive day = DayArchive::Of(DataRootFrom(render.startDir, viewer->config.dataRoot),
                                          render.site, render.day);
    DisplayState& state = viewer->display;
    state.siteCode = day.siteCode;
    state.dayName = day.dayName;
    state.indexPath = day.indexPath;
    state.basePath = day.basePath;
    state.currentDate = EncodeDate(render.year, render.month, render.dayOfMonth);
    state.termText = render.term;
    state.layerCode = render.layer;
    state.viewHalfExtentKm = render.halfExtentKm;
    // Without a given centre the decoder centres the view on its site, as
    // after a change of site in the viewer.
    state.recentre = render.centred ? 1 : 0;
    state.viewLat = render.centreLat;
    state.viewLon = render.centreLon;

    viewer->layout = ComputePictureLayout(kFilterBarRight, render.side + kHeaderHeight + 10);
    viewer->MapLayer.setSize(render.side, render.side);
    viewer->PictureLayer.setSize(render.side, render.side);
    viewer->WindowDC.setSize(WindowWidthFor(viewer->layout), viewer->layout.picture.bottom() + 10,
                             kWhite);
    if (!RenderPicture(*viewer)) return LoadFailure(WhyNotLoaded(render, state));

    const OutputKind kind = KindOf(render.out);
    const bool written = kind == OutputKind::Pdf
                             ? WritePdfPage(*viewer, render.out, error)
                             : WriteImage(ComposeExportImage(*viewer), render.out, kind, error);
    if (!written) return LoadFailure(error);
    return 0;
}

const CliRegistrar registrar(
    {"render",
     "render --start-dir DIR --site CODE --day YYMMDD --term HH.MM --layer N --out FILE "
     "[--side PX] [--centre LAT,LON] [--half-extent KM]",
     runRender});

}  // namespace

}  // namespace kalvera::cli
