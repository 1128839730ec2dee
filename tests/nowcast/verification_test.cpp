// Verification: the scores of known contingency tables, and what a cell
// without data does to a table.

#include "nowcast/verification.h"

#include <gtest/gtest.h>

#include <cmath>

#include "synthetic_fields.h"

namespace kalvera {
namespace {

using test::RowsField;

struct TableCase {
    const char* name;
    Contingency table;
    double pod, far, csi;
};

class Scores : public ::testing::TestWithParam<TableCase> {};

TEST_P(Scores, AreReadFromTheTable) {
    const TableCase& c = GetParam();
    const auto same = [](double got, double want) {
        return std::isnan(want) ? std::isnan(got) : std::fabs(got - want) < 1e-12;
    };
    EXPECT_TRUE(same(c.table.pod(), c.pod)) << c.table.pod();
    EXPECT_TRUE(same(c.table.far(), c.far)) << c.table.far();
    EXPECT_TRUE(same(c.table.csi(), c.csi)) << c.table.csi();
}

const double kNaN = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    Tables, Scores,
    ::testing::Values(TableCase{"mixed", {50, 25, 25}, 50.0 / 75, 25.0 / 75, 0.5},
                      TableCase{"perfect", {10, 0, 0}, 1.0, 0.0, 1.0},
                      TableCase{"all_false_alarms", {0, 0, 7}, kNaN, 1.0, 0.0},
                      TableCase{"all_misses", {0, 4, 0}, 0.0, kNaN, 0.0},
                      TableCase{"nothing_forecast_or_seen", {0, 0, 0}, kNaN, kNaN, kNaN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Verification, ScoreCountsEachCellOnce) {
    const GridValues forecast = RowsField({{60, 60, 0, 0, 60}});
    const GridValues observed = RowsField({{60, 0, 60, 0, 59}});
    const Contingency t = Score(forecast, observed, 60);
    EXPECT_EQ(t.hits, 1);
    EXPECT_EQ(t.falseAlarms, 2);
    EXPECT_EQ(t.misses, 1);
}

TEST(Verification, CellsWithoutDataCountForNothing) {
    const GridValues forecast = RowsField({{kOutsideGrid, 60, 60}});
    const GridValues observed = RowsField({{60, kOutsideGrid, 60}});
    const GridValues domain = RowsField({{0, 0, kOutsideGrid}});
    const Contingency t = Score(forecast, observed, 60, &domain);
    EXPECT_EQ(t.hits + t.misses + t.falseAlarms, 0);
}

TEST(Verification, ADayOfAStillFieldScoresBothMethodsAlike) {
    std::vector<VerifyTerm> terms;
    for (int k = 0; k < 8; ++k) {
        terms.push_back({"", 10.0 * k, RowsField({{0, 70, 70, 0}, {0, 70, 70, 0}})});
    }
    const std::vector<VerifyRow> rows = VerifyDay(terms, 60, 1);
    ASSERT_EQ(rows.size(), 12u);
    // Bases 3..7, each lead observed while the day lasts: 4 at +10, 0 at +50.
    EXPECT_EQ(rows[0].table.hits, 4 * 4);
    EXPECT_EQ(rows[8].table.hits, 0);
    for (size_t k = 0; k < rows.size(); k += 2) {
        EXPECT_EQ(rows[k].table.hits, rows[k + 1].table.hits);
        EXPECT_EQ(rows[k].table.falseAlarms, 0);
    }
}

}  // namespace
}  // namespace kalvera
