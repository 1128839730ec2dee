#include "decode/descriptor_tables.h"

#include <cstring>
#include <iterator>

namespace kalvera {

namespace {

struct ElementRow {
    uint8_t x;
    uint8_t y;
    const char* name;
    char kind;
    int32_t scale;
    int32_t reference;
    int32_t width;
};

constexpr ElementRow kElements[] = {
    {1, 1, "WMO block number", 'N', 0, 0, 7},
    {1, 2, "WMO station number", 'N', 0, 0, 10},
    {1, 6, "Aircraft flight number", 'A', 0, 0, 64},
    {1, 8, "Aircraft registration number or other identification", 'A', 0, 0, 64},
    {1, 15, "Station or site name", 'A', 0, 0, 160},
    {1, 18, "Short station or site name", 'A', 0, 0, 40},
    {1, 19, "Long station or site name", 'A', 0, 0, 256},
    {2, 3, "Type of measuring equipment used", 'C', 0, 0, 4},
    {2, 5, "Precision of temperature observation", 'N', 2, 0, 7},
    {2, 61, "Aircraft navigational system", 'C', 0, 0, 3},
    {2, 62, "Type of aircraft data relay system", 'C', 0, 0, 4},
    {2, 64, "Aircraft roll angle quality", 'C', 0, 0, 2},
    {2, 101, "Type of antenna", 'C', 0, 0, 4},
    {2, 103, "Radome", 'C', 0, 0, 2},
    {2, 104, "Antenna polarisation", 'C', 0, 0, 4},
    {2, 131, "Sensitivity time control (STC)", 'C', 0, 0, 2},
    {4, 1, "Year", 'N', 0, 0, 12},
    {4, 2, "Month", 'N', 0, 0, 4},
    {4, 3, "Day", 'N', 0, 0, 6},
    {4, 4, "Hour", 'N', 0, 0, 5},
    {4, 5, "Minute", 'N', 0, 0, 6},
    {4, 6, "Second", 'N', 0, 0, 6},
    {5, 1, "Latitude (high accuracy)", 'D', 5, -9000000, 25},
    {5, 2, "Latitude (coarse accuracy)", 'D', 2, -9000, 15},
    {5, 31, "Row number", 'N', 0, 0, 12},
    {5, 33, "Pixel size on horizontal - 1", 'm', -1, 0, 16},
    {6, 1, "Longitude (high accuracy)", 'D', 5, -18000000, 26},
    {6, 2, "Longitude (coarse accuracy)", 'D', 2, -18000, 16},
    {6, 33, "Pixel size on horizontal - 2", 'm', -1, 0, 16},
    {7, 1, "Height of station", 'm', 0, -400, 15},
    {7, 2, "Height or altitude", 'm', -1, -40, 16},
    {7, 6, "Height above station", 'm', 0, 0, 15},
    {7, 7, "Height", 'm', 0, -1000, 17},
    {8, 1, "Vertical sounding significance", 'C', 0, 0, 7},
    {8, 4, "Phase of aircraft flight", 'C', 0, 0, 3},
    {8, 7, "Dimensional significance", 'C', 0, 0, 4},
    {10, 40, "Number of retrieved layers", 'N', 0, 0, 10},
    {11, 1, "Wind direction Degree true", 'D', 0, 0, 9},
    {11, 2, "Wind speed m/s/10", 'm', 1, 0, 12},
    {11, 31, "Degree of turbulence", 'C', 0, 0, 4},
    {11, 32, "Height of base of turbulence", 'm', -1, -40, 16},
    {11, 33, "Height of top of turbulence", 'm', -1, -40, 16},
    {11, 36, "Maximum derived equivalent vertical gust speed", 'N', 1, 0, 10},
    {11, 41, "Maximum wind gust speed", 'N', 1, 0, 12},
    {11, 76, "Peak turbulence intensity (eddy dissipation rate)", 'N', 2, 0, 8},
    {12, 1, "Temperature/dry-bulb temperature", 'N', 1, 0, 12},
    {12, 4, "Dry-bulb temperature at 2 m", 'N', 1, 0, 12},
    {13, 2, "Mixing ratio", 'N', 5, 0, 14},
    {19, 5, "Direction of motion of feature", 'N', 0, 0, 9},
    {19, 6, "Speed of motion of feature", 'N', 2, 0, 14},
    {20, 3, "Present weather", 'C', 0, 0, 9},
    {20, 21, "Type of precipitation", 'C', 0, 0, 30},
    {20, 41, "Airframe icing", 'C', 0, 0, 4},
    {21, 1, "Horizontal reflectivity dB", 'N', 0, -64, 7},
    {21, 21, "Echo tops", 'm', -3, 0, 4},
    {21, 22, "Meteorological phenomena", 'C', 0, 0, 5},
    {21, 76, "Representation of intensities", 'C', 0, 0, 9},
    {25, 4, "Echo processing", 'C', 0, 0, 2},
    {25, 5, "Echo integration", 'C', 0, 0, 2},
    {25, 9, "Calibration method", 'C', 0, 0, 4},
    {25, 10, "Clutter treatment", 'C', 0, 0, 4},
    {25, 11, "Ground occultation correction (screening)", 'C', 0, 0, 2},
    {25, 12, "Range attenuation correction", 'C', 0, 0, 2},
    {25, 13, "Bright-band correction", 'C', 0, 0, 2},
    {25, 15, "Radome attenuation correction", 'C', 0, 0, 2},
    {25, 16, "Clear-air attenuation correction", 'N', 5, 0, 6},
    {25, 17, "Precipitation attenuation correction", 'C', 0, 0, 2},
    {29, 1, "Projection type", 'C', 0, 0, 3},
    {30, 2, "Pixel value (8 bits)", 'N', 0, 0, 8},
    {30, 21, "Number of pixels per row", 'N', 0, 0, 12},
    {30, 22, "Number of pixels per column", 'N', 0, 0, 12},
    {30, 31, "Picture type", 'C', 0, 0, 4},
    // "descriptorsiptor" in these three names is kept on purpose: it is how
    // the tables have always read, and element dumps are compared with them.
    {31, 1, "Delayed descriptorsiptor replication factor", 'N', 0, 0, 8},
    {31, 2, "Extended Delayed descriptorsiptor replication factor", 'N', 0, 0, 16},
    {31, 12, "Extended delayed descriptorsiptor and data repetition factor", 'N', 0, 0, 16},
};

constexpr const char* kUndefined = "Undefined parameter";

struct CodeRow {
    int32_t value;
    const char* text;
};

struct CodeTable {
    uint8_t x;
    uint8_t y;
    const CodeRow* rows;
    size_t count;
};

constexpr CodeRow kNavigation[] = {{0, "Inertial navigation system"},
                                   {1, "OMEGA"},
                                   {2, "Reserved"},
                                   {3, "Reserved"},
                                   {4, "Reserved"},
                                   {5, "Reserved"},
                                   {6, "Reserved"},
                                   {7, "Missing value"}};
constexpr CodeRow kRollQuality[] = {{0, "Good"}, {1, "Bad"}, {2, "Reserved"}, {3, "Missing value"}};
constexpr CodeRow kFlightPhase[] = {{0, "Reserved"},
                                    {1, "Reserved"},
                                    {2, "Unsteady (UNS)"},
                                    {3, "Level flight, routine observation (LVR)"},
                                    {4, "Level flight, highest wind encountered (LVW)"},
                                    {5, "Ascending (ASC)"},
                                    {6, "Descending (DES)"},
                                    {7, "Missing value"}};
constexpr CodeRow kDimension[] = {
    {0, "Point"}, {1, "Line"}, {2, "Area"}, {3, "Volume"}, {15, "Missing value"}};
constexpr CodeRow kTurbulence[] = {{0, "Nil, in cloud"},
                                   {1, "Light, in cloud"},
                                   {2, "Moderate, in cloud"},
                                   {3, "Severe, in cloud"},
                                   {4, "Nil, in clear air"},
                                   {5, "Light, in clear air"},
                                   {6, "Moderate, in clear air"},
                                   {7, "Severe, in clear air"},
                                   {8, "Nil, cloud/clear air not specified"},
                                   {9, "Light, cloud/clear air not specified"},
                                   {10, "Moderate, cloud/clear air not specified"},
                                   {11, "Severe, cloud/clear air not specified"},
                                   {12, "Extreme, in clear air"},
                                   {13, "Extreme, in cloud"},
                                   {14, "Extreme, cloud/clear air not specified"},
                                   {15, "Missing value"}};
constexpr CodeRow kPhenomena[] = {{0, "No echo"},
                                  {1, "Upper and middle layer cloudiness"},
                                  {2, "Stratus"},
                                  {3, "Precipitation, light"},
                                  {4, "Precipitation, moderate"},
                                  {5, "Precipitation, severe"},
                                  {6, "Cumulus"},
                                  {7, "Shower, light"},
                                  {8, "Shower, moderate"},
                                  {9, "Shower, severe"},
                                  {10, "Thunderstorm, probability 30–70%"},
                                  {11, "Thunderstorm, probability 71–90%"},
                                  {12, "Thunderstorm, probability >90%"},
                                  {13, "Hail, light"},
                                  {14, "Hail, moderate"},
                                  {15, "Hail, severe"},
                                  {16, "Squall, light"},
                                  {17, "Squall, moderate"},
                                  {18, "Squall, severe"},
                                  {19, "Tornado"},
                                  {31, "No data"}};
constexpr CodeRow kProjection[] = {{0, "Gnomonic projection"},
                                   {1, "Polar stereographic projection"},
                                   {2, "Lambert's conformal conic projection"},
                                   {3, "Mercator's projection"},
                                   {4, "Scanning cone (radar)*"},
                                   {7, "Missing value"}};
constexpr CodeRow kPictureType[] = {{0, "PPI"},
                                    {1, "Composite"},
                                    {2, "CAPPI"},
                                    {3, "Vertical section"},
                                    {4, "Alphanumeric data"},
                                    {5, "Map of subject clutter"},
                                    {6, "Map"},
                                    {7, "Test picture"},
                                    {8, "Comments"},
                                    {9, "Map of ground occultation"},
                                    {10, "Map of radar beam height"},
                                    {14, "Other"},
                                    {15, "Missing value"}};

constexpr CodeTable kCodeTables[] = {
    {2, 61, kNavigation, std::size(kNavigation)},  {2, 64, kRollQuality, std::size(kRollQuality)},
    {8, 4, kFlightPhase, std::size(kFlightPhase)}, {8, 7, kDimension, std::size(kDimension)},
    {11, 31, kTurbulence, std::size(kTurbulence)}, {21, 22, kPhenomena, std::size(kPhenomena)},
    {29, 1, kProjection, std::size(kProjection)},  {30, 31, kPictureType, std::size(kPictureType)},
};

struct SequenceRow {
    uint8_t x;
    uint8_t y;
    DescriptorTriple items[12];
    int32_t count;
};

constexpr SequenceRow kSequences[] = {
    {1, 1, {{0, 1, 1}, {0, 1, 2}}, 2},
    {1, 11, {{0, 4, 1}, {0, 4, 2}, {0, 4, 3}}, 3},
    {1, 12, {{0, 4, 4}, {0, 4, 5}}, 2},
    {1, 21, {{0, 5, 1}, {0, 6, 1}}, 2},
    {1, 23, {{0, 5, 2}, {0, 6, 2}}, 2},
    {1, 24, {{0, 5, 2}, {0, 6, 2}, {0, 7, 1}}, 3},
    {1, 51, {{0, 1, 6}, {0, 2, 61}, {3, 1, 11}, {3, 1, 12}, {3, 1, 21}, {0, 8, 4}}, 6},
    {11,
     1,
     {{3, 1, 51},
      {0, 7, 2},
      {0, 12, 1},
      {0, 11, 1},
      {0, 11, 2},
      {0, 11, 31},
      {0, 11, 32},
      {0, 11, 33},
      {0, 11, 41}},
     9},
    {13, 9, {{0, 21, 1}, {1, 1, 0}, {0, 31, 1}, {0, 21, 1}}, 4},
    {21,
     7,
     {{0, 25, 9},
      {0, 25, 10},
      {0, 25, 11},
      {0, 25, 12},
      {0, 25, 13},
      {0, 25, 15},
      {0, 25, 16},
      {0, 25, 17}},
     8},
    {21,
     193,
     {{1, 10, 0},
      {0, 31, 2},
      {0, 5, 31},
      {1, 7, 0},
      {0, 31, 1},
      {1, 2, 0},
      {0, 31, 1},
      {0, 31, 12},
      {0, 30, 2},
      {1, 1, 0},
      {0, 31, 1},
      {0, 30, 2}},
     12},
};

void copyText(char* text, const char* source) {
    std::strncpy(text, source, kTextSize - 1);
    text[kTextSize - 1] = '\0';
}

}  // namespace

int32_t elementTableSize() {
    return static_cast<int32_t>(std::size(kElements));
}

DescriptorTriple elementTableKey(int32_t index) {
    if (index < 0 || index >= elementTableSize()) return {};
    return {0, kElements[index].x, kElements[index].y};
}

int32_t sequenceTableSize() {
    return static_cast<int32_t>(std::size(kSequences));
}

DescriptorTriple sequenceTableKey(int32_t index) {
    if (index < 0 || index >= sequenceTableSize()) return {};
    return {3, kSequences[index].x, kSequences[index].y};
}

void lookupElement(int32_t x, int32_t y, ElementEntry& entry) {
    entry = ElementEntry{};
    for (const ElementRow& row : kElements) {
        if (row.x == x && row.y == y) {
            std::strncpy(entry.name, row.name, sizeof entry.name - 1);
            entry.kind = row.kind;
            entry.scale = row.scale;
            entry.reference = row.reference;
            entry.width = row.width;
            return;
        }
    }
    // Unknown class, or a known class without this Y: nothing is read.
    std::strncpy(entry.name, kUndefined, sizeof entry.name - 1);
}

void lookupCodeMeaning(int32_t x, int32_t y, int32_t value, char* text) {
    for (const CodeTable& table : kCodeTables) {
        if (table.x != x || table.y != y) continue;
        for (size_t i = 0; i < table.count; ++i) {
            if (table.rows[i].value == value) copyText(text, table.rows[i].text);
        }
        return;
    }
    switch (x) {
        case 2:
        case 8:
        case 11:
        case 21:
        case 29:
        case 30:
            return;
        default:
            copyText(text, kUndefined);
    }
}

void expandSequence(int32_t x, int32_t y, DescriptorList& list, int32_t& count) {
    for (const SequenceRow& row : kSequences) {
        if (row.x != x || row.y != y) continue;
        for (int32_t i = 0; i < row.count; ++i) list[i] = row.items[i];
        count = row.count;
        return;
    }
}

}  // namespace kalvera
