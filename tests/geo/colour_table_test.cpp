// Colour tables in the text form other radar viewers share: what each key
// reads, where a malformed line is reported, how stops shade, and that a
// written table reads back the same.
#include "geo/colour_table.h"

#include <gtest/gtest.h>

#include "geo/colour_choice.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

bool Parse(const std::string& text, ColourTable& table, std::string& error,
           std::vector<std::string>& warnings) {
    return ParseColourTable(text, "t.pal", table, error, warnings);
}

ColourTable Parsed(const std::string& text) {
    ColourTable table;
    std::string error;
    std::vector<std::string> warnings;
    EXPECT_TRUE(Parse(text, table, error, warnings)) << error;
    return table;
}

TEST(ColourTableText, EveryKeyIsRead) {
    const ColourTable t = Parsed(
        "; a comment line\n"
        "product: BR ; keys in any case\n"
        "Units: dBZ\n"
        "Scale: 0.5\n"
        "Offset: -32\n"
        "Step: 5\n"
        "RF: 119 0 125\n"
        "Color: 10 0 0 255 0 0 128\n"
        "Color4: 20 1 2 3 4\n"
        "SolidColor: 30 5 6 7\n"
        "SolidColor4: 40 8 9 10 11\n");
    EXPECT_EQ(t.product, "BR");
    EXPECT_EQ(t.units, "dBZ");
    EXPECT_EQ(t.scale, 0.5);
    EXPECT_EQ(t.offset, -32.0);
    EXPECT_EQ(t.step, 5.0);
    EXPECT_EQ(t.rangeFolded, (Rgba{119, 0, 125, 255}));
    ASSERT_EQ(t.stops.size(), 4u);
    EXPECT_EQ(t.stops[0].to, (Rgba{0, 0, 128, 255}));
    EXPECT_EQ(t.stops[1].colour, (Rgba{1, 2, 3, 4}));
    EXPECT_TRUE(t.stops[1].alpha);
    EXPECT_FALSE(t.stops[1].solid);
    EXPECT_TRUE(t.stops[2].solid);
    EXPECT_EQ(t.stops[3].colour, (Rgba{8, 9, 10, 11}));
    EXPECT_TRUE(t.stops[3].solid && t.stops[3].alpha);
}

TEST(ColourTableText, AMalformedLineNamesFileAndLineAndNothingIsTaken) {
    const struct {
        const char* text;
        const char* where;
    } rows[] = {
        {"Color: 5 1 2 3\nColor: x 1 2 3\n", "t.pal:2:"},
        {"Color: 5 1 2 256\n", "t.pal:1:"},
        {"Color: 5 1 2\n", "t.pal:1:"},
        {"Color: 5 1 2 3 4 5\n", "t.pal:1:"},
        {"SolidColor: 5 1 2 3 4 5 6\n", "t.pal:1:"},
        {"Color4: 5 1 2 3\n", "t.pal:1:"},
        {"; fine\n\nScale: half\nColor: 5 1 2 3\n", "t.pal:3:"},
        {"Scale: 0\nColor: 5 1 2 3\n", "t.pal:1:"},
        {"Color: 5 1 2 3\nno colon here\n", "t.pal:2:"},
        {"RF: 1 2\nColor: 5 1 2 3\n", "t.pal:1:"},
        {"Color: nan 1 2 3\n", "t.pal:1:"},
        {"Units: dBZ\n", "t.pal:"},  // no stop at all
    };
    for (const auto& row : rows) {
        ColourTable table;
        table.product = "kept";
        std::string error;
        std::vector<std::string> warnings;
        EXPECT_FALSE(Parse(row.text, table, error, warnings)) << row.text;
        EXPECT_EQ(error.rfind(row.where, 0), 0u) << error;
        EXPECT_EQ(table.product, "kept");
    }
}

TEST(ColourTableText, AnUnknownKeyWarnsWithItsLineAndTheTableLoads) {
    ColourTable table;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(Parse("Color: 5 1 2 3\nInterpolate: yes\n", table, error, warnings)) << error;
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("t.pal:2:", 0), 0u) << warnings[0];
    EXPECT_EQ(table.stops.size(), 1u);
}

TEST(ColourTableText, WrittenAndReadBackIsTheSameTable) {
    ColourTable table;
    table.product = "Reflectivity";
    table.units = "dBZ";
    table.scale = 0.1;
    table.offset = -0.3;
    table.step = 2.5;
    table.rangeFolded = Rgba{1, 2, 3, 255};
    table.stops = {{-7.25, {1, 2, 3, 255}, Rgba{4, 5, 6, 255}, false, false},
                   {0.1, {7, 8, 9, 10}, std::nullopt, true, true},
                   {1e-3 + 20, {11, 12, 13, 14}, Rgba{15, 16, 17, 18}, false, true},
                   {65, {255, 255, 255, 255}, std::nullopt, true, false}};
    EXPECT_EQ(Parsed(WriteColourTable(table)), table);
    testing::TempDir dir;
    std::string error;
    ASSERT_TRUE(SaveColourTable(dir.file("t.pal"), table, error)) << error;
    ColourTable read;
    std::vector<std::string> warnings;
    ASSERT_TRUE(LoadColourTable(dir.file("t.pal"), read, error, warnings)) << error;
    EXPECT_EQ(read, table);
}

