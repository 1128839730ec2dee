// Mixing neighbours between cell centres weighs rows by the row fraction and
// columns by the column fraction: on a plane of values, a point between
// centres reads the plane there. Weights of one axis put on the other read a
// neighbouring row instead, which a symmetric field would never show.

#include <gtest/gtest.h>

#include <cmath>

#include "nowcast/extrapolation.h"
#include "nowcast/motion_field.h"
#include "synthetic_fields.h"

namespace kalvera {
namespace {

constexpr int kSide = 20;

// A plane that rises 1 a column and 200 a row.
double Plane(double row, double column) {
    return column + 200.0 * row;
}

TEST(InterpolationAxes, TheMotionFieldIsReadOnItsOwnAxes) {
    MotionField m = MotionField::Still(kSide, kSide);
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) {
            m.east.push_back(static_cast<float>(0.001 * Plane(i, j)));
            m.north.push_back(static_cast<float>(0.002 * Plane(i, j)));
        }
    }
    const struct { double row, column; } points[] = {{2.75, 3.25}, {10.1, 10.9}, {0.5, 18.25}};
    for (const auto& p : points) {
        double east = 0.0, north = 0.0;
        m.at(p.row, p.column, east, north);
        EXPECT_NEAR(east, 0.001 * Plane(p.row, p.column), 1e-6) << p.row << "," << p.column;
        EXPECT_NEAR(north, 0.002 * Plane(p.row, p.column), 1e-6) << p.row << "," << p.column;
    }
}

TEST(InterpolationAxes, LinearAdvectionReadsThePlaneAtTheDeparturePoint) {
    std::vector<std::vector<int32_t>> rows(kSide, std::vector<int32_t>(kSide));
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) rows[i][j] = static_cast<int32_t>(Plane(i, j));
    }
    const GridValues g = test::RowsField(rows);
    MotionField m = MotionField::Still(kSide, kSide);
    // After 10 minutes the air comes from 2.25 columns west and a row south.
    m.east.assign(kSide * kSide, 0.225f);
    m.north.assign(kSide * kSide, 0.1f);
    const auto leads = Extrapolate(g, m, {10}, Advection::Linear);
    ASSERT_EQ(leads.size(), 1u);
    for (const auto& [i, j] : {std::pair{10, 10}, std::pair{5, 15}, std::pair{15, 4}}) {
        EXPECT_EQ(leads[0].values[i * kSide + j], std::lround(Plane(i - 1.0, j - 2.25)))
            << "cell " << i << "," << j;
    }
}

}  // namespace
}  // namespace kalvera
