#include "geo/colour_choice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace kalvera {

namespace fs = std::filesystem;

std::vector<ColourTableFile> ListColourTables(const std::vector<std::string>& folders) {
    std::vector<ColourTableFile> files;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        std::error_code failure;
        std::vector<ColourTableFile> here;
        for (fs::directory_iterator it(folder, failure), end; !failure && it != end;
             it.increment(failure)) {
            const fs::path& path = it->path();
            if (path.extension() != ".pal" || !it->is_regular_file(failure)) continue;
            here.push_back({path.stem().string(), path.string()});
        }
        std::sort(here.begin(), here.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        for (ColourTableFile& file : here) {
            if (file.name != kClassicTableName && seen.insert(file.name).second) {
                files.push_back(std::move(file));
            }
        }
    }
    return files;
}

bool TableSuitsKind(const ColourTable& table, LayerKind kind) {
    std::string units;
    for (char c : table.units) {
        if (c != ' ' && c != '\t')
            units += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (units.empty()) return true;
    switch (kind) {
        case LayerKind::Reflectivity:
            return units == "dbz";
        case LayerKind::EchoTops:
            return units == "m" || units == "km" || units == "ft" || units == "kft";
        case LayerKind::Phenomena:
            return units == "code";
        case LayerKind::Vil:
            return units == "kg/m2" || units == "kg/m²";
    }
    return false;
}

std::string UserColourFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/kalvera/colors";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/kalvera/colors";
}

std::vector<std::string> ColourTableFolders(const std::string& startDir,
                                            const std::string& shippedDataDir) {
    return {startDir + "/res/colors", shippedDataDir + "/colors", UserColourFolder()};
}

bool ResolveColourTable(const std::string& nameOrPath, const std::vector<std::string>& folders,
                        std::shared_ptr<const ColourTable>& table, std::string& error,
                        std::vector<std::string>& warnings) {
    if (nameOrPath == kClassicTableName) {
        table.reset();
        return true;
    }
    std::string path;
    std::error_code failure;
    if (nameOrPath.find('/') != std::string::npos || fs::is_regular_file(nameOrPath, failure)) {
        path = nameOrPath;
    } else {
        for (const ColourTableFile& file : ListColourTables(folders)) {
            if (file.name == nameOrPath) path = file.path;
        }
    }
    if (path.empty()) {
        error = "No colour table \"" + nameOrPath + "\": neither a file nor a preset";
        return false;
    }
    auto read = std::make_shared<ColourTable>();
    if (!LoadColourTable(path, *read, error, warnings)) return false;
    table = std::move(read);
    return true;
}

int OpacityStep(int percent) {
    return std::clamp((percent + 2) / 5 * 5, kMinCellOpacity, 100);
}

}  // namespace kalvera
