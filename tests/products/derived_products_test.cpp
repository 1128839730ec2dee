// Column maximum and VIL of hand-made columns and grids.
#include "products/derived_products.h"

#include <gtest/gtest.h>

#include <fstream>

#include "archive/index_bytes.h"
#include "products/term_layers.h"
#include "products/vil_legend.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

constexpr std::nullopt_t __ = std::nullopt;

CellColumn Column(std::initializer_list<std::optional<int32_t>> values) {
    CellColumn column;
    std::copy(values.begin(), values.end(), column.begin());
    return column;
}

TEST(Vil, HandComputedColumns) {
    // 56 dBZ: 3.44e-3 * 10^3.2 = 5.4520; 30 dBZ: 3.44e-3 * 10^(12/7) = 0.1782.
    const struct {
        const char* name;
        CellColumn column;
        double kgPerM2;
    } rows[] = {
        {"no layer", Column({}), 0.0},
        {"56 dBZ", Column({112}), 5.4520},
        {"30 dBZ", Column({__, __, 60}), 0.1782},
        {"above the cap counts as 56 dBZ", Column({200}), 5.4520},
        {"zero and below add nothing", Column({0, -10, 60}), 0.1782},
        {"missing layers count as empty", Column({112, __, 60, __, 200}), 11.0822},
        {"ten layers at the cap", Column({112, 112, 112, 112, 112, 112, 112, 112, 112, 190}),
         54.5203},
    };
    for (const auto& row : rows) EXPECT_NEAR(VilOf(row.column), row.kgPerM2, 5e-4) << row.name;
}

TEST(ColumnMaximum, TakesTheLargestLayerPresent) {
    const struct {
        const char* name;
        CellColumn column;
        std::optional<int32_t> expected;
    } rows[] = {
        {"no layer", Column({}), __},
        {"one layer", Column({__, __, __, 7}), 7},
        {"missing layers ignored", Column({__, 5, __, 40, 3}), 40},
        {"all below zero", Column({-8, __, -3}), -3},
        {"top layer", Column({1, 2, 3, 4, 5, 6, 7, 8, 9, 90}), 90},
    };
    for (const auto& row : rows) EXPECT_EQ(ColumnMaximum(row.column), row.expected) << row.name;
}

TEST(Vil, TenthsTextAndLegendClass) {
    const struct {
        double kgPerM2;
        const char* text;
        int cls;
    } rows[] = {
        {0.0, "0.0", 0},      {0.04, "0.0", 0},   {0.05, "0.1", 1},    {0.96, "1.0", 2},
        {4.99, "5.0", 5},     {34.9, "34.9", 12}, {69.94, "69.9", 18}, {70.0, "70.0", 19},
        {140.0, "140.0", 19}, {-3.0, "0.0", 0},
    };
    for (const auto& row : rows) {
        const int32_t tenths = VilTenths(row.kgPerM2);
        EXPECT_EQ(VilText(tenths), row.text) << row.kgPerM2;
        EXPECT_EQ(VilClass(tenths), row.cls) << row.kgPerM2;
    }
    EXPECT_EQ(VilText(65535), "65535");
}

TEST(DeriveProduct, FillsEveryCellFromThePresentLayers) {
    RadarPicture low, high, out;
    low.values.fill(60);
    high.values.fill(112);
    high.values[5] = 0;
    HeightLayers layers{};
    layers[0] = &low;
    layers[4] = &high;
    ASSERT_TRUE(DeriveProduct(kLayerColumnMax, layers, out));
    EXPECT_EQ(out.values[0], 112);
    EXPECT_EQ(out.values[5], 60);
    ASSERT_TRUE(DeriveProduct(kLayerVil, layers, out));
    EXPECT_EQ(out.values[0], 56);
    EXPECT_EQ(out.values[5], 2);
}

TEST(DeriveProduct, NothingWithoutLayersOneToTen) {
    RadarPicture out;
    out.values.fill(9);
    EXPECT_FALSE(DeriveProduct(kLayerVil, HeightLayers{}, out));
    EXPECT_EQ(out.values[0], 9);
}

// Every cell holds the message's offset; offset 666 does not decode.
bool OffsetDecode(int32_t offset, RadarPicture& picture, DisplayState&) {
    if (offset == 666) return false;
    picture.values.fill(offset);
    return true;
}

TEST(LoadLayerPicture, AMissingLayerIsEmptyABrokenOneFailsTheProduct) {
    using testing::IndexRecordBytes;
    const struct {
        const char* name;
        std::string records;
        bool loads;
        const char* reason;
    } rows[] = {
        {"layer 2 missing", IndexRecordBytes(10, 0, 1, 60) + IndexRecordBytes(10, 0, 3, 112), true,
         ""},
        {"layer 2 broken",
         IndexRecordBytes(10, 0, 1, 60) + IndexRecordBytes(10, 0, 2, 666) +
             IndexRecordBytes(10, 0, 3, 112),
         false, "layer 2 of term 10.00 does not decode"},
        {"only layer broken", IndexRecordBytes(10, 0, 4, 666), false,
         "layer 4 of term 10.00 does not decode"},
        {"two layers broken",
         IndexRecordBytes(10, 0, 5, 666) + IndexRecordBytes(10, 0, 1, 60) +
             IndexRecordBytes(10, 0, 2, 666),
         false, "layers 2, 5 of term 10.00 do not decode"},
        {"broken echo tops do not count",
         IndexRecordBytes(10, 0, 1, 60) + IndexRecordBytes(10, 0, 21, 666), true, ""},
    };
    for (const auto& row : rows) {
        kalvera::testing::TempDir dir;
        DisplayState state;
        state.indexPath = (dir.path() / "day.ind").string();
        std::ofstream(state.indexPath, std::ios::binary) << row.records;
        state.termText = "10.00";
        for (const int product : {kLayerColumnMax, kLayerVil}) {
            state.layerCode = product;
            RadarPicture picture;
            EXPECT_EQ(LoadLayerPicture(state, picture, OffsetDecode), row.loads) << row.name;
            if (row.loads) continue;
            EXPECT_NE(WhyNotLoaded(state, OffsetDecode).find(row.reason), std::string::npos)
                << row.name;
        }
    }
}

}  // namespace
}  // namespace kalvera
