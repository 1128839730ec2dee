// The demo weather must look like weather to a forecaster: coherent echoes
// that move with the wind, grow and decay, weaken with height, and products
// that agree with one another.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "common/date_time.h"
#include "demo/term_products.h"
#include "demo/weather_model.h"

namespace kalvera {
namespace {

using demo::DemoSites;
using demo::TermGrids;

constexpr uint32_t kSeed = 20240611;

double SummerDay() {
    return EncodeDate(2026, 7, 10);
}

// The grids of every site every two hours over two summer days.
const std::vector<TermGrids>& SampledTerms() {
    static const std::vector<TermGrids> terms = [] {
        std::vector<TermGrids> out;
        const demo::WeatherModel model(kSeed);
        for (double t = SummerDay(); t < SummerDay() + 2.0; t += 2.0 / 24.0) {
            const demo::WeatherScene scene = model.at(t);
            for (const demo::DemoSite& site : DemoSites())
                out.push_back(demo::SampleTerm(site, scene));
        }
        return out;
    }();
    return terms;
}

TEST(WeatherScene, IsTheSameForTheSameSeedAndTime) {
    const double t = SummerDay() + 0.6;
    const demo::TermGrids a = demo::SampleTerm(DemoSites()[1], demo::WeatherModel(kSeed).at(t));
    const demo::TermGrids b = demo::SampleTerm(DemoSites()[1], demo::WeatherModel(kSeed).at(t));
    const demo::TermGrids c = demo::SampleTerm(DemoSites()[1], demo::WeatherModel(kSeed + 1).at(t));
    EXPECT_EQ(a.phenomena, b.phenomena);
    EXPECT_EQ(a.reflectivity, b.reflectivity);
    EXPECT_NE(a.reflectivity, c.reflectivity);
}

TEST(WeatherScene, CellsDriftDownstreamWithTheSteeringWind) {
    const demo::WeatherModel model(kSeed);
    const double t = SummerDay() + 15.0 / 24.0;
    std::map<int64_t, demo::ConvectiveCell> before;
    const demo::WeatherScene first = model.at(t);
    for (const auto& c : first.cells()) before[c.id] = c;
    int matched = 0;
    const demo::WeatherScene second = model.at(t + 10.0 / 1440.0);
    for (const auto& c : second.cells()) {
        const auto found = before.find(c.id);
        if (found == before.end()) continue;
        ++matched;
        const double dx = c.x - found->second.x, dy = c.y - found->second.y;
        const double km = std::hypot(dx, dy);
        // 8 to 16 m/s for 10 minutes, from the south-west to the west.
        EXPECT_GT(km, 3.0);
        EXPECT_LT(km, 11.0);
        EXPECT_GT(dx, 0.0);
    }
    EXPECT_GT(matched, 10);
}

TEST(WeatherScene, CellsGrowToAPeakAndDecay) {
    const demo::WeatherModel model(kSeed);
    const double start = SummerDay() + 14.0 / 24.0;
    std::map<int64_t, std::vector<float>> life;
    for (int minute = 0; minute <= 240; minute += 5) {
        const demo::WeatherScene scene = model.at(start + minute / 1440.0);
        for (const auto& c : scene.cells()) life[c.id].push_back(c.coreDbz);
    }
    int rising = 0, peaked = 0;
    for (const auto& [id, dbz] : life) {
        if (dbz.size() < 6) continue;
        const auto peak = std::max_element(dbz.begin(), dbz.end()) - dbz.begin();
        if (peak > 0 && peak + 1 < static_cast<long>(dbz.size())) ++peaked;
        if (dbz[1] > dbz[0]) ++rising;
    }
    EXPECT_GT(peaked, 10);
    EXPECT_GT(rising, 10);
}

TEST(WeatherScene, AfternoonsBringMoreConvectionThanNights) {
    const demo::WeatherModel model(kSeed);
    size_t afternoon = 0, night = 0;
    for (int day = 0; day < 6; ++day) {
        afternoon += model.at(SummerDay() + day + 15.5 / 24.0).cells().size();
        night += model.at(SummerDay() + day + 3.5 / 24.0).cells().size();
    }
    EXPECT_GT(afternoon, night * 2);
}

TEST(WeatherScene, EchoIsCoherentNotNoise) {
    // Neighbouring cells differ far less than cells picked far apart.
    double near = 0.0, far = 0.0;
    int pairs = 0;
    for (const TermGrids& g : SampledTerms()) {
        const demo::Grid& v = g.reflectivity[1];
        for (int i = 0; i < 100; i += 3) {
            for (int j = 0; j < 99; j += 3) {
                near += std::abs(v[i * 100 + j] - v[i * 100 + j + 1]);
                far += std::abs(v[i * 100 + j] - v[((i + 50) % 100) * 100 + (j + 37) % 100]);
                ++pairs;
            }
        }
    }
    ASSERT_GT(pairs, 0);
    EXPECT_GT(far, 0.0);
    EXPECT_LT(near, far * 0.4);
}

TEST(WeatherScene, ReflectivityWeakensWithHeightAboveTheMeltingLayer) {
    for (const TermGrids& g : SampledTerms()) {
        for (int k = 0; k < 10000; ++k) {
            for (int layer = 2; layer < 10; ++layer) {
                ASSERT_LE(g.reflectivity[layer + 1][k], g.reflectivity[layer][k]) << "cell " << k;
            }
        }
    }
}

TEST(WeatherScene, EchoTopsCoverEveryLayerWithEcho) {
    for (const TermGrids& g : SampledTerms()) {
        for (int k = 0; k < 10000; ++k) {
            int highest = 0;
            for (int layer = 1; layer <= 10; ++layer) {
                if (g.reflectivity[layer][k] > 0) highest = layer;
            }
            ASSERT_GE(g.echoTopsM[k], highest * 1000) << "cell " << k;
            if (g.echoTopsM[k] > 0 && highest < 10) {
                // The top lies at most one kilometre above the highest echo.
                ASSERT_LE(g.echoTopsM[k], (highest + 1) * 1000) << "cell " << k;
            }
        }
    }
}

TEST(WeatherScene, PhenomenaAgreeWithReflectivityAndTops) {
    std::set<int> seen;
    for (const TermGrids& g : SampledTerms()) {
        for (int k = 0; k < 10000; ++k) {
            const int code = g.phenomena[k];
            const int low = g.reflectivity[1][k];  // 2 x dBZ at 1-2 km
            const int top = g.echoTopsM[k];
            seen.insert(code);
            ASSERT_GE(code, 0);
            ASSERT_LE(code, 19);
            if (code == 0) {
                ASSERT_EQ(top, 0) << k;
            } else {
                ASSERT_GT(top, 0) << "code " << code;
            }
            if (code == 1) {
                ASSERT_EQ(low, 0) << "cloud aloft has no rain below";
            }
            if (code >= 3 && code <= 5) {
                ASSERT_GT(low, 0) << "precipitation without echo";
            }
            if (code >= 10 && code <= 12) {
                ASSERT_GE(top, 7000) << "thunderstorm with a low top";
                ASSERT_GE(low, 84) << "thunderstorm below 42 dBZ";
            }
            if (code >= 13 && code <= 15) {
                ASSERT_GE(top, 9000) << "hail with a low top";
                ASSERT_GE(low, 110) << "hail below 55 dBZ";
            }
        }
    }
    for (int code : {1, 2, 3, 4, 6, 7, 8, 9, 10}) {
        EXPECT_TRUE(seen.count(code)) << "no phenomenon " << code << " in two summer days";
    }
}

}  // namespace
}  // namespace kalvera
