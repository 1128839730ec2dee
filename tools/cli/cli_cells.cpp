// kalvera-cli cells: the storm cells of a day, tracked from term to term, a
// row per cell and term.

#include <cstdio>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_nowcast_day.h"
#include "nowcast/day_nowcast.h"
#include "products/derived_products.h"

namespace kalvera::cli {

namespace {

int runCells(const std::vector<std::string>& args) {
    NowcastDayArgs request;
    if (const int usage = ParseNowcastDay(args, {"--start-dir", "--site", "--day"}, true, request);
        usage != 0) {
        return usage;
    }
    std::string term;
    CellOptions options;
    for (const auto& [name, value] : request.rest) {
        int hour = 0, minute = 0;
        float dbz = 0.0f;
        if (name == "--term") {
            if (!SplitTermText(value, hour, minute)) return UsageError("--term needs HH.MM");
            term = TermTextOf(hour, minute);
        } else if (name == "--threshold") {
            if (!ParseFloat(value, dbz) || dbz < 0.0f || dbz > 90.0f) {
                return UsageError("--threshold needs dBZ from 0 to 90");
            }
            options.thresholdDbz = dbz;
        } else {
            return UsageError("unknown option " + name);
        }
    }
    // Tracks are followed from the day's first term (and the last hour of
    // the day before), so the numbers a term shows are the same whether it
    // is asked for alone or with the day.
    std::vector<TermCells> cells;
    if (request.mosaic) {
        // The composite's day is read a part at a time rather than held whole.
        NowcastDaySource source;
        if (const int failed = LoadMosaicConfig(request.day.startDir, source.config); failed != 0) {
            return failed;
        }
        const MosaicRequest day =
            MosaicRequestOf(source.config, request.choice, request.day.day, "");
        std::string error;
        if (!TrackMosaicDay(source.loader, day, request.choice.method, term, options, cells,
                            error)) {
            return LoadFailure(error);
        }
    } else {
        std::vector<DayTerm> terms;
        if (const int failed =
                LoadNowcastDay(request, {kLayerColumnMax, kLayerEchoTops, kLayerVil}, term, terms);
            failed != 0) {
            return failed;
        }
        cells = TrackDay(terms, options);
    }
    // The day before only carried the tracks over midnight.
    std::erase_if(cells, [](const TermCells& t) { return t.minutes < 0.0; });
    if (!term.empty()) {
        if (cells.empty() || cells.back().termText != term) {
            return LoadFailure("the day has no term " + term);
        }
        cells.erase(cells.begin(), cells.end() - 1);
    }
    const std::string csv = CellsCsv(cells);
    std::fputs(request.csv ? csv.c_str() : AlignedTable(csv).c_str(), stdout);
    return 0;
}

const CliRegistrar registrar({"cells", runCells});

}  // namespace

}  // namespace kalvera::cli
