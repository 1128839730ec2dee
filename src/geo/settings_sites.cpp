#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "geo/settings.h"

namespace kalvera {

namespace {

namespace fs = std::filesystem;

// Site directories: directories (a link to one counts, as paths through it
// work) whose names do not begin with "." (hidden, and "." and "..").
std::vector<std::string> SiteDirectories(const std::string& dataRoot) {
    std::vector<std::string> names;
    const fs::path root = dataRoot.empty() ? fs::path(".") : fs::path(dataRoot);
    std::error_code failure;
    fs::directory_iterator entry(root, failure);
    for (; !failure && entry != fs::directory_iterator(); entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code statFailure;
        if (!entry->is_directory(statFailure) || statFailure) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

void ListSites(AppConfig& config) {
    SiteList list;
    list.names.push_back(config.defaultSite);
    for (std::string& name : SiteDirectories(config.dataRoot)) {
        if (name != config.defaultSite) list.names.push_back(std::move(name));
    }
    config.siteList = std::move(list);
}

}  // namespace kalvera
