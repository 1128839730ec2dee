#include <algorithm>
#include <string>

#include "common/error_text.h"
#include "common/file_bytes.h"
#include "common/little_endian.h"
#include "common/replace_file.h"
#include "geo/settings.h"

namespace kalvera {

namespace {

constexpr size_t kEntryBytes = 4;
constexpr size_t kPaletteBytes = kEntryBytes * 32;

std::string Encode(const Palette& palette) {
    std::string bytes(kPaletteBytes, '\0');
    auto* raw = reinterpret_cast<unsigned char*>(bytes.data());
    for (size_t entry = 0; entry < palette.size(); ++entry) {
        WriteLe32(raw + entry * kEntryBytes, palette[entry]);
    }
    return bytes;
}

}  // namespace

Palette DefaultPalette() {
    Palette palette{};
    palette[0] = 0x00FFFFFFu;
    for (uint32_t i = 1; i < palette.size(); ++i) {
        const uint32_t level = 128 + 4 * i;
        palette[i] = level | level << 8 | level << 16;
    }
    return palette;
}

void LoadPalette(AppConfig& config) {
    config.palette = DefaultPalette();
    std::string bytes;
    int error = 0;
    if (!ReadFileBytes(PalettePath(config.startDir), bytes, error)) return;
    // Only whole entries count; those the file does not reach keep the default.
    const size_t entries = std::min(bytes.size(), kPaletteBytes) / kEntryBytes;
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t entry = 0; entry < entries; ++entry) {
        config.palette[entry] = ReadLe32(raw + entry * kEntryBytes);
    }
}

bool SavePalette(const AppConfig& config, std::string& error) {
    const std::string path = PalettePath(config.startDir);
    if (const int code = ReplaceFile(path, Encode(config.palette))) {
        error = "Cannot write palette file \"" + path + "\": " + ErrorText(code) + ".";
        return false;
    }
    error.clear();
    return true;
}

}  // namespace kalvera
