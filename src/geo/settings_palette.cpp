#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "common/file_bytes.h"
#include "common/little_endian.h"
#include "geo/settings.h"

namespace kalvera {

namespace {

constexpr size_t kEntryBytes = 4;
constexpr size_t kPaletteBytes = kEntryBytes * 32;

bool WriteAll(std::FILE* file, const Palette& palette) {
    unsigned char bytes[kPaletteBytes];
    for (size_t entry = 0; entry < palette.size(); ++entry) {
        for (size_t i = 0; i < kEntryBytes; ++i) {
            bytes[entry * kEntryBytes + i] = static_cast<unsigned char>(palette[entry] >> (8 * i));
        }
    }
    return std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes && std::fflush(file) == 0 &&
           fsync(fileno(file)) == 0;
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
    // Written beside the file and renamed over it, so that a full disk or a
    // crash leaves the previous colours rather than a cut-off file.
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    const std::string prefix = "Cannot write palette file \"" + path + "\": ";
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = prefix + ErrorText(errno) + ".";
        return false;
    }
    errno = 0;
    const bool written = WriteAll(file, config.palette);
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int cause = writeError != 0 ? writeError : errno;
        std::remove(temporary.c_str());
        error = prefix + ErrorText(cause != 0 ? cause : EIO) + ".";
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int cause = errno;
        std::remove(temporary.c_str());
        error = prefix + ErrorText(cause) + ".";
        return false;
    }
    error.clear();
    return true;
}

}  // namespace kalvera
