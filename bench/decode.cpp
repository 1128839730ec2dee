// Microseconds per message for each product kind, decoded from memory the way
// the loader does it (parse, place the cursor, decode into the grid).

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "bufr/bufr_writer.h"
#include "common/display_state.h"
#include "common/radar_picture.h"
#include "decode/picture_loader.h"

// Counts heap allocations so that the benchmark can show none happen per message.
// (GCC cannot see that the replaced new and delete belong together.)
static size_t g_allocations = 0;

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

using kalvera::bufr::FixedProduct;
using kalvera::bufr::GenericProduct;

// A busy picture: short runs of changing classes and some single cells.
std::array<int32_t, 10000> busyGrid(int classes) {
    std::array<int32_t, 10000> grid{};
    for (int i = 0; i < 10000; ++i) grid[i] = ((i / 100) / 3 + (i % 100) / 4) % classes;
    return grid;
}

std::vector<uint8_t> fixedMessage() {
    FixedProduct p;
    p.classValues = {10, 20, 30, 40, 50, 60, 70};
    p.rows = kalvera::bufr::runLengthRows(busyGrid(8));
    return kalvera::bufr::writeFixedMessage(p);
}

std::vector<uint8_t> genericMessage() {
    GenericProduct p;
    p.groups = kalvera::bufr::runLengthGroups(busyGrid(100));
    return kalvera::bufr::writeGenericMessage(p);
}

void decodeLoop(benchmark::State& state, const std::vector<uint8_t>& message) {
    static kalvera::RadarPicture picture;
    kalvera::DisplayState display;
    display.recentre = 1;
    kalvera::PictureLoadReport report;
    const std::span<const uint8_t> bytes(message.data(), message.size());
    for (auto _ : state) {
        kalvera::decodeMessage(bytes, picture, display, &report);
        benchmark::DoNotOptimize(picture.values.data());
    }
    // Counted outside the timed loop, where the framework allocates nothing.
    const size_t before = g_allocations;
    for (int i = 0; i < 100; ++i) kalvera::decodeMessage(bytes, picture, display, &report);
    state.counters["heap_allocs_per_msg"] = static_cast<double>(g_allocations - before) / 100.0;
    state.counters["cells"] = report.count;
    state.counters["bytes"] = static_cast<double>(message.size());
}

void BM_FixedLayoutMessage(benchmark::State& state) {
    static const std::vector<uint8_t> message = fixedMessage();
    decodeLoop(state, message);
}

void BM_GenericMessage(benchmark::State& state) {
    static const std::vector<uint8_t> message = genericMessage();
    decodeLoop(state, message);
}

BENCHMARK(BM_FixedLayoutMessage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GenericMessage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
