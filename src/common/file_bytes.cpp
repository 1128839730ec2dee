#include "common/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kalvera {

bool ReadFileBytes(const std::string& path, std::string& bytes, int& error) {
    bytes.clear();
    error = 0;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = errno;
        return false;
    }
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(file) != 0) {
                // Reading a directory fails here rather than at fopen.
                error = errno != 0 ? errno : EIO;
                ok = false;
            }
            break;
        }
    }
    std::fclose(file);
    if (!ok) bytes.clear();
    return ok;
}

std::string ErrorText(int error) {
    if (error == 0) return "unknown error";
    char buffer[256];
    // The GNU variant may return a static text instead of filling the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text != nullptr ? std::string(text) : std::string("error ") + std::to_string(error);
}

}  // namespace kalvera
