#pragma once
// What the output tests share besides temporary directories and whole-file
// reads: map resources, pixel probes, external tools, the demo archive and a file-size
// limit that makes writes fail even for root.

#include <sys/resource.h>

#include <QImage>
#include <bit>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace kalvera::testing {

inline size_t CountFiles(const std::string& dir) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
    return count;
}

// A path as one shell word, whatever it contains.
inline std::string Quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Standard output of a shell command; empty when it cannot be run.
inline std::string CommandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

inline bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A demo archive of today with a term every four hours, written by the
// project's demo tool into `startDir`: false when the tool is not built.
inline bool WriteDemoArchive(const std::string& startDir) {
    const std::string demo = std::string(KALVERA_BINARY_DIR) + "/tools/kalvera-demo";
    return std::filesystem::exists(demo) && std::system((Quoted(demo) + " " + Quoted(startDir) +
                                                         " --days 1 --step 240 >/dev/null 2>&1")
                                                            .c_str()) == 0;
}

// res/country.ind and res/country.bin with the given outlines (lat, lon
// pairs), and res/punkt.txt with coordinates that read back exactly.
inline void WriteMapFiles(
    const std::string& startDir, const std::vector<std::vector<std::pair<float, float>>>& outlines,
    const std::vector<std::pair<std::string, std::pair<float, float>>>& places) {
    std::string ind, bin, punkt;
    auto le32 = [](std::string& out, uint32_t v) {
        for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
    };
    for (const auto& outline : outlines) {
        ind.append(8, '\0');
        le32(ind, static_cast<uint32_t>(outline.size()));
        le32(ind, static_cast<uint32_t>(bin.size()));
        ind.append(16, '\0');
        for (const auto& [lat, lon] : outline) {
            le32(bin, std::bit_cast<uint32_t>(lat));
            le32(bin, std::bit_cast<uint32_t>(lon));
        }
    }
    for (const auto& [name, at] : places) {
        char line[128];
        std::snprintf(line, sizeof line, "%s %.9g %.9g\n", name.c_str(), at.first, at.second);
        punkt += line;
    }
    WriteWholeFile(startDir + "/res/country.ind", ind);
    WriteWholeFile(startDir + "/res/country.bin", bin);
    WriteWholeFile(startDir + "/res/punkt.txt", punkt);
}

// True when the block of `radius` around (x, y) holds a pixel of `colour`
// (0x00BBGGRR) within `tolerance` per channel.
inline bool HasColourNear(const QImage& image, int x, int y, int radius, uint32_t colour,
                          int tolerance = 0) {
    for (int yy = std::max(0, y - radius); yy <= y + radius && yy < image.height(); ++yy)
        for (int xx = std::max(0, x - radius); xx <= x + radius && xx < image.width(); ++xx) {
            const QRgb p = image.pixel(xx, yy);
            if (std::abs(qRed(p) - static_cast<int>(colour & 0xFF)) <= tolerance &&
                std::abs(qGreen(p) - static_cast<int>((colour >> 8) & 0xFF)) <= tolerance &&
                std::abs(qBlue(p) - static_cast<int>((colour >> 16) & 0xFF)) <= tolerance)
                return true;
        }
    return false;
}

// Number of pixels in the rectangle darker than mid grey.
inline int DarkPixels(const QImage& image, int left, int top, int width, int height) {
    int count = 0;
    for (int y = top; y < top + height && y < image.height(); ++y)
        for (int x = left; x < left + width && x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

// Tests run as root, where a read-only mode does not stop a write. A file-size
// limit does stop it, for every user and on every file system: while this
// object lives, any write that grows a file past `bytes` fails with EFBIG
// instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace kalvera::testing
