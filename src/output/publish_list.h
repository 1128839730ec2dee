#pragma once
// res/publish.txt: the extra products that the update tick writes beside the
// automatic JPEG export, one per line: a layer code and an output path whose
// suffix picks the map format; the layer is a code, "max" or "vil". A line
// that begins with "mosaic" publishes the composite of every site instead of
// the shown site's layer. Blank lines and lines starting with '#' are skipped.

#include <string>
#include <vector>

namespace kalvera {

inline constexpr const char* kPublishListFile = "/res/publish.txt";

struct PublishEntry {
    int lineNumber = 0;
    int layerCode = 0;
    bool mosaic = false;
    std::string path;  // a relative path is taken from the start directory
};

struct PublishList {
    std::vector<PublishEntry> entries;
    // Lines that name no product: their numbers and texts.
    std::vector<std::pair<int, std::string>> unreadable;
};

// Reads the list of the start directory; a missing file is an empty list.
PublishList ReadPublishList(const std::string& startDir);

// One line; false when it names no layer or no map format.
bool ParsePublishLine(const std::string& line, const std::string& startDir, PublishEntry& entry);

}  // namespace kalvera
