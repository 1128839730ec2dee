#include "common/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "common/error_text.h"
#include "common/file_bytes.h"

namespace kalvera {

namespace {

constexpr int kMaxLinkHops = 40;  // the kernel's own limit

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

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file at the end of a chain of links. A dangling link names the file
// that writing through it creates, as a shell's redirection would.
int FollowLinks(std::string& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return errno;
        if (static_cast<size_t>(length) >= target.size()) return ENAMETOOLONG;
        const std::string next(target.data(), static_cast<size_t>(length));
        path = next.front() == '/' ? next : DirectoryOf(path) + next;
    }
    return ELOOP;
}

int WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return 0;
}

// Writes, syncs (unless the caller syncs a whole set at once) and closes;
// the first failure wins.
int FinishFile(int fd, std::string_view bytes, bool truncate, bool sync = true) {
    int code = WriteAll(fd, bytes);
    if (code == 0 && truncate && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) code = errno;
    if (code == 0 && sync && fsync(fd) != 0 && errno != EINVAL)
        code = errno;  // EINVAL: cannot sync
    if (::close(fd) != 0 && code == 0) code = errno;
    return code;
}

// The last resort: the bytes over the old ones, then the old tail cut off.
// Not truncated first, so that a disk too full for new blocks can still take
// a picture no larger than the one it replaces.
int WriteInPlace(const std::string& target, std::string_view bytes, bool regular) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    return FinishFile(fd, bytes, regular);
}

// A temporary file beside the target with the old file's owner, group and
// mode; -1 when none can be made there.
int MakeTemporary(const std::string& target, const struct stat* old, std::vector<char>& name) {
    const std::string dir = DirectoryOf(target);
    // A dot name keeps the half-written file out of directory listings that
    // skip hidden files.
    const std::string pattern = dir + "." + target.substr(dir.size()) + ".XXXXXX";
    name.assign(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    // Only root may give a file away, and a group only to its members; without
    // them the file is the program's own, which still holds a whole picture.
    // The mode comes after the owner, because a change of owner clears set-id bits.
    if (old) static_cast<void>(fchown(fd, old->st_uid, old->st_gid));
    static_cast<void>(fchmod(fd, old ? old->st_mode & 07777 : 0666 & ~CurrentUmask()));
    return fd;
}

void SyncDirectory(const std::string& target) {
    const std::string dir = DirectoryOf(target);
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    static_cast<void>(fsync(fd));
    ::close(fd);
}

// One member of a set: its new content waiting beside it, and what to put
// back should a later member fail.
struct PendingFile {
    std::string target;      // links followed
    std::vector<char> temp;  // the temporary file's name, empty once renamed or removed
    bool existed = false;
    std::string oldBytes;
};

// Why `target` cannot take part in a set, or empty; keeps its old content.
std::string RefusalOf(PendingFile& file, struct stat& old) {
    if (const int code = FollowLinks(file.target)) return ErrorText(code);
    file.existed = stat(file.target.c_str(), &old) == 0;
    if (!file.existed) return {};
    if (S_ISDIR(old.st_mode)) return ErrorText(EISDIR);
    if (!S_ISREG(old.st_mode)) return "not a regular file";
    if (access(file.target.c_str(), W_OK) != 0) return ErrorText(errno);
    int code = 0;
    if (!ReadFileBytes(file.target, file.oldBytes, code)) return ErrorText(code ? code : EIO);
    return {};
}

// The new content in a temporary file beside the target, synced unless the
// set is synced at once, or the reason.
std::string StageFile(PendingFile& file, const struct stat* old, std::string_view bytes,
                      bool sync) {
    const int fd = MakeTemporary(file.target, old, file.temp);
    if (fd < 0) {
        const int code = errno;
        file.temp.clear();
        return ErrorText(code);
    }
    if (const int code = FinishFile(fd, bytes, false, sync)) {
        ::unlink(file.temp.data());
        file.temp.clear();
        return ErrorText(code);
    }
    return {};
}

// Every staged file of a set on disk with one request to the file system
// that holds them, rather than one per file. Sets rarely span file systems;
// each one met is synced.
int SyncStaged(const std::vector<PendingFile>& files) {
    std::vector<dev_t> synced;
    for (const PendingFile& file : files) {
        struct stat info {};
        if (stat(file.temp.data(), &info) != 0) return errno;
        if (std::find(synced.begin(), synced.end(), info.st_dev) != synced.end()) continue;
        const int fd = ::open(file.temp.data(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno;
        const int code = syncfs(fd) == 0 ? 0 : errno;
        ::close(fd);
        if (code != 0) return code;
        synced.push_back(info.st_dev);
    }
    return 0;
}

void RemoveTemporaries(std::vector<PendingFile>& files) {
    for (PendingFile& file : files) {
        if (!file.temp.empty()) ::unlink(file.temp.data());
        file.temp.clear();
    }
}

// Puts the first `count` files back as they were; the files that could not
// be, as a clause for the message.
std::string PutBack(const std::vector<PendingFile>& files, size_t count) {
    std::string failed;
    for (size_t i = count; i-- > 0;) {
        const PendingFile& file = files[i];
        const int code = file.existed ? ReplaceFile(file.target, file.oldBytes)
                                      : (::unlink(file.target.c_str()) == 0 ? 0 : errno);
        if (code != 0) failed += "; " + file.target + " is left new: " + ErrorText(code);
    }
    return failed;
}

}  // namespace

int ReplaceFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) return ENOENT;
    std::string target = path;
    if (const int code = FollowLinks(target)) return code;
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return EISDIR;
    // A rename would replace a read-only file as easily as any other; its
    // owner made it read-only so that it is not written.
    if (exists && access(target.c_str(), W_OK) != 0) return errno;
    // A device or a pipe is written to, never replaced by a file.
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, bytes, false);

    std::vector<char> name;
    const int fd = MakeTemporary(target, exists ? &old : nullptr, name);
    if (fd < 0) return WriteInPlace(target, bytes, true);
    if (const int code = FinishFile(fd, bytes, false)) {
        ::unlink(name.data());
        return code;
    }
    if (std::rename(name.data(), target.c_str()) != 0) {
        ::unlink(name.data());
        return WriteInPlace(target, bytes, true);
    }
    SyncDirectory(target);
    return 0;
}

