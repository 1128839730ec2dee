// Storm cells: what counts as one, when two peaks are two cells, and how
// numbers follow cells that split and merge.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "nowcast/cell_tracker.h"
#include "nowcast/day_nowcast.h"
#include "synthetic_fields.h"

namespace kalvera {
namespace {

using test::Blob;
using test::BlobField;
using test::RowsField;

constexpr int32_t k40 = 80, k46 = 92, k50 = 100;

struct IdentifyCase {
    const char* name;
    std::vector<std::vector<int32_t>> rows;
    size_t cells;
};

class Identify : public ::testing::TestWithParam<IdentifyCase> {};

TEST_P(Identify, CountsTheCells) {
    EXPECT_EQ(IdentifyCells(RowsField(GetParam().rows)).size(), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Identify,
    ::testing::Values(
        IdentifyCase{"three_cells_at_40_dBZ_are_a_cell", {{k40, k40, k40, 0}}, 1},
        IdentifyCase{"two_cells_are_too_few", {{k40, k40, 0, 0}}, 0},
        IdentifyCase{"just_below_40_dBZ_is_none", {{k40 - 1, k40 - 1, k40 - 1, k40 - 1}}, 0},
        IdentifyCase{"diagonal_neighbours_connect", {{k40, 0, 0}, {0, k40, 0}, {0, 0, k40}}, 1},
        IdentifyCase{
            "no_data_is_never_echo", {{kOutsideGrid, kOutsideGrid, kOutsideGrid, kOutsideGrid}}, 0},
        // Peaks of 50 dBZ with 44 dBZ between them: 6 dBZ deep, two cells.
        IdentifyCase{"a_6_dBZ_minimum_splits", {{k50, k50, k50, k50 - 12, k50, k50, k50}}, 2},
        IdentifyCase{"a_5_dBZ_minimum_does_not", {{k50, k50, k50, k50 - 10, k50, k50, k50}}, 1},
        // The deep side of the minimum must be a cell of its own size.
        IdentifyCase{
            "a_lone_peak_of_two_cells_stays_joined", {{k50, k50, k50, k40, k50, k50, 0}}, 1},
        IdentifyCase{"separate_areas_are_separate_cells", {{k46, k46, k46, 0, k40, k40, k40}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StormCells, FiguresOfACellComeFromItsGrids) {
    const GridValues max = RowsField({{0, k40, 0}, {k46, 110, k46}, {0, k40, 0}});
    const GridValues tops = RowsField({{0, 9000, 0}, {7000, 12000, 7000}, {0, 15000, 0}});
    const GridValues vil = RowsField({{0, 30, 0}, {40, 123, 40}, {0, 30, 0}});
    CellTracker tracker;
    const TermCells& term =
        tracker.add({"12.00", 720, &max, &tops, &vil}, MotionField::Still(3, 3));
    ASSERT_EQ(term.cells.size(), 1u);
    const StormCell& cell = term.cells.front();
    EXPECT_EQ(cell.maxDbz, 55.0);
    EXPECT_EQ(cell.topM, 15000);
    EXPECT_DOUBLE_EQ(*cell.vilMax, 12.3);
    EXPECT_NEAR(cell.areaKm2, 5 * GridScale::Of(max.grid).cellAreaKm2(), 1e-9);
    EXPECT_NEAR(cell.centroid.lat, PlaceOf(max.grid, {1, 1}).lat, 1e-9);
}

// A storm moving east one cell a term: its number stays, its speed and
// forecast follow its own track.
TEST(StormCells, AMovingCellKeepsItsNumberAndIsForecastAlongItsTrack) {
    CellTracker tracker;
    std::vector<GridValues> terms;
    for (int k = 0; k < 4; ++k) terms.push_back(BlobField(40, 40, {{20, 10.0 + k, 3, 50}}));
    MotionField motion = MotionField::Still(40, 40);
    motion.east.assign(1600, 0.1f);
    motion.north.assign(1600, 0.0f);
    int id = 0;
    for (int k = 0; k < 4; ++k) {
        const TermCells& t = tracker.add({"", 10.0 * k, &terms[static_cast<size_t>(k)]}, motion);
        ASSERT_EQ(t.cells.size(), 1u);
        if (k == 0) id = t.cells[0].id;
        EXPECT_EQ(t.cells[0].id, id);
    }
    const StormCell& cell = tracker.last().cells.front();
    EXPECT_NEAR(cell.headingDeg, 90.0, 1.0);
    const LatLon at60 = PlaceOf(terms[0].grid, {20, 19});
    EXPECT_NEAR(cell.forecast.back().lon, at60.lon, 0.1 * terms[0].grid.cellLon());
}

// Two storms that drift together and apart again, on a still field.
TEST(StormCells, MergesAndSplitsKeepNumbersConsistent) {
    const Blob west{20, 15, 2.5, 52}, east{20, 24, 2.5, 50};
    const Blob westNear{20, 17, 2.5, 52}, eastNear{20, 22, 2.5, 50};
    const GridValues apart = BlobField(40, 40, {west, east});
    const GridValues joined = BlobField(40, 40, {{20, 19.5, 5, 54}});
    const GridValues again = BlobField(40, 40, {westNear, eastNear});
    CellTracker tracker;
    const MotionField still = MotionField::Still(40, 40);

    std::vector<StormCell> first = tracker.add({"", 0, &apart}, still).cells;
    ASSERT_EQ(first.size(), 2u);
    std::sort(first.begin(), first.end(),
              [](const auto& a, const auto& b) { return a.centroid.lon < b.centroid.lon; });

    const TermCells merged = tracker.add({"", 10, &joined}, still);
    ASSERT_EQ(merged.cells.size(), 1u);
    const StormCell& one = merged.cells.front();
    // The larger of the two goes on; the other is recorded as merged into it.
    EXPECT_TRUE(one.id == first[0].id || one.id == first[1].id);
    ASSERT_EQ(one.mergedFrom.size(), 1u);
    EXPECT_NE(one.mergedFrom.front(), one.id);
    EXPECT_TRUE(one.mergedFrom.front() == first[0].id || one.mergedFrom.front() == first[1].id);

    const TermCells& split = tracker.add({"", 20, &again}, still);
    ASSERT_EQ(split.cells.size(), 2u);
    const int kept = one.id;
    const auto& a = split.cells[0];
    const auto& b = split.cells[1];
    // One part keeps the number; the other is new and remembers its parent.
    EXPECT_TRUE((a.id == kept) != (b.id == kept));
    const StormCell& broken = a.id == kept ? b : a;
    EXPECT_NE(broken.id, first[0].id);
    EXPECT_NE(broken.id, first[1].id);
    EXPECT_EQ(broken.splitFrom, kept);
}

TEST(StormCells, ALongGapStartsNewTracks) {
    const GridValues g = BlobField(30, 30, {{15, 15, 3, 50}});
    CellTracker tracker;
    const int before = tracker.add({"", 0, &g}, MotionField::Still(30, 30)).cells.at(0).id;
    const TermCells& after = tracker.add({"", 120, &g}, MotionField::Still(30, 30));
    EXPECT_NE(after.cells.at(0).id, before);
}

// Where a cell's motion comes from, and what is printed where none is known.
struct MotionCase {
    const char* name;
    std::vector<std::vector<Blob>> terms;  // ten minutes apart
    std::optional<double> fieldEast;       // cells per minute; none: no field yet
    CellMotion expected;
    double minKmh, maxKmh;  // of the newest cell at the last term, when moving
};

// 0.05-degree cells near 51 N: 0.1 cells a minute eastwards is about 21 km/h.
constexpr double kFieldKmhPerCellMin = 0.1 * 0.05 * 111.195 * 0.629 * 60.0;

class CellMotionSource : public ::testing::TestWithParam<MotionCase> {};

TEST_P(CellMotionSource, ComesFromWhereItShould) {
    const MotionCase& c = GetParam();
    MotionField field = MotionField::Still(40, 40);
    if (c.fieldEast) {
        field.east.assign(1600, static_cast<float>(*c.fieldEast));
        field.north.assign(1600, 0.0f);
    }
    CellTracker tracker;
    std::vector<GridValues> grids;
    for (const auto& blobs : c.terms) grids.push_back(BlobField(40, 40, blobs));
    for (size_t k = 0; k < grids.size(); ++k) tracker.add({"", 10.0 * k, &grids[k]}, field);
    const auto& cells = tracker.last().cells;
    ASSERT_FALSE(cells.empty());
    const StormCell& cell = *std::max_element(
        cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    EXPECT_EQ(cell.motion, c.expected) << CellMotionName(cell.motion);
    if (cell.moving()) {
        EXPECT_GE(cell.speedKmh, c.minKmh);
        EXPECT_LE(cell.speedKmh, c.maxKmh);
    }
    EXPECT_LE(cell.speedKmh, kPlausibleSpeedKmh);
}

const Blob kStorm{20, 10, 3, 52};
Blob Moved(Blob b, double rows, double columns) {
    b.row += rows, b.column += columns;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellMotionSource,
    ::testing::Values(
        MotionCase{
            "nothing_known_at_the_first_term", {{kStorm}}, std::nullopt, CellMotion::Unknown, 0, 0},
        MotionCase{"a_new_cell_takes_the_field",
                   {{kStorm}},
                   0.1,
                   CellMotion::FieldYoung,
                   kFieldKmhPerCellMin - 1,
                   kFieldKmhPerCellMin + 1},
        MotionCase{"a_path_agreeing_with_the_field_is_the_cells",
                   {{kStorm}, {Moved(kStorm, 0, 1)}, {Moved(kStorm, 0, 2)}, {Moved(kStorm, 0, 3)}},
                   0.1,
                   CellMotion::Track,
                   kFieldKmhPerCellMin - 3,
                   kFieldKmhPerCellMin + 3},
        // A centroid walking over a field that stays: growth on one side.
        MotionCase{
            "a_path_the_field_does_not_share_is_not_motion",
            {{kStorm}, {Moved(kStorm, 0, 1.5)}, {Moved(kStorm, 0, 3)}, {Moved(kStorm, 0, 4.5)}},
            0.0,
            CellMotion::FieldOverTrack,
            0,
            1},
        // Two cores that part: the one that breaks off has no path of its own
        // yet, whatever its parent's was.
        MotionCase{"a_split_cell_takes_the_field_not_its_parents_path",
                   {{kStorm, Moved(kStorm, 3, 0)},
                    {Moved(kStorm, 0, 1), Moved(kStorm, 3, 1)},
                    {Moved(kStorm, 0, 2), Moved(kStorm, 3, 2)},
                    {Moved(kStorm, -1, 3), Moved(kStorm, 9, 3)}},
                   0.1,
                   CellMotion::FieldYoung,
                   kFieldKmhPerCellMin - 15,
                   kFieldKmhPerCellMin + 15},
        MotionCase{"a_speed_beyond_the_bound_is_not_a_fact",
                   {{kStorm}},
                   1.0,
                   CellMotion::Implausible,
                   0,
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StormCells, UnknownMotionIsEmptyInTheTable) {
    const GridValues g = BlobField(40, 40, {kStorm});
    CellTracker tracker;
    const TermCells term = tracker.add({"00.00", 0, &g, &g, &g}, MotionField::Still(40, 40));
    const std::string csv = CellsCsv({term});
    const std::string row = csv.substr(csv.find('\n') + 1);
    // ...,top_m,vil_max,speed_kmh,heading_deg,motion: the last three empty.
    EXPECT_TRUE(row.ends_with(",,,\n")) << row;
}

}  // namespace
}  // namespace kalvera
