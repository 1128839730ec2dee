#include "demo/demo_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "common/replace_file.h"
#include "demo/demo_sites.h"
#include "demo/synthetic_sites.h"
#include "demo/weather_model.h"

namespace kalvera::demo {

namespace fs = std::filesystem;

namespace {

const char* const kResourceFiles[] = {"country.ind", "country.bin", "punkt.txt", "towns.txt",
                                      "colors.bin"};
constexpr double kMinuteDays = 1.0 / 1440.0;

std::vector<DemoSite> SitesOf(const DemoOptions& options) {
    if (options.syntheticSites > 0) return SyntheticSites(options.syntheticSites);
    const std::vector<DemoSite>& all = DemoSites();
    const int count = options.siteCount > 0 ? options.siteCount : static_cast<int>(all.size());
    const auto n = static_cast<size_t>(std::clamp(count, 1, static_cast<int>(all.size())));
    return {all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n)};
}

// Whole minute of a date-time value, robust against a value a hair below it.
double MinuteOf(double t) {
    return std::floor(t / kMinuteDays + 1e-6) * kMinuteDays;
}

bool WriteSettings(const DemoOptions& options, std::string& error) {
    const std::string root = DataRootOf(options);
    // The settings file is read as white-space separated tokens.
    if (root.find_first_of(" \t\r\n") != std::string::npos) {
        error = "The archive path " + root +
                " contains white space, which the settings file cannot hold";
        return false;
    }
    const DemoSite site = SitesOf(options).front();
    char centre[64];
    std::snprintf(centre, sizeof centre, "%.2f\n%.2f\n", site.lat, site.lon);
    std::string text = root;
    text += '\n';
    text += std::to_string(options.updatePeriodSeconds);
    text += '\n';
    text += site.code;
    text += "\n-\n";
    text += centre;
    return ReplaceFileContents(options.dir + "/settings", text, error);
}

// The colour-table presets, beside the other resources; a table the office
// has changed is kept. Resources without presets (an older tree) are no fault.
bool CopyColourTables(const DemoOptions& options, std::string& error) {
    const fs::path from = fs::path(options.dataDir) / "colors";
    const fs::path to = fs::path(options.dir) / "res" / "colors";
    std::error_code failure;
    if (!fs::is_directory(from, failure)) return true;
    fs::create_directories(to, failure);
    for (fs::directory_iterator it(from, failure), end; !failure && it != end;
         it.increment(failure)) {
        const fs::path target = to / it->path().filename();
        if (fs::exists(target, failure)) continue;
        fs::copy_file(it->path(), target, failure);
    }
    if (failure) {
        error = "Cannot copy the colour tables of " + from.string() + ": " + failure.message();
        return false;
    }
    return true;
}

bool CopyResources(const DemoOptions& options, std::string& error) {
    const fs::path res = fs::path(options.dir) / "res";
    for (const char* name : kResourceFiles) {
        std::error_code failure;
        const fs::path target = res / name;
        // An operator's palette change lives in res/colors.bin; keep it.
        if (fs::exists(target, failure)) continue;
        fs::copy_file(fs::path(options.dataDir) / name, target, failure);
        if (failure) {
            error = "Cannot copy " + (fs::path(options.dataDir) / name).string() + ": " +
                    failure.message();
            return false;
        }
    }
    return CopyColourTables(options, error);
}

// The ODIM_H5 identifiers of the demo's office and sites, so that its files
// can be exported; an office's own file is kept. The nodes are made up
// ("xx" stands for no country); the demo's sites keep their WMO index, the
// synthetic ones have none.
bool WriteOdimIdentifiers(const DemoOptions& options, std::string& error) {
    const fs::path target = fs::path(options.dir) / "res" / "odim.txt";
    std::error_code failure;
    if (fs::exists(target, failure)) return true;
    std::string text =
        "# ODIM_H5 identifiers (what/source): the office, then each site\n"
        "office ORG:demo,CMT:Kalvera demo office\n";
    for (const DemoSite& site : SitesOf(options)) {
        text += site.code + " NOD:xx" + site.code.substr(site.code.size() - 3);
        if (options.syntheticSites == 0) text += ",WMO:" + site.code;
        text += "\n";
    }
    return ReplaceFileContents(target.string(), text, error);
}

int WriteTerm(const DemoOptions& options, const WeatherModel& model, double t,
              std::map<std::string, std::set<int>>& known, const RecordSplitter* splitter,
              std::string& error) {
    const CivilTime time = DecodeTime(t);
    const std::string day = DayNameOf(t);
    const int term = time.hour * 60 + time.minute;
    bool sceneReady = false;
    WeatherScene scene;
    int written = 0;
    for (const DemoSite& site : SitesOf(options)) {
        const DayArchive archive = DayArchive::Of(DataRootOf(options), site.code, day);
        const std::string& key = archive.indexPath;
        auto found = known.find(key);
        if (found == known.end()) found = known.emplace(key, TermsInIndex(key)).first;
        if (found->second.count(term) != 0) continue;
        if (!sceneReady) {
            scene = model.at(t);
            sceneReady = true;
        }
        const std::vector<TermMessage> messages = EncodeTerm(site, SampleTerm(site, scene), t);
        if (!AppendTerm(archive, time.hour, time.minute, messages, splitter, error)) return -1;
        found->second.insert(term);
        ++written;
    }
    return written;
}

}  // namespace

