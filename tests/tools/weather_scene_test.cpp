// The demo weather must look like weather to a forecaster: coherent echoes
// that move with the wind, grow and decay, weaken with height, and products
// that agree with one another.

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(WeatherScene, CellsDriftWithTheSteeringWindGrowToAPeakAndDecay) {
    // Every cell of a summer afternoon, followed in five-minute steps.
    struct Sample {
        double x, y;
        float dbz;
    };
    const demo::WeatherModel model(kSeed);
    std::map<int64_t, std::vector<Sample>> life;
    for (int minute = 0; minute <= 240; minute += 5) {
        const demo::WeatherScene scene = model.at(SummerDay() + 14.0 / 24.0 + minute / 1440.0);
        for (const auto& c : scene.cells()) life[c.id].push_back({c.x, c.y, c.coreDbz});
    }
    int rising = 0, peaked = 0, moves = 0;
    for (const auto& [id, samples] : life) {
        for (size_t i = 2; i < samples.size(); ++i, ++moves) {
            // 8 to 16 m/s for 10 minutes, from the south-west to the west.
            const double dx = samples[i].x - samples[i - 2].x, dy = samples[i].y - samples[i - 2].y;
            ASSERT_GT(std::hypot(dx, dy), 3.0) << "cell " << id;
            ASSERT_LT(std::hypot(dx, dy), 11.0) << "cell " << id;
            ASSERT_GT(dx, 0.0) << "cell " << id;
        }
        if (samples.size() < 6) continue;
        const auto peak = std::max_element(samples.begin(), samples.end(),
                                           [](auto& a, auto& b) { return a.dbz < b.dbz; }) -
                          samples.begin();
        peaked += peak > 0 && peak + 1 < static_cast<long>(samples.size());
        rising += samples[1].dbz > samples[0].dbz;
    }
    EXPECT_GT(moves, 10);
    EXPECT_GT(peaked, 10);
    EXPECT_GT(rising, 10);
}

TEST(WeatherScene, AfternoonsBringMoreConvectionThanNights) {
    const demo::WeatherModel model(kSeed);
    size_t afternoon = 0, night = 0;
    // Terms are GMT; the region's sun is 2 h 40 min ahead of it.
    for (int day = 0; day < 6; ++day) {
        afternoon += model.at(SummerDay() + day + 13.5 / 24.0).cells().size();
        night += model.at(SummerDay() + day + 3.5 / 24.0).cells().size();
    }
    EXPECT_GT(afternoon, night * 2);
}

TEST(WeatherScene, TheDefaultSiteHasPrecipitationToShowAtEveryHour) {
    // What a newcomer sees first is the default site's newest term, whenever
    // the demo is started.
    const demo::WeatherModel model(kSeed);
    for (double day : {EncodeDate(2026, 1, 15), SummerDay(), EncodeDate(2026, 12, 8)}) {
        for (int hour = 0; hour < 24; ++hour) {
            const TermGrids g =
                demo::SampleTerm(demo::DefaultDemoSite(), model.at(day + hour / 24.0));
            const auto wet = std::count_if(g.phenomena.begin(), g.phenomena.end(),
                                           [](int32_t code) { return code >= 2; });
            EXPECT_GE(wet, 300) << DecodeDate(day).month << "/" << DecodeDate(day).day << " "
                                << hour << " h";
        }
    }
}

TEST(WeatherScene, EchoIsCoherentAndLayersTopsAndPhenomenaAgreeInEveryCell) {
    // Every site every two hours over two summer days.
    const demo::WeatherModel model(kSeed);
    std::vector<TermGrids> terms;
    for (double t = SummerDay(); t < SummerDay() + 2.0; t += 2.0 / 24.0) {
        for (const demo::DemoSite& site : DemoSites())
            terms.push_back(demo::SampleTerm(site, model.at(t)));
    }
    std::set<int> seen;
    double near = 0.0, far = 0.0;  // differences to the east neighbour and to a far cell
    for (const TermGrids& g : terms) {
        const demo::Grid& low1 = g.reflectivity[1];  // 2 x dBZ at 1-2 km
        for (int k = 0; k < 10000; ++k) {
            if (k % 100 < 99) {
                near += std::abs(low1[k] - low1[k + 1]);
                far += std::abs(low1[k] - low1[(k + 5037) % 10000]);
            }
            int highest = 0;  // the highest layer with echo
            for (int layer = 1; layer <= 10; ++layer) {
                if (g.reflectivity[layer][k] > 0) highest = layer;
                // Above the melting layer reflectivity only weakens with height.
                ASSERT_TRUE(layer <= 2 || g.reflectivity[layer][k] <= g.reflectivity[layer - 1][k])
                    << "cell " << k << " layer " << layer;
            }
            const int top = g.echoTopsM[k];
            ASSERT_GE(top, highest * 1000) << "cell " << k;
            // The top lies at most one kilometre above the highest echo.
            ASSERT_TRUE(top == 0 || highest == 10 || top <= (highest + 1) * 1000) << k;
            const int code = g.phenomena[k];
            const int low = low1[k];
            seen.insert(code);
            ASSERT_TRUE(code >= 0 && code <= 19) << code;
            ASSERT_EQ(code == 0, top == 0) << "code " << code << " with top " << top;
            ASSERT_TRUE(code != 1 || low == 0) << "cloud aloft has no rain below";
            ASSERT_TRUE(code < 3 || code > 5 || low > 0) << "precipitation without echo";
            ASSERT_TRUE(code < 10 || code > 12 || (top >= 7000 && low >= 84))
                << "thunderstorm with a low top or below 42 dBZ";
            ASSERT_TRUE(code < 13 || code > 15 || (top >= 9000 && low >= 110))
                << "hail with a low top or below 55 dBZ";
        }
    }
    // Echo is coherent, not noise.
    EXPECT_GT(far, 0.0);
    EXPECT_LT(near, far * 0.4);
    for (int code : {1, 2, 3, 4, 6, 7, 8, 9, 10}) {
        EXPECT_TRUE(seen.count(code)) << "no phenomenon " << code << " in two summer days";
    }
}

}  // namespace
}  // namespace kalvera
