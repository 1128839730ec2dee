// kalvera-cli import: other services' ODIM_H5 and GeoTIFF radar rasters into
// day archives of our own, so that every part of the program reads them as
// it reads the network's terms.

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "cli_options.h"
#include "common/date_time.h"
#include "demo/day_writer.h"
#include "demo/demo_sites.h"
#include "demo/term_products.h"
#include "geo/settings.h"
#include "mosaic/mosaic_term.h"
#include "output/radar_import.h"

namespace kalvera::cli {

namespace {

constexpr const char* kUsage =
    "import needs --from FILE... --start-dir DIR and --sites A,B,... or --site CODE --centre "
    "LAT,LON";

struct ImportOptions {
    std::vector<std::string> files;
    std::string startDir, sites, site, centre;
};

int ParseImport(const std::vector<std::string>& args, ImportOptions& options) {
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& name = args[k];
        if (name == "--from") {
            while (k + 1 < args.size() && args[k + 1].rfind("--", 0) != 0)
                options.files.push_back(args[++k]);
            continue;
        }
        if (k + 1 >= args.size()) return UsageError(kUsage);
        const std::string& value = args[++k];
        if (name == "--start-dir")
            options.startDir = value;
        else if (name == "--sites")
            options.sites = value;
        else if (name == "--site")
            options.site = value;
        else if (name == "--centre")
            options.centre = value;
        else
            return UsageError("unknown option " + name + "; " + kUsage);
    }
    if (options.files.empty() || options.startDir.empty()) return UsageError(kUsage);
    if (options.sites.empty() == (options.site.empty() && options.centre.empty()))
        return UsageError("give either --sites or --site with --centre");
    if (options.sites.empty() && (options.site.empty() || options.centre.empty()))
        return UsageError("--site and --centre go together");
    return 0;
}

bool IsSiteCode(const std::string& code) {
    return code.size() == 5 && code.find_first_not_of("0123456789") == std::string::npos;
}

// A named site stands where its archive's messages say, as the composite
// places it; a site with no archive yet where the demo network has it.
int SitesOf(const ImportOptions& options, const std::string& dataRoot,
            std::vector<demo::DemoSite>& sites) {
    if (!options.site.empty()) {
        float lat = 0, lon = 0;
        if (!IsSiteCode(options.site)) return UsageError("--site needs a five-digit site code");
        if (!ParseLatLon(options.centre, lat, lon))
            return UsageError("--centre needs LAT,LON in degrees");
        sites.push_back({options.site, lat, lon, false});
        return 0;
    }
    std::stringstream list(options.sites);
    std::string code;
    MosaicLoader archive;
    while (std::getline(list, code, ',')) {
        if (!IsSiteCode(code)) return UsageError("--sites needs five-digit site codes");
        MosaicSite placed;
        if (archive.SitePosition(dataRoot, code, "", placed)) {
            sites.push_back({code, placed.lat, placed.lon, false});
            continue;
        }
        const demo::DemoSite* known = nullptr;
        for (const demo::DemoSite& s : demo::DemoSites())
            if (s.code == code) known = &s;
        if (known == nullptr) {
            return UsageError("site " + code +
                              " has no message in the archive to place it; give it with --site "
                              "CODE --centre LAT,LON");
        }
        sites.push_back({known->code, known->lat, known->lon, false});
    }
    if (sites.empty()) return UsageError("--sites needs site codes separated by commas");
    return 0;
}

int runImport(const std::vector<std::string>& args) {
    ImportOptions options;
    if (const int status = ParseImport(args, options)) return status;
    AppConfig config;
    std::string error;
    if (!LoadSettingsFrom(config, options.startDir, error)) return LoadFailure(error);
    std::vector<demo::DemoSite> sites;
    if (const int status = SitesOf(options, config.dataRoot, sites)) return status;

    int imported = 0, skipped = 0;
    for (const std::string& path : options.files) {
        ImportSource source;
        if (!ReadImportSource(path, source, error)) {
            std::fprintf(stderr, "kalvera-cli: %s: %s; skipped\n", path.c_str(), error.c_str());
            ++skipped;
            continue;
        }
        const double when = EncodeDateTime({source.year, source.month, source.day},
                                           {source.hour, source.minute, 0});
        const std::string day = DayNameOf(when);
        const std::string term = TermTextOf(source.hour, source.minute);
        bool fileOk = true;
        int written = 0;
        for (const demo::DemoSite& site : sites) {
            // Every product is resampled before anything is written, so a
            // failure leaves the site's day as it was.
            std::vector<demo::TermMessage> messages;
            for (const ImportField& field : source.fields) {
                std::vector<int32_t> cells;
                if (!ResampleToSite(field, site.lat, site.lon, cells, error)) break;
                demo::Grid grid{};
                std::copy(cells.begin(), cells.end(), grid.begin());
                messages.push_back(demo::EncodeImportedLayer(site, grid, field.layerCode, when));
            }
            if (messages.size() != source.fields.size()) {
                std::fprintf(stderr, "kalvera-cli: %s: %s; skipped\n", path.c_str(), error.c_str());
                fileOk = false;
                break;
            }
            const DayArchive archive = DayArchive::Of(config.dataRoot, site.code, day);
            if (demo::TermsInIndex(archive.indexPath).count(source.hour * 60 + source.minute)) {
                std::fprintf(stderr, "kalvera-cli: %s: site %s already holds %s %s; skipped\n",
                             path.c_str(), site.code.c_str(), day.c_str(), term.c_str());
                continue;
            }
            std::error_code failure;
            std::filesystem::create_directories(SiteDirectory(config.dataRoot, site.code), failure);
            if (!demo::AppendTerm(archive, source.hour, source.minute, messages, nullptr, error))
                return LoadFailure(error);
            std::printf("%s %s %s %s (%zu products)\n", path.c_str(), site.code.c_str(),
                        day.c_str(), term.c_str(), messages.size());
            ++written;
        }
        fileOk&& written > 0 ? ++imported : ++skipped;
    }
    std::printf("%d file(s) imported, %d skipped\n", imported, skipped);
    return imported > 0 || skipped == 0 ? 0 : 1;
}

const CliRegistrar registrar({"import", runImport});

}  // namespace

}  // namespace kalvera::cli
