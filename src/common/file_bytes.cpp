#include "common/file_bytes.h"

#include <cerrno>
#include <cstdio>

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

}  // namespace kalvera
