#include "output/publish_list.h"

#include <fstream>

#include "archive/day_archive.h"
#include "output/map_export.h"
#include "products/derived_products.h"

namespace kalvera {

namespace {

constexpr const char* kBlanks = " \t\r";

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool ParseLayer(const std::string& token, int& layer) {
    if (DerivedLayerNamed(token, layer)) return true;
    if (token.empty() || token.size() > 2 ||
        token.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    layer = std::stoi(token);
    return layer <= kMaxLayerCode;
}

}  // namespace

bool ParsePublishLine(const std::string& line, const std::string& startDir, PublishEntry& entry) {
    std::string text = Trimmed(line);
    entry.mosaic = text.rfind("mosaic", 0) == 0 && text.find_first_of(kBlanks) == 6;
    if (entry.mosaic) text = Trimmed(text.substr(6));
    const size_t gap = text.find_first_of(kBlanks);
    if (gap == std::string::npos || !ParseLayer(text.substr(0, gap), entry.layerCode)) return false;
    // The rest of the line is the path, blanks inside it included.
    entry.path = Trimmed(text.substr(gap));
    if (MapFormatOf(entry.path) == MapFormat::None) return false;
    if (entry.path.front() != '/') entry.path = startDir + "/" + entry.path;
    return true;
}

PublishList ReadPublishList(const std::string& startDir) {
    PublishList list;
    std::ifstream in(startDir + kPublishListFile);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = Trimmed(line);
        if (text.empty() || text.front() == '#') continue;
        PublishEntry entry;
        entry.lineNumber = number;
        if (ParsePublishLine(text, startDir, entry)) {
            list.entries.push_back(entry);
        } else {
            list.unreadable.emplace_back(number, text);
        }
    }
    return list;
}

}  // namespace kalvera
