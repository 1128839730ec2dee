#pragma once
// A small world for the output tests: map resources in a scratch start
// directory and a viewer state with layers of known content.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "geo/map_projection.h"
#include "render/canvas.h"
#include "render/viewer_state.h"

namespace kalvera::testing {

struct TestPlace {
    std::string name;
    float lat;
    float lon;
};

inline void AppendLe32(std::string& out, uint32_t value) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
}

inline void AppendFloat(std::string& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    AppendLe32(out, bits);
}

// res/country.ind and res/country.bin with the given outlines (lat, lon pairs).
inline void WriteOutlines(const std::string& startDir,
                          const std::vector<std::vector<std::pair<float, float>>>& outlines) {
    std::filesystem::create_directories(startDir + "/res");
    std::string ind, bin;
    for (const auto& outline : outlines) {
        std::string record(8, '\0');
        AppendLe32(record, static_cast<uint32_t>(outline.size()));
        AppendLe32(record, static_cast<uint32_t>(bin.size()));
        record.append(16, '\0');
        ind += record;
        for (const auto& [lat, lon] : outline) {
            AppendFloat(bin, lat);
            AppendFloat(bin, lon);
        }
    }
    std::ofstream(startDir + "/res/country.ind", std::ios::binary) << ind;
    std::ofstream(startDir + "/res/country.bin", std::ios::binary) << bin;
}

// res/punkt.txt, with coordinates written so that they read back exactly.
inline void WritePlaces(const std::string& startDir, const std::vector<TestPlace>& places) {
    std::filesystem::create_directories(startDir + "/res");
    std::ofstream out(startDir + "/res/punkt.txt", std::ios::binary);
    for (const TestPlace& place : places) {
        char line[128];
        std::snprintf(line, sizeof line, "%s %.9g %.9g\n", place.name.c_str(), place.lat,
                      place.lon);
        out << line;
    }
}

// Palette entries that are all different and easy to tell apart.
inline Palette DistinctPalette() {
    Palette palette{};
    palette[0] = kWhite;
    for (int k = 1; k < 32; ++k) {
        const uint32_t r = static_cast<uint32_t>((k * 53) % 200);
        const uint32_t g = static_cast<uint32_t>((k * 97) % 200);
        const uint32_t b = static_cast<uint32_t>((k * 151) % 200);
        palette[static_cast<size_t>(k)] = r | (g << 8) | (b << 16);
    }
    return palette;
}

// True when the block of `radius` around (x, y) holds a pixel of `colour`
// (0x00BBGGRR) within `tolerance` per channel.
inline bool HasColourNear(const QImage& image, int x, int y, int radius, uint32_t colour,
                          int tolerance = 0) {
    for (int yy = y - radius; yy <= y + radius; ++yy) {
        for (int xx = x - radius; xx <= x + radius; ++xx) {
            if (xx < 0 || yy < 0 || xx >= image.width() || yy >= image.height()) continue;
            const QRgb p = image.pixel(xx, yy);
            const int dr = std::abs(qRed(p) - static_cast<int>(colour & 0xFF));
            const int dg = std::abs(qGreen(p) - static_cast<int>((colour >> 8) & 0xFF));
            const int db = std::abs(qBlue(p) - static_cast<int>((colour >> 16) & 0xFF));
            if (dr <= tolerance && dg <= tolerance && db <= tolerance) return true;
        }
    }
    return false;
}

// Number of pixels in the rectangle darker than mid grey.
inline int DarkPixels(const QImage& image, int left, int top, int width, int height) {
    int count = 0;
    for (int y = top; y < top + height && y < image.height(); ++y) {
        for (int x = left; x < left + width && x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) ++count;
        }
    }
    return count;
}

}  // namespace kalvera::testing