bool ReplaceFileSet(const std::vector<FileContent>& files, std::string& error, SetSync sync) {
    std::vector<PendingFile> pending(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        pending[i].target = files[i].path;
        struct stat old {};
        std::string reason = files[i].path.empty() ? ErrorText(ENOENT) : RefusalOf(pending[i], old);
        if (reason.empty()) {
            reason = StageFile(pending[i], pending[i].existed ? &old : nullptr, files[i].bytes,
                               sync == SetSync::EachFile);
        }
        if (!reason.empty()) {
            RemoveTemporaries(pending);
            error = "Cannot write " + files[i].path + ": " + reason;
            return false;
        }
    }
    if (sync == SetSync::Together && !pending.empty()) {
        if (const int code = SyncStaged(pending)) {
            RemoveTemporaries(pending);
            error = "Cannot write " + files.front().path + ": " + ErrorText(code);
            return false;
        }
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        if (std::rename(pending[i].temp.data(), pending[i].target.c_str()) != 0) {
            const int code = errno;
            RemoveTemporaries(pending);
            error = "Cannot write " + files[i].path + ": " + ErrorText(code) + PutBack(pending, i);
            return false;
        }
        pending[i].temp.clear();
    }
    // A set usually shares one directory: each directory is synced once.
    std::string synced;
    for (const PendingFile& file : pending) {
        const std::string dir = DirectoryOf(file.target);
        if (&file != &pending.front() && dir == synced) continue;
        SyncDirectory(file.target);
        synced = dir;
    }
    return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error) {
    const int code = ReplaceFile(path, bytes);
    if (code != 0) error = "Cannot write " + path + ": " + ErrorText(code);
    return code == 0;
}

}  // namespace kalvera