TEST(ColourTableShading, StopsShadeLinearlyAndSolidBandsStayFlat) {
    const ColourTable t = Parsed(
        "Color: 0 0 0 0\n"
        "Color: 10 100 200 40 200 0 140\n"
        "SolidColor: 20 7 7 7\n"
        "Color: 30 250 250 250\n");
    const struct {
        double value;
        std::optional<Rgba> colour;
    } rows[] = {{-0.1, std::nullopt},
                {0, Rgba{0, 0, 0, 255}},
                {5, Rgba{50, 100, 20, 255}},  // halfway to the next stop
                {7.5, Rgba{75, 150, 30, 255}},
                {15, Rgba{150, 100, 90, 255}},  // halfway to its own second colour
                {20, Rgba{7, 7, 7, 255}},
                {29.9, Rgba{7, 7, 7, 255}},
                {30, Rgba{250, 250, 250, 255}},  // the last stop holds upwards
                {1e6, Rgba{250, 250, 250, 255}}};
    for (const auto& row : rows) EXPECT_EQ(ColourAt(t, row.value), row.colour) << row.value;
}

TEST(ColourTableShading, ScaleAndOffsetMapTheLayersQuantityOntoTheTable) {
    const ColourTable t = Parsed("Scale: 0.001\nOffset: 1\nColor: 0 0 0 0\n");
    EXPECT_DOUBLE_EQ(TableValue(t, 5000.0), 6.0);
}

TEST(ColourTableClasses, RunFromStopToStopAndUnsortedStopsAreOrdered) {
    const ColourTable t = Parsed(
        "SolidColor: 20 3 3 3\nSolidColor: 5 1 1 1\nSolidColor: 10 2 2 2\nSolidColor: 20 4 4 4\n");
    const std::vector<ColourClass> classes = ClassesOf(t);
    ASSERT_EQ(classes.size(), 3u);  // the empty band at 20 counts for nothing
    EXPECT_EQ(classes[0].min, 5.0);
    EXPECT_EQ(classes[0].max, 10.0);
    EXPECT_EQ(classes[2].min, 20.0);
    EXPECT_FALSE(classes[2].max);
    EXPECT_EQ(classes[2].colour, (Rgba{4, 4, 4, 255}));
    EXPECT_EQ(ClassIndexOf(t, 4.9), -1);
    EXPECT_EQ(ClassIndexOf(t, 9.99), 0);
    EXPECT_EQ(ClassIndexOf(t, 10), 1);
    EXPECT_EQ(ClassIndexOf(t, 25), 2);
}

TEST(ColourChoice, TablesByNameFromTheFirstFolderThatHasThem) {
    testing::TempDir dir;
    std::string error;
    ColourTable a;
    a.stops = {{1, {1, 1, 1, 255}, std::nullopt, true, false}};
    ColourTable b;
    b.stops = {{2, {2, 2, 2, 255}, std::nullopt, true, false}};
    std::filesystem::create_directories(dir.file("one"));
    std::filesystem::create_directories(dir.file("two"));
    ASSERT_TRUE(SaveColourTable(dir.file("one/mine.pal"), a, error));
    ASSERT_TRUE(SaveColourTable(dir.file("two/mine.pal"), b, error));
    ASSERT_TRUE(SaveColourTable(dir.file("two/other.pal"), b, error));
    const std::vector<std::string> folders = {dir.file("one"), dir.file("missing"),
                                              dir.file("two")};
    const std::vector<ColourTableFile> files = ListColourTables(folders);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "mine");
    EXPECT_EQ(files[1].name, "other");
    std::shared_ptr<const ColourTable> table;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ResolveColourTable("mine", folders, table, error, warnings)) << error;
    EXPECT_EQ(*table, a);
    ASSERT_TRUE(ResolveColourTable(dir.file("two/mine.pal"), folders, table, error, warnings));
    EXPECT_EQ(*table, b);
    ASSERT_TRUE(ResolveColourTable("classic", folders, table, error, warnings));
    EXPECT_EQ(table, nullptr);
    EXPECT_FALSE(ResolveColourTable("none", folders, table, error, warnings));
    EXPECT_NE(error.find("none"), std::string::npos);
}

TEST(ColourChoice, OpacitySnapsToStepsOfFiveNeverBelowTheFloor) {
    const int rows[][2] = {{-10, 20}, {0, 20},  {17, 20},   {23, 25},
                           {52, 50},  {53, 55}, {100, 100}, {140, 100}};
    for (const auto& row : rows) EXPECT_EQ(OpacityStep(row[0]), row[1]) << row[0];
}

}  // namespace
}  // namespace kalvera
