// The map's resource files come from outside the program: the outline index
// and points, and the place list, parsed from arbitrary bytes.

#include "geo/map_resources.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geo/map_projection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 3, size - 3);
    const kalvera::MapProjection view =
        kalvera::MapProjection::Init(640.0f, 640.0f, 37.0f, 55.0f, 200.0f);
    float sink = 0.0f;
    if (data[0] & 1) {
        std::vector<kalvera::Place> places;
        kalvera::ParsePlaces(std::string(bytes), places);
        for (const kalvera::Place& p : places) sink += view.LonToX(p.lon) + view.LatToY(p.lat);
    } else {
        const size_t split = (static_cast<size_t>(data[1]) << 8 | data[2]) % (bytes.size() + 1);
        std::vector<kalvera::Outline> outlines;
        kalvera::ParseOutlines(bytes.substr(0, split), bytes.substr(split), outlines);
        for (const kalvera::Outline& o : outlines)
            for (const kalvera::GeoPoint& p : o) sink += view.LonToX(p.lon);
    }
    volatile float keep = sink;
    (void)keep;
    return 0;
}
