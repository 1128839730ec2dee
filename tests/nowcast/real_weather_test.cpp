// The nowcast on real weather: radar composites of a day of showers and of a
// rain band, from a public archive, written as day archives of made-up
// sites (tests/data/real-weather, see the README). These hold the skill the
// nowcast has on them, so that a change that loses it is caught.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "nowcast/day_nowcast.h"
#include "nowcast/verification.h"
#include "products/derived_products.h"

namespace kalvera {
namespace {

const std::string kArchive = std::string(KALVERA_SOURCE_DIR) + "/tests/data/real-weather/archive/";

DisplayState DayOf(const std::string& site, const std::string& day) {
    DisplayState state;
    state.siteCode = site;
    state.dayName = day;
    state.indexPath = kArchive + site + "/" + day + ".ind";
    state.basePath = kArchive + site + "/" + day + ".bas";
    return state;
}

std::vector<DayTerm> Terms(const std::string& site, const std::string& day) {
    std::vector<DayTerm> terms;
    std::string error;
    EXPECT_TRUE(LoadTermsAcrossDays(DayOf(site, day), {kLayerColumnMax}, "", terms, error))
        << error;
    return terms;
}

struct SkillCase {
    const char* name;
    const char* site;
    const char* day;
    double thresholdDbz;
};

class RealWeatherSkill : public ::testing::TestWithParam<SkillCase> {};

TEST_P(RealWeatherSkill, ExtrapolationKeepsItsLeadOverPersistence) {
    const SkillCase& c = GetParam();
    std::vector<VerifyTerm> terms;
    for (DayTerm& t : Terms(c.site, c.day)) {
        if (const GridValues* g = t.layer(kLayerColumnMax)) {
            terms.push_back({t.termText, t.minutes, *g});
        }
    }
    ASSERT_GE(terms.size(), 10u);
    const auto rows =
        VerifyDay(terms, static_cast<int32_t>(std::lround(c.thresholdDbz * 2)), kLayerColumnMax);
    const auto score = [&](int lead, const char* method) {
        for (const VerifyRow& row : rows) {
            if (row.leadMinutes == lead && row.method == method) return row;
        }
        ADD_FAILURE() << "no row for +" << lead << " " << method;
        return VerifyRow{};
    };
    for (const int lead : {30, 60}) {
        EXPECT_GT(score(lead, "extrapolation").table.csi(), score(lead, "persistence").table.csi())
            << "CSI at +" << lead;
    }
    // Small cores keep their area: at +10 the forecast is at least as
    // good as the newest term itself at the scale of a few cells.
    EXPECT_GE(score(10, "extrapolation").fractions.fss(), score(10, "persistence").fractions.fss());
}

INSTANTIATE_TEST_SUITE_P(Days, RealWeatherSkill,
                         ::testing::Values(SkillCase{"showers_at_30_dBZ", "90101", "170510", 30},
                                           SkillCase{"showers_at_20_dBZ", "90101", "170510", 20},
                                           SkillCase{"rain_band_at_30_dBZ", "90102", "160928", 30},
                                           SkillCase{"rain_band_at_20_dBZ", "90102", "160928", 20}),
                         [](const auto& info) { return std::string(info.param.name); });

// The showers' sequence runs across midnight: the first term of the day
// reads the motion from the day before, so its cells move.
TEST(RealWeather, CellsAtMidnightKnowTheirMotion) {
    const std::vector<DayTerm> terms = Terms("90101", "170510");
    ASSERT_FALSE(terms.empty());
    EXPECT_LT(terms.front().minutes, 0.0);
    CellOptions options;
    options.thresholdDbz = 35.0;
    const std::vector<TermCells> cells = TrackDay(terms, options);
    size_t checked = 0;
    for (const TermCells& term : cells) {
        if (term.minutes != 0.0) continue;
        for (const StormCell& cell : term.cells) {
            EXPECT_TRUE(cell.moving()) << "cell " << cell.id;
            EXPECT_GT(cell.speedKmh, 5.0) << "cell " << cell.id;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
}

// The composite's day read a part at a time tracks its cells as the day
// held whole does, across the parts' seams and midnight.
TEST(RealWeather, TheCompositesDayInPartsTracksAsWhole) {
    const MosaicRequest day{kArchive, {"90101"}, "170510", "", kDefaultToleranceMinutes};
    const std::vector<int> codes = {kLayerColumnMax, kLayerEchoTops, kLayerVil};
    CellOptions options;
    options.thresholdDbz = 35.0;
    std::string error;
    MosaicLoader whole;
    std::vector<DayTerm> terms;
    ASSERT_TRUE(
        LoadMosaicTermsAcrossDays(whole, day, CompositeMethod::Maximum, codes, {}, terms, error))
        << error;
    MosaicLoader inParts;
    std::vector<TermCells> cells;
    ASSERT_TRUE(TrackMosaicDay(inParts, day, CompositeMethod::Maximum, {}, options, cells, error))
        << error;
    EXPECT_GT(cells.size(), 12u);
    EXPECT_EQ(CellsCsv(cells), CellsCsv(TrackDay(terms, options)));
}

}  // namespace
}  // namespace kalvera
