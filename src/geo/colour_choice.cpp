#include "geo/colour_choice.h"

#include <algorithm>
#include <cctype>
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
        if (c != ' ' && c != '\t') units += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (units.empty()) return true;
    switch (kind) {
        case LayerKind::Reflectivity: return units == "dbz";
        case LayerKind::EchoTops:
            return units == "m" || units == "km" || units == "ft" || units == "kft";
        case LayerKind::Phenomena: return units == "code";
        case LayerKind::Vil: return units == "kg/m2" || units == "kg/m²";
    }
    return false;
}

int OpacityStep(int percent) {
    return std::clamp((percent + 2) / 5 * 5, 0, 100);
}

}  // namespace kalvera
