// kalvera-cli verify: how the day's nowcasts scored against what came, for
// the extrapolation and for persistence, by lead.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_nowcast_day.h"
#include "nowcast/verification.h"
#include "products/derived_products.h"

namespace kalvera::cli {

namespace {

constexpr float kDefaultThresholdDbz = 30.0f;

int runVerify(const std::vector<std::string>& args) {
    NowcastDayArgs request;
    if (const int usage = ParseNowcastDay(args, {"--start-dir", "--site", "--day"}, true, request);
        usage != 0) {
        return usage;
    }
    float thresholdDbz = kDefaultThresholdDbz;
    int layer = kLayerColumnMax;
    for (const auto& [name, value] : request.rest) {
        if (name == "--threshold") {
            if (!ParseFloat(value, thresholdDbz) || thresholdDbz < -30.0f || thresholdDbz > 90.0f) {
                return UsageError("--threshold needs dBZ from -30 to 90");
            }
        } else if (name == "--layer") {
            // Reflectivity only: the threshold is in dBZ.
            if (!ParseLayer(value, layer) || layer == kLayerVil || layer < kFirstHeightLayer ||
                (layer > kLastHeightLayer && layer != kLayerColumnMax)) {
                return UsageError("--layer needs a reflectivity layer from 1 to 10, or max");
            }
        } else {
            return UsageError("unknown option " + name);
        }
    }
    std::vector<DayTerm> day;
    if (const int failed = LoadNowcastDay(request, {layer}, "", day); failed != 0) return failed;
    std::vector<VerifyTerm> terms;
    for (DayTerm& term : day) {
        if (GridValues* g = term.layers.count(layer) ? &term.layers[layer] : nullptr) {
            terms.push_back({term.termText, term.minutes, std::move(*g)});
        }
    }
    const auto threshold = static_cast<int32_t>(std::lround(thresholdDbz * 2.0f));
    const std::string csv = VerifyCsv(VerifyDay(terms, threshold, layer));
    std::fputs(request.csv ? csv.c_str() : AlignedTable(csv).c_str(), stdout);
    return 0;
}

const CliRegistrar registrar({"verify", runVerify});

}  // namespace

}  // namespace kalvera::cli
