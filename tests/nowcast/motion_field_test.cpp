// The motion field: a field moved rigidly is recovered, and a field that
// tells nothing about motion gives none, without failing.

#include "nowcast/motion_field.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "synthetic_fields.h"

namespace kalvera {
namespace {

using test::Blob;
using test::BlobField;

const std::vector<Blob> kStorms = {
    {40, 35, 5, 52}, {58, 62, 4, 45}, {30, 65, 6, 38}, {65, 30, 3, 48}};

struct Translation {
    const char* name;
    double rowsPerTerm, columnsPerTerm;
    double gapsMinutes[2];  // between the three terms
};

class RigidTranslation : public ::testing::TestWithParam<Translation> {};

TEST_P(RigidTranslation, IsRecoveredWithinAQuarterCellPerTerm) {
    const Translation& t = GetParam();
    const double perMinuteRows = t.rowsPerTerm / 10.0, perMinuteColumns = t.columnsPerTerm / 10.0;
    const double t1 = t.gapsMinutes[0], t2 = t1 + t.gapsMinutes[1];
    const GridValues a = BlobField(100, 100, kStorms);
    const GridValues b = BlobField(100, 100, kStorms, perMinuteRows * t1, perMinuteColumns * t1);
    const GridValues c = BlobField(100, 100, kStorms, perMinuteRows * t2, perMinuteColumns * t2);
    const TimedGrid terms[] = {{&a, 0.0}, {&b, t1}, {&c, t2}};
    const MotionField motion = EstimateMotion(terms);
    ASSERT_FALSE(motion.still());
    for (const Blob& storm : kStorms) {
        double east = 0.0, north = 0.0;
        motion.at(storm.row + perMinuteRows * t2, storm.column + perMinuteColumns * t2, east,
                  north);
        EXPECT_NEAR(north * 10.0, t.rowsPerTerm, 0.25) << t.name << " at row " << storm.row;
        EXPECT_NEAR(east * 10.0, t.columnsPerTerm, 0.25) << t.name << " at row " << storm.row;
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, RigidTranslation,
                         ::testing::Values(Translation{"east", 0.0, 2.0, {10, 10}},
                                           Translation{"north-west", 1.5, -1.5, {10, 10}},
                                           Translation{"fast south", -3.5, 0.5, {10, 10}},
                                           Translation{"uneven terms", 1.0, 2.0, {10, 5}},
                                           Translation{"two terms apart", -1.0, 1.0, {20, 10}}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// The composite's cells are half a site's: a storm crossing eleven of them a
// term moves as fast as one crossing five and a half of a site's.
TEST(MotionField, AFastStormOnAGridFinerThanASitesIsFollowed) {
    std::vector<Blob> storms;
    for (const Blob& storm : kStorms) {
        storms.push_back({storm.row * 2, storm.column * 2, storm.radius * 2, storm.peakDbz});
    }
    constexpr float kHalfSiteCellDegrees = 0.018f;
    constexpr double kRowsPerTerm = -11.0, kColumnsPerTerm = 1.0;
    std::vector<GridValues> fields;
    for (int k = 0; k < 3; ++k) {
        fields.push_back(BlobField(200, 200, storms, kRowsPerTerm * k, kColumnsPerTerm * k,
                                   kHalfSiteCellDegrees));
    }
    const TimedGrid terms[] = {{&fields[0], 0.0}, {&fields[1], 10.0}, {&fields[2], 20.0}};
    const MotionField motion = EstimateMotion(terms);
    ASSERT_FALSE(motion.still());
    for (const Blob& storm : storms) {
        double east = 0.0, north = 0.0;
        motion.at(storm.row + 2 * kRowsPerTerm, storm.column + 2 * kColumnsPerTerm, east, north);
        EXPECT_NEAR(north * 10.0, kRowsPerTerm, 0.5) << "at row " << storm.row;
        EXPECT_NEAR(east * 10.0, kColumnsPerTerm, 0.5) << "at row " << storm.row;
    }
}

TEST(MotionField, AnEmptyFieldGivesZeroMotion) {
    const GridValues empty = BlobField(100, 100, {});
    const TimedGrid terms[] = {{&empty, 0.0}, {&empty, 10.0}, {&empty, 20.0}};
    const MotionField motion = EstimateMotion(terms);
    double east = 1.0, north = 1.0;
    motion.at(50, 50, east, north);
    EXPECT_TRUE(motion.still());
    EXPECT_EQ(east, 0.0);
    EXPECT_EQ(north, 0.0);
}

TEST(MotionField, AFewEchoCellsTellNothing) {
    const GridValues a = BlobField(100, 100, {{50, 50, 0.6, 40}});
    const GridValues b = BlobField(100, 100, {{50, 52, 0.6, 40}});
    const TimedGrid terms[] = {{&a, 0.0}, {&b, 10.0}};
    EXPECT_TRUE(EstimateMotion(terms).still());
}

TEST(MotionField, TermsOutOfOrderOrUnequalGridsGiveZeroMotion) {
    const GridValues a = BlobField(100, 100, kStorms);
    const GridValues b = BlobField(100, 100, kStorms, 0, 2);
    const GridValues small = BlobField(60, 80, kStorms);
    const TimedGrid backwards[] = {{&a, 10.0}, {&b, 10.0}};
    const TimedGrid unequal[] = {{&small, 0.0}, {&b, 10.0}};
    EXPECT_TRUE(EstimateMotion(backwards).still());
    EXPECT_TRUE(EstimateMotion(unequal).still());
}

TEST(MotionField, GridsTooSmallForTheFlowGiveZeroMotionWithoutThrowing) {
    for (const auto& [rows, columns] : {std::pair{1, 40}, std::pair{40, 1}, std::pair{2, 2}}) {
        const GridValues a = BlobField(rows, columns, {{0, 0, 30, 50}});
        const GridValues b = BlobField(rows, columns, {{0, 1, 30, 50}});
        const TimedGrid terms[] = {{&a, 0.0}, {&b, 10.0}};
        MotionField motion;
        EXPECT_NO_THROW(motion = EstimateMotion(terms));
        double east = 0.0, north = 0.0;
        motion.at(0, 0, east, north);
        EXPECT_TRUE(std::isfinite(east) && std::isfinite(north));
    }
}

TEST(MotionField, SpeedAndHeadingPointWhereTheMotionGoes) {
    const GridScale fourKm{4.0, 4.0};
    double speed = 0.0, heading = 0.0;
    SpeedAndHeading(fourKm, 0.0, -0.25, speed, heading);  // a cell south every 4 minutes
    EXPECT_NEAR(speed, 60.0, 1e-9);
    EXPECT_NEAR(heading, 180.0, 1e-9);
    SpeedAndHeading(fourKm, -0.25, 0.0, speed, heading);
    EXPECT_NEAR(heading, 270.0, 1e-9);
}

}  // namespace
}  // namespace kalvera
