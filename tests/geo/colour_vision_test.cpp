// How far apart colours look to every eye, and the shipped tables' figures.
#include "geo/colour_vision.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "common/file_bytes.h"
#include "common/little_endian.h"
#include "geo/colour_choice.h"

namespace kalvera {
namespace {

TEST(Ciede2000, MatchesPublishedPairs) {
    // Sharma, Wu and Dalal's test data, pairs 1, 7 and 17.
    const struct {
        std::array<double, 3> a, b;
        double expected;
    } rows[] = {{{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
                {{50, 0, 0}, {50, -1, 2}, 2.3669},
                {{50, 2.5, 0}, {73, 25, -18}, 27.1492}};
    for (const auto& row : rows) {
        EXPECT_NEAR(Ciede2000Lab(row.a, row.b), row.expected, 1e-4) << row.expected;
        EXPECT_NEAR(Ciede2000Lab(row.b, row.a), row.expected, 1e-4) << row.expected;
    }
    EXPECT_NEAR(Ciede2000({0, 0, 0, 255}, {255, 255, 255, 255}), 100.0, 0.01);
}

TEST(SimulatedVision, GreysStayAndThisRedMeetsThisGreenOnlyForTheDeuteranope) {
    for (const Vision vision : kVisions) {
        const Rgba grey{128, 128, 128, 255};
        EXPECT_LT(Ciede2000(SimulatedColour(grey, vision), grey), 1.0) << VisionName(vision);
    }
    const Rgba red{220, 40, 40, 255}, green{140, 120, 30, 255};
    const auto seen = [&](Vision v) {
        return Ciede2000(SimulatedColour(red, v), SimulatedColour(green, v));
    };
    EXPECT_GT(seen(Vision::Normal), 20.0);
    EXPECT_GT(seen(Vision::Tritanopia), 15.0);
    EXPECT_GT(seen(Vision::Protanopia), 8.0);
    EXPECT_LT(seen(Vision::Deuteranopia), 3.5);
}

std::vector<Rgba> ClassColours(const ColourTable& table) {
    std::vector<Rgba> colours;
    for (const ColourClass& c : ClassesOf(table)) colours.push_back(c.colour);
    return colours;
}

void PrintFigures(const std::string& name, size_t classes, const ClassSeparation& s) {
    std::printf("| %-24s | %2zu |", name.c_str(), classes);
    for (size_t v = 0; v < kVisions.size(); ++v)
        std::printf(" %5.1f / %5.1f |", s.adjacent[v], s.any[v]);
    std::printf("\n");
}

// The figures the README prints: smallest difference of neighbouring classes
// and of any two classes, in normal vision, deuteranopia, protanopia and
// tritanopia. Every shipped table must keep its classes apart for every eye;
// the classic palette is shown for comparison.
TEST(ShippedTables, KeepTheirClassesApartForEveryEye) {
    const std::string data = std::string(KALVERA_SOURCE_DIR) + "/data";
    std::string bytes;
    int error = 0;
    ASSERT_TRUE(ReadFileBytes(data + "/colors.bin", bytes, error));
    ASSERT_GE(bytes.size(), 20u * 4u);
    std::vector<Rgba> classic;
    for (size_t k = 1; k <= 19; ++k) {
        classic.push_back(
            Rgba::OfBgr(ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * k)));
    }
    PrintFigures("classic (colors.bin)", classic.size(), SeparationOf(classic));
    const std::vector<ColourTableFile> files = ListColourTables({data + "/colors"});
    ASSERT_GE(files.size(), 3u);
    for (const ColourTableFile& file : files) {
        ColourTable table;
        std::string why;
        std::vector<std::string> warnings;
        ASSERT_TRUE(LoadColourTable(file.path, table, why, warnings)) << why;
        EXPECT_TRUE(warnings.empty()) << file.name;
        const std::vector<Rgba> colours = ClassColours(table);
        const ClassSeparation s = SeparationOf(colours);
        PrintFigures(file.name, colours.size(), s);
        EXPECT_TRUE(SeparatedForEveryEye(s)) << file.name;
        if (file.name.find("reflectivity") != std::string::npos) {
            EXPECT_LE(colours.size(), 12u) << file.name;
        }
    }
}

}  // namespace
}  // namespace kalvera
