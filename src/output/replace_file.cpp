#include "output/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kalvera {

namespace {

std::string SystemReason(int code) {
    return std::strerror(code);
}

// The process umask without changing it (umask() would, for a moment, for
// every thread).
mode_t CurrentUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 022;
    char line[256];
    unsigned int mask = 022;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
    }
    std::fclose(status);
    return static_cast<mode_t>(mask);
}

// A symbolic link is followed, so that the file it names is replaced rather
// than the link itself.
std::string ResolveTarget(const std::string& path) {
    struct stat linkInfo {};
    if (lstat(path.c_str(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return path;
    return resolved;
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty()) {
        error = "Cannot write an empty file name";
        return false;
    }
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    // A rename would replace a read-only file as easily as any other; its
    // owner made it read-only so that it is not written.
    if (exists && access(target.c_str(), W_OK) != 0) {
        error = "Cannot write " + path + ": " + SystemReason(errno);
        return false;
    }
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // A dot name keeps the half-written file out of directory listings that
    // skip hidden files.
    std::string pattern = (slash == std::string::npos ? "" : dir) + "." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = "Cannot create a temporary file beside " + path + ": " + SystemReason(errno);
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    // Without the chmod the file keeps mkstemp's owner-only mode, which still
    // holds a complete picture; that is no reason to give up the write.
    static_cast<void>(fchmod(fd, mode));
    bool ok = true;
    int reason = 0;
    if (!WriteAll(fd, bytes)) {
        ok = false;
        reason = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && std::rename(name.data(), target.c_str()) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        std::remove(name.data());
        error = "Cannot write " + path + ": " + SystemReason(reason ? reason : EIO);
    }
    return ok;
}

}  // namespace kalvera
