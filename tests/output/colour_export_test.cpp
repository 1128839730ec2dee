// Exports drawn through a chosen colour table: the pictures take its colours
// and legend, the class polygons its classes, with numeric bounds.
#include <gtest/gtest.h>

#include <cstdlib>

#include "geo/colour_table.h"
#include "output/cli_fixture.h"
#include "output/map_export.h"
#include "output/map_test_support.h"
#include "render/canvas.h"

namespace kalvera {
namespace {

using testing::OpenWithGdal;
using testing::SourceWith;
using testing::TempDir;
using CliColours = testing::CliArchive;

TEST(TableClassPolygons, AreCutAtTheTablesBoundsWithMinMaxAndUnits) {
    // 12 dBZ and 27 dBZ beside each other.
    auto source = SourceWith(3, {{40, 40, 24}, {40, 41, 54}});
    ColourTable table;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ParseColourTable(
        "Units: dBZ\nSolidColor: 5 1 1 1\nSolidColor: 15 2 2 2\nSolidColor: 25 3 3 3\n", "t.pal",
        table, error, warnings));
    source->table = std::make_shared<const ColourTable>(table);
    TempDir dir;
    ASSERT_TRUE(WriteMapFile(*source, dir.file("c.geojson"), error)) << error;
    const auto dataset = OpenWithGdal(dir.file("c.geojson"));
    ASSERT_TRUE(dataset);
    OGRLayer* layer = dataset->GetLayer(0);
    ASSERT_NE(layer, nullptr);
    const struct {
        int k;
        int features;
        double min;
        std::optional<double> max;
        const char* label;
    } rows[] = {{1, 1, 5, 15, "5-15"}, {2, 1, 15, 25, "15-25"}, {3, 1, 25, std::nullopt, ">=25"}};
    for (const auto& row : rows) {
        layer->SetAttributeFilter(("class = " + std::to_string(row.k)).c_str());
        int features = 0;
        for (auto& feature : *layer) {
            ++features;
            EXPECT_DOUBLE_EQ(feature->GetFieldAsDouble("min"), row.min);
            const int max = feature->GetFieldIndex("max");
            ASSERT_GE(max, 0);
            EXPECT_EQ(feature->IsFieldSetAndNotNull(max), row.max.has_value()) << row.k;
            if (row.max) {
                EXPECT_DOUBLE_EQ(feature->GetFieldAsDouble(max), *row.max);
            }
            EXPECT_STREQ(feature->GetFieldAsString("units"), "dBZ");
            EXPECT_STREQ(feature->GetFieldAsString("label"), row.label);
        }
        EXPECT_EQ(features, row.features) << row.k;
    }
}

TEST_F(CliColours, RenderTakesTheTablesColoursAndLegend) {
    const std::string table = std::string(KALVERA_SOURCE_DIR) + "/data/colors/greyscale.pal";
    const std::string classic = dir.file("classic.png"), grey = dir.file("grey.png");
    ASSERT_EQ(run(args(classic, 1)), 0) << err;
    ASSERT_EQ(run(args(grey, 1) + " --colors " + table), 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    const QImage picture = load(grey);
    // The legend right of the 700-pixel square: seven boxes, the lowest the
    // lightest grey, the highest the darkest.
    EXPECT_EQ(PixelAt(picture, 795, 40 + 700 - 20), 0xE8E8E8u);
    EXPECT_EQ(PixelAt(picture, 795, 40 + 20 + 30), 0x2A2A2Au);
    // Every cell of the square is a grey, the map's own colours aside.
    EXPECT_NE(load(classic), picture);
}

TEST_F(CliColours, PresetsByNameAndAnUnknownOneIsRefused) {
    const std::string out = dir.file("p.png");
    ASSERT_EQ(run(args(out, 22) + " --colors colourblind-phenomena --opacity 50"), 0) << err;
    EXPECT_EQ(run(args(out, 22) + " --colors no-such-table"), 1);
    EXPECT_NE(err.find("no-such-table"), std::string::npos) << err;
    EXPECT_EQ(run(args(out, 22) + " --opacity 33"), 2);
    // Fainter than the floor, cells vanish into the map.
    EXPECT_EQ(run(args(out, 22) + " --opacity 0"), 2);
    EXPECT_EQ(run(args(out, 22) + " --opacity 15"), 2);
}

TEST_F(CliColours, OutputIsTheSameBytesWhateverTheDesktopsScaleSettings) {
    const std::string plain = dir.file("plain.png");
    ASSERT_EQ(run(args(plain, 22)), 0) << err;
    const std::string expected = testing::ReadWholeFile(plain);
    const struct {
        const char* name;
        const char* value;
    } rows[] = {{"QT_SCALE_FACTOR", "1.5"},
                {"QT_SCALE_FACTOR", "2"},
                {"QT_SCREEN_SCALE_FACTORS", "2"},
                {"QT_FONT_DPI", "144"}};
    for (const auto& row : rows) {
        const std::string out = dir.file("scaled.png");
        setenv(row.name, row.value, 1);
        const int status = run(args(out, 22));
        unsetenv(row.name);
        ASSERT_EQ(status, 0) << err;
        EXPECT_TRUE(testing::ReadWholeFile(out) == expected) << row.name << "=" << row.value;
    }
}

TEST_F(CliColours, AMalformedTableIsRefusedWithItsLine) {
    const std::string table = dir.write("bad.pal", "Units: dBZ\nColor: 10 1 2\n");
    EXPECT_EQ(run(args(dir.file("p.png"), 1) + " --colors " + table), 1);
    EXPECT_NE(err.find("bad.pal:2:"), std::string::npos) << err;
}

}  // namespace
}  // namespace kalvera
