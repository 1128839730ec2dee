// kalvera-cli section: the vertical section of a term along a line, as the
// viewer's section window shows it (PNG) or as numbers (CSV), one sample
// every kilometre.

#include <QGuiApplication>
#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "common/replace_file.h"
#include "geo/settings.h"
#include "output/png_writer.h"
#include "products/section.h"
#include "render/section_render.h"

namespace kalvera::cli {

namespace {

constexpr int kSectionWidth = 900;
constexpr int kSectionHeight = 500;

struct SectionArgs {
    TermChoice term;
    GeoPoint from, to;
    std::string out;
};

int ParseArgs(const std::vector<std::string>& args, SectionArgs& section) {
    std::map<std::string, std::string> options;
    if (const int usage = ParseOptionPairs(
            args, {"--start-dir", "--site", "--day", "--term", "--from", "--to", "--out"}, options);
        usage != 0) {
        return usage;
    }
    TermChoice& term = section.term;
    for (const auto& [name, value] : options) {
        if (name == "--start-dir") {
            term.startDir = value;
        } else if (name == "--site") {
            term.site = value;
        } else if (name == "--day") {
            if (!IsDayName(value)) return UsageError(kDayUsage);
            term.day = value;
        } else if (name == "--term") {
            term.term = value;
        } else if (name == "--from" || name == "--to") {
            GeoPoint& end = name == "--from" ? section.from : section.to;
            if (!ParseLatLon(value, end.lat, end.lon)) {
                return UsageError(name + " needs LAT,LON in degrees");
            }
        } else if (name == "--out") {
            section.out = value;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    int hour = 0, minute = 0;
    if (!SplitTermText(term.term, hour, minute)) return UsageError("--term needs HH.MM");
    if (!HasSuffix(section.out, ".png") && !HasSuffix(section.out, ".csv")) {
        return UsageError("--out needs a .png or .csv file");
    }
    return 0;
}

int runSection(const std::vector<std::string>& args) {
    SectionArgs request;
    if (const int usage = ParseArgs(args, request); usage != 0) return usage;

    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, request.term.startDir, error)) return LoadFailure(error);
    LoadPalette(config);
    DisplayState state = StateForTerm(request.term, config.dataRoot);
    Section section;
    if (!LoadSection(state, request.from, request.to, section)) {
        return LoadFailure("no layer of term " + request.term.term + " decodes from " +
                           state.basePath);
    }
    if (HasSuffix(request.out, ".csv")) {
        if (!ReplaceFileContents(request.out, SectionCsv(section), error)) {
            return LoadFailure(error);
        }
        return 0;
    }
    const auto app = StartGui();
    const QImage image = DrawSectionImage(section, config.palette, kSectionWidth, kSectionHeight);
    if (!WritePngFile(image, request.out, error)) return LoadFailure(error);
    return 0;
}

const CliRegistrar registrar({"section", runSection});

}  // namespace

}  // namespace kalvera::cli
