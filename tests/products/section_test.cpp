// Where a section samples its line, and how its points are written.
#include "products/section.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

namespace kalvera {
namespace {

TEST(SectionPoints, EveryKilometreFromTheStart) {
    const struct {
        const char* name;
        GeoPoint from, to;
    } rows[] = {
        {"west to east", {55.7f, 35.0f}, {55.7f, 40.0f}},
        {"north to south", {57.0f, 37.6f}, {54.5f, 37.6f}},
        {"diagonal", {54.0f, 36.0f}, {57.4f, 39.9f}},
        {"shorter than a step", {55.7f, 37.6f}, {55.7f, 37.605f}},
        {"a point", {55.7f, 37.6f}, {55.7f, 37.6f}},
    };
    for (const auto& row : rows) {
        const std::vector<SectionSample> samples = SectionPoints(row.from, row.to);
        const double length = SectionLengthKm(row.from, row.to);
        ASSERT_EQ(samples.size(), static_cast<size_t>(std::floor(length)) + 1) << row.name;
        EXPECT_EQ(samples.front().at.lat, row.from.lat) << row.name;
        EXPECT_EQ(samples.front().at.lon, row.from.lon) << row.name;
        for (size_t i = 1; i < samples.size(); ++i) {
            EXPECT_DOUBLE_EQ(samples[i].distanceKm, static_cast<double>(i)) << row.name;
            EXPECT_NEAR(SectionLengthKm(samples[i - 1].at, samples[i].at), 1.0, 0.01) << row.name;
        }
    }
}

TEST(SectionPoints, AcrossTheAntimeridianTheShortWay) {
    const struct {
        GeoPoint from, to;
    } rows[] = {{{60.0f, 179.8f}, {60.0f, -179.7f}}, {{60.0f, -179.7f}, {60.0f, 179.8f}}};
    for (const auto& row : rows) {
        double length = 0.0;
        const std::vector<SectionSample> samples = SectionPoints(row.from, row.to, length);
        // Half a degree of longitude at 60 degrees north.
        EXPECT_NEAR(length, 27.8, 0.5) << row.from.lon;
        for (const SectionSample& sample : samples) {
            EXPECT_LE(std::abs(sample.at.lon), 180.0f) << row.from.lon;
            EXPECT_GE(std::abs(sample.at.lon), 179.7f) << row.from.lon;
        }
    }
}

TEST(SectionPoints, NoneForEndsThatAreNotNumbers) {
    EXPECT_TRUE(SectionPoints({NAN, 37.0f}, {55.0f, 38.0f}).empty());
    EXPECT_TRUE(SectionPoints({55.0f, 37.0f}, {55.0f, INFINITY}).empty());
}

TEST(CoordinateText, ReadsBackAsTheSameNumber) {
    for (const float value : {55.7f, 37.123456f, -0.000123f, 179.99999f, 0.0f, 89.5f}) {
        const std::string text = CoordinateText(value);
        float back = 1e9f;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
        EXPECT_GE(text.size() - text.find('.') - 1, 6u) << text;
    }
}

TEST(SectionCsv, OpensWithCommentsThatSayWhatItHolds) {
    Section section;
    section.site = "27612";
    section.day = "261207";
    section.term = "12.00";
    section.from.at = {55.5f, 35.0f};
    section.to.at = {56.0f, 40.5f};
    const std::string csv = SectionCsv(section);
    EXPECT_TRUE(
        csv.starts_with("# product: vertical section\n# site: 27612\n# day: 261207\n"
                        "# term: 12.00\n# from: 55.500000,35.000000\n"
                        "# to: 56.000000,40.500000\n# layers: "))
        << csv;
    EXPECT_NE(csv.find("\ndistance_km,"), std::string::npos);
}

}  // namespace
}  // namespace kalvera
