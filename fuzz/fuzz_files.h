#pragma once
// What the targets that read real files share: one scratch directory for the
// whole run, and the input written whole as a file in it.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace kalvera::fuzz {

// Made once under the system's temporary directory; empty when it cannot be.
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kalvera-fuzz-XXXXXX").string();
        return mkdtemp(pattern.data()) ? pattern : std::string();
    }();
    return dir;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

}  // namespace kalvera::fuzz
