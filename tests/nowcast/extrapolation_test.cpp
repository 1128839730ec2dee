// Extrapolation: echoes go where the motion takes them, classes keep their
// values, and the edges of the grid are neither read beyond nor filled in.

#include "nowcast/extrapolation.h"

#include <gtest/gtest.h>

#include <set>

#include "products/derived_products.h"
#include "synthetic_fields.h"

namespace kalvera {
namespace {

using test::RowsField;

MotionField Uniform(int rows, int columns, double eastPerMin, double northPerMin) {
    MotionField m = MotionField::Still(rows, columns);
    const size_t n = static_cast<size_t>(rows) * static_cast<size_t>(columns);
    m.east.assign(n, static_cast<float>(eastPerMin));
    m.north.assign(n, static_cast<float>(northPerMin));
    return m;
}

TEST(Extrapolation, AnEchoMovesWithTheMotionLeadByLead) {
    GridValues g = RowsField(std::vector<std::vector<int32_t>>(12, std::vector<int32_t>(12, 0)));
    g.values[2 * 12 + 1] = 100;  // row 2, column 1
    // A cell east every 10 minutes, half a cell north.
    const auto leads = Extrapolate(g, Uniform(12, 12, 0.1, 0.05), {20, 40}, Advection::Nearest);
    ASSERT_EQ(leads.size(), 2u);
    EXPECT_EQ(leads[0].values[3 * 12 + 3], 100);
    EXPECT_EQ(leads[1].values[4 * 12 + 5], 100);
}

// The flow of a field that stays where it is is seldom exactly zero: a
// drift of under half a cell over the hour must change no value, where
// mixing neighbours changed cores by several dB.
TEST(Extrapolation, ADriftUnderHalfACellChangesNoValue) {
    const GridValues g = test::BlobField(60, 60, {{20, 20, 3, 55}, {40, 35, 5, 45}});
    for (const GridValues& lead : Extrapolate(g, Uniform(60, 60, 0.006, -0.004), NowcastLeads(),
                                              AdvectionOf(kLayerColumnMax))) {
        EXPECT_EQ(lead.values, g.values);
    }
}

TEST(Extrapolation, AStillFieldLeavesTheGridAsItIs) {
    const GridValues g = RowsField({{0, 80, 90}, {kOutsideGrid, 20, 0}});
    const auto leads = Extrapolate(g, MotionField::Still(2, 3), NowcastLeads(), Advection::Linear);
    ASSERT_EQ(leads.size(), 6u);
    for (const GridValues& lead : leads) EXPECT_EQ(lead.values, g.values);
}

TEST(Extrapolation, PhenomenaAreCarriedAsClassesNeverAveraged) {
    const GridValues g = RowsField({{3, 7, 3, 7}, {7, 3, 7, 3}, {3, 7, 3, 7}, {7, 3, 7, 3}});
    // Departure points fall between cells, where averaging would make 5.
    const auto leads =
        Extrapolate(g, Uniform(4, 4, 0.035, 0.035), {10, 20, 30}, AdvectionOf(kLayerWeather));
    for (const GridValues& lead : leads) {
        for (const int32_t v : lead.values) {
            EXPECT_TRUE(v == 3 || v == 7 || v == kOutsideGrid) << v;
        }
    }
}

TEST(Extrapolation, CellsWhoseAirCameFromBeyondTheGridHoldNoData) {
    const GridValues g = RowsField({{50, 50, 50, 50}, {50, 50, 50, 50}});
    const auto leads = Extrapolate(g, Uniform(2, 4, 0.1, 0.0), {20}, Advection::Linear);
    // Two cells east in 20 minutes: the two western columns came from outside.
    EXPECT_EQ(leads[0].values, (std::vector<int32_t>{kOutsideGrid, kOutsideGrid, 50, 50,
                                                     kOutsideGrid, kOutsideGrid, 50, 50}));
}

struct EdgeCase {
    const char* name;
    int rows, columns;
    double east, north;
};

class GridEdges : public ::testing::TestWithParam<EdgeCase> {};

// Run under the address sanitizer, this catches any read beyond the grid;
// without it, the values must still be the grid's own or no data.
TEST_P(GridEdges, NothingIsReadOutsideTheGrid) {
    const EdgeCase& c = GetParam();
    GridValues g = RowsField(std::vector<std::vector<int32_t>>(
        static_cast<size_t>(c.rows), std::vector<int32_t>(static_cast<size_t>(c.columns), 60)));
    g.values.front() = 90;
    g.values.back() = kOutsideGrid;
    for (const Advection a : {Advection::Linear, Advection::Nearest}) {
        for (const GridValues& lead :
             Extrapolate(g, Uniform(c.rows, c.columns, c.east, c.north), NowcastLeads(), a)) {
            ASSERT_EQ(lead.values.size(), g.values.size());
            for (const int32_t v : lead.values) {
                EXPECT_TRUE(v == kOutsideGrid || (v >= 60 && v <= 90)) << c.name << ": " << v;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Motions, GridEdges,
                         ::testing::Values(EdgeCase{"one_cell", 1, 1, 0.3, -0.3},
                                           EdgeCase{"one_row", 1, 7, -0.04, 0.5},
                                           EdgeCase{"one_column", 7, 1, 0.5, -0.04},
                                           EdgeCase{"out_to_the_north_east", 5, 6, 0.07, 0.049},
                                           EdgeCase{"in_from_the_south_west", 5, 6, -0.049, -0.07},
                                           EdgeCase{"faster_than_the_grid", 4, 4, 2.0, 3.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Extrapolation, AMotionFieldOfAnotherSizeMovesNothing) {
    const GridValues g = RowsField({{0, 80}, {90, 0}});
    const auto leads = Extrapolate(g, Uniform(3, 3, 0.5, 0.5), {10}, Advection::Linear);
    EXPECT_EQ(leads[0].values, g.values);
}

TEST(Extrapolation, LowSkillBeginsAtFortyMinutes) {
    EXPECT_FALSE(IsLowSkillLead(30));
    EXPECT_TRUE(IsLowSkillLead(40));
}

}  // namespace
}  // namespace kalvera
