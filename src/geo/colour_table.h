#pragma once
// Colour tables in the plain-text form other radar viewers share: stops of
// colour at values in the table's units, each shading linearly to the next
// (or to a second colour of its own), or a flat band. The viewer's own
// palette (res/colors.bin) stays the default; a table replaces it for one
// kind of layer when the user chooses one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvera {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
    // 0x00BBGGRR, the layout every colour of the program is kept in.
    uint32_t bgr() const {
        return r | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16;
    }
    static Rgba OfBgr(uint32_t bgr) {
        return {static_cast<uint8_t>(bgr & 0xFFu), static_cast<uint8_t>((bgr >> 8) & 0xFFu),
                static_cast<uint8_t>((bgr >> 16) & 0xFFu), 255};
    }
};

struct ColourStop {
    double value = 0.0;
    Rgba colour;
    std::optional<Rgba> to;  // a Color stop's own end colour
    bool solid = false;      // SolidColor: flat up to the next stop
    bool alpha = false;      // written with its alpha (Color4, SolidColor4)
    bool operator==(const ColourStop&) const = default;
};

struct ColourTable {
    std::string product;
    std::string units;
    // Table value = layer quantity (dBZ, m, kg/m2, code) x scale + offset.
    double scale = 1.0;
    double offset = 0.0;
    std::optional<double> step;       // legend label step, kept for other viewers
    std::optional<Rgba> rangeFolded;  // RF, kept for other viewers
    std::vector<ColourStop> stops;    // ascending by value
    bool operator==(const ColourTable&) const = default;
};

// One class of a table: from its stop's value up to the next stop's (none for
// the last), in the table's units, with the stop's colour.
struct ColourClass {
    double min = 0.0;
    std::optional<double> max;
    Rgba colour;
};

double TableValue(const ColourTable& table, double quantity);
// The colour at a table value; none below the first stop.
std::optional<Rgba> ColourAt(const ColourTable& table, double tableValue);
// The class index (0-based) of a table value; -1 below the first stop.
int ClassIndexOf(const ColourTable& table, double tableValue);
std::vector<ColourClass> ClassesOf(const ColourTable& table);

// Reads a table from text. A malformed line makes it fail with
// "FILE:LINE: reason" in `error`; an unknown key adds such a text to
// `warnings` and the table still loads.
bool ParseColourTable(std::string_view text, const std::string& fileName, ColourTable& table,
                      std::string& error, std::vector<std::string>& warnings);
// The text that reads back as the same table.
std::string WriteColourTable(const ColourTable& table);

bool LoadColourTable(const std::string& path, ColourTable& table, std::string& error,
                     std::vector<std::string>& warnings);
bool SaveColourTable(const std::string& path, const ColourTable& table, std::string& error);

}  // namespace kalvera
