#pragma once
// Configuration, colours and sites, loaded once at start.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geo/colour_choice.h"

namespace kalvera {

// 32 colours laid out 0x00BBGGRR (red in the lowest byte).
using Palette = std::array<uint32_t, 32>;

// Site codes and display names from res/towns.txt, in file order.
struct SiteTable {
    std::vector<std::string> codes;
    std::vector<std::string> names;  // UTF-8
};

// Site directory names under dataRoot; entry 0 is always defaultSite.
struct SiteList {
    std::vector<std::string> names;
};

struct AppConfig {
    std::string startDir;      // current directory at start, no trailing separator
    std::string dataRoot;      // plain prefix, ends in a separator
    int32_t updatePeriod = 0;  // seconds between automatic updates
    std::string defaultSite;
    std::string spareText;
    float centreLat = 0.0f;
    float centreLon = 0.0f;
    Palette palette{};
    // The user's tables and cell opacity; by default the palette, opaque.
    ColourChoice colours;
    SiteTable siteTable;
    SiteList siteList;
};

}  // namespace kalvera
