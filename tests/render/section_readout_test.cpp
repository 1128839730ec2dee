// A section's samples hold what the readout shows at the same points.
#include <gtest/gtest.h>

#include "products/section.h"
#include "render/readout.h"

namespace kalvera {
namespace {

TEST(SectionSamples, MatchTheReadoutAtTheSamePoints) {
    DisplayState state;
    state.siteLat = 55.7f;
    state.siteLon = 37.6f;
    state.gridCols = kGridSide;
    state.gridRows = kGridSide;
    TermLayers term;
    // Layer 4 holds each cell's number, so a neighbouring cell would show.
    for (const int code : {4, 21}) {
        auto layer = std::make_unique<DecodedLayer>();
        for (int cell = 0; cell < kGridCells; ++cell) layer->picture.values[cell] = cell + code;
        layer->grid = RadarGrid::AroundSite(state.siteLon, state.siteLat);
        term.grids[static_cast<size_t>(TermLayers::SlotOf(code))] = std::move(layer);
    }
    const struct {
        GeoPoint from, to;
    } lines[] = {
        {{53.9f, 34.4f}, {57.5f, 40.8f}},  // corner to corner, and beyond
        {{55.7f, 37.6f}, {55.71f, 40.0f}},
        {{56.5f, 36.0f}, {54.9f, 36.01f}},
    };
    for (const auto& line : lines) {
        std::vector<SectionSample> samples = SectionPoints(line.from, line.to);
        FillSection(term, samples);
        for (const SectionSample& sample : samples) {
            for (const int code : {4, 21}) {
                const DecodedLayer& layer = *term.layer(code);
                state.layerCode = code;
                const int32_t shown =
                    GridValueAt(layer.picture, state, sample.at.lat, sample.at.lon);
                const auto& value = code == 21 ? sample.top : sample.layers[3];
                ASSERT_EQ(value, shown) << sample.distanceKm << " km, layer " << code;
            }
            EXPECT_FALSE(sample.layers[0]) << "a layer the term lacks";
        }
    }
}

}  // namespace
}  // namespace kalvera
