// Two sites' day archives from outside the program, read the way the
// composite reads them: each site's nearest term, its layers decoded, the
// layout made from wherever the messages put the sites, and the products
// gathered, however the indexes and messages are broken.

#include "mosaic/mosaic_term.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_files.h"
#include "products/derived_products.h"

using kalvera::fuzz::ScratchDir;
using kalvera::fuzz::WriteFile;

// Byte 0 splits the input between the two sites (in 16-byte steps of the
// first); byte 1 picks each site's index length, the asked minute and the
// tolerance. Each site's part is its index then its base file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = ScratchDir();
    if (dir.empty() || size < 3) return 0;
    using namespace kalvera;
    const uint8_t* rest = data + 3;
    const size_t total = size - 3;
    const size_t first = std::min<size_t>(total, static_cast<size_t>(data[0]) * 256);
    const struct {
        const char* code;
        const uint8_t* bytes;
        size_t length;
        size_t indexRecords;
    } sites[] = {{"26061", rest, first, static_cast<size_t>(data[1] & 0x0F)},
                 {"26063", rest + first, total - first, static_cast<size_t>(data[1] >> 4)}};
    for (const auto& site : sites) {
        std::error_code ignored;
        std::filesystem::create_directories(dir + "/" + site.code, ignored);
        const size_t index = std::min(site.length, site.indexRecords * 16);
        WriteFile(dir + "/" + site.code + "/261207.ind", site.bytes, index);
        WriteFile(dir + "/" + site.code + "/261207.bas", site.bytes + index, site.length - index);
    }
    MosaicRequest request;
    request.dataRoot = dir + "/";
    request.siteCodes = {"26061", "26063"};
    request.dayName = "261207";
    const int minute = data[2] % 60;
    request.termText = "12." + std::string(minute < 10 ? "0" : "") + std::to_string(minute);
    request.toleranceMinutes = data[2] / 4;
    // A composite cell of eight site cells: the gather reads no bytes, and a
    // grid of a few hundred cells rather than 80,000 lets a run explore.
    MosaicLoader loader(DecodeArchiveMessage, 1.0 / 8);
    // Two products keep the runs quick too.
    const MosaicTerm term = loader.Load(request, {1, kLayerWeather});
    for (const int layer : {1, kLayerWeather}) {
        term.Product(layer, (data[2] & 1) ? CompositeMethod::Nearest : CompositeMethod::Maximum);
    }
    return 0;
}