std::string DataRootOf(const DemoOptions& options) {
    std::error_code failure;
    fs::path root = fs::absolute(fs::path(options.dir) / "archive", failure);
    if (failure) root = fs::path(options.dir) / "archive";
    return root.lexically_normal().string() + "/";
}

bool PrepareStartDirectory(const DemoOptions& options, std::string& error) {
    std::error_code failure;
    fs::create_directories(fs::path(options.dir) / "res", failure);
    if (!failure) fs::create_directories(fs::path(options.dir) / "archive", failure);
    for (const DemoSite& site : SitesOf(options)) {
        if (!failure)
            fs::create_directories(SiteDirectory(DataRootOf(options), site.code), failure);
    }
    if (failure) {
        error = "Cannot create " + options.dir + ": " + failure.message();
        return false;
    }
    return WriteSettings(options, error) && CopyResources(options, error) &&
           WriteOdimIdentifiers(options, error);
}

int WriteHistory(const DemoOptions& options, double now, std::string& error,
                 const std::atomic<bool>* stop, const std::function<void(double)>& progress) {
    const WeatherModel model(options.seed);
    const int step = std::max(1, options.stepMinutes);
    const double today = std::floor(now);
    const int days = std::max(1, options.days);
    const double first = today - (days - 1);
    std::map<std::string, std::set<int>> known;
    int written = 0;
    for (int d = days - 1; d >= 0; --d) {
        const double day = today - d;
        for (int minute = 0; minute < 1440; minute += step) {
            const double t = day + minute * kMinuteDays;
            if (t > now || (stop != nullptr && stop->load())) break;
            const int n = WriteTerm(options, model, t, known, nullptr, error);
            if (n < 0) return -1;
            written += n;
            if (progress && now > first) progress(std::min(1.0, (t - first) / (now - first)));
        }
    }
    return written;
}

int AppendLiveTerm(const DemoOptions& options, double now, const RecordSplitter* splitter,
                   std::string& error) {
    std::map<std::string, std::set<int>> known;
    return WriteTerm(options, WeatherModel(options.seed), MinuteOf(now), known, splitter, error);
}

bool RunLive(const DemoOptions& options, const std::atomic<bool>& stop, const LiveHooks& hooks,
             std::string& error) {
    while (!stop.load()) {
        if (AppendLiveTerm(options, hooks.now(), hooks.splitter, error) < 0) return false;
        // Sleep in short slices so that a stop request is seen promptly.
        double left = options.liveSeconds;
        while (left > 0.0 && !stop.load()) {
            const double slice = std::min(left, 0.1);
            hooks.sleep(slice);
            left -= slice;
        }
    }
    return true;
}

}  // namespace kalvera::demo
