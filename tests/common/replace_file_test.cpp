#include "common/replace_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace kalvera {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::TempDir;

constexpr uid_t kNobody = 65534;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info;
}

size_t EntriesIn(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// Runs `body` as an unprivileged user and gives its result: in a child that
// drops to nobody when the tests run as root, in this process otherwise.
int Unprivileged(const std::function<int()>& body) {
    if (geteuid() != 0) return body();
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

TEST(FileReplacement, TheReplacedFileKeepsItsModeOwnerAndGroup) {
    TempDir dir;
    const std::string path = dir.write("zeb.jpg", "a much longer old content");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    if (geteuid() == 0) {  // another user's file, as an office's shared picture may be
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    }
    const struct stat before = StatOf(path);

    ASSERT_EQ(ReplaceFile(path, "new"), 0);
    const struct stat after = StatOf(path);
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary file is left behind";
}

TEST(FileReplacement, ANewFileIsReadableByOthersAsTheUmaskAllows) {
    TempDir dir;
    const std::string path = dir.str() + "/new.bin";
    ASSERT_EQ(ReplaceFile(path, "hello"), 0);
    EXPECT_EQ(ReadWholeFile(path), "hello");
    EXPECT_NE(StatOf(path).st_mode & S_IRGRP, 0u) << "not the owner-only mode of mkstemp";
}

TEST(FileReplacement, ALinkIsFollowedToTheFileItNames) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links;  // link, what it names
        const char* file;                                        // where the content must land
    };
    const Case cases[] = {
        {"one link", {{"colors.bin", "real.bin"}}, "real.bin"},
        {"relative chain", {{"colors.bin", "sub/mid"}, {"sub/mid", "../real.bin"}}, "real.bin"},
        {"dangling link", {{"colors.bin", "missing.bin"}}, "missing.bin"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("real.bin", "old");
        dir.mkdir("sub");
        for (const auto& [link, target] : c.links)
            ASSERT_EQ(symlink(target, (dir.path() / link).c_str()), 0) << c.name;
        ASSERT_EQ(ReplaceFile(dir.str() + "/colors.bin", "new"), 0) << c.name;
        EXPECT_EQ(ReadWholeFile(dir.str() + "/" + c.file), "new") << c.name;
        EXPECT_TRUE(S_ISLNK(StatOf(dir.str() + "/colors.bin").st_mode)) << c.name;
    }
}

TEST(FileReplacement, WhatCannotBeReplacedIsRefusedAndLeftAlone) {
    TempDir dir;
    const std::string pipe = dir.str() + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    const struct {
        std::string path;
        int error;
    } cases[] = {{"", ENOENT}, {dir.mkdir("folder"), EISDIR}, {pipe, ENXIO}};
    for (const auto& c : cases) EXPECT_EQ(ReplaceFile(c.path, "x"), c.error) << c.path;
    EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode)) << "a pipe without a reader is not replaced";
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(dir.str() + "/folder", "x", error));
    EXPECT_EQ(error, "Cannot write " + dir.str() + "/folder: Is a directory");
}

// What an unprivileged program meets: a file it may write in a directory it
// may not, another user's file in a sticky directory such as /tmp, and a
// read-only file.
TEST(FileReplacement, AnUnprivilegedUserWritesInPlaceWhereNoRenameIsAllowed) {
    const bool root = geteuid() == 0;
    const struct {
        const char* name;
        mode_t dirMode;
        mode_t fileMode;
        bool needsRoot;  // the file must belong to someone else
        int result;
    } cases[] = {
        {"writable file, closed directory", 0555, 0666, false, 0},
        {"another user's file, sticky directory", 01777, 0666, true, 0},
        {"read-only file", 0777, 0444, false, EACCES},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !root) {
            std::printf("skipped \"%s\": it needs root to make another user's file\n", c.name);
            continue;
        }
        TempDir top;
        const std::string dir = top.mkdir("d");
        const std::string path = top.write("d/zeb.jpg", std::string(300, 'o'));
        ASSERT_EQ(chmod(path.c_str(), c.fileMode), 0);
        ASSERT_EQ(chmod(dir.c_str(), c.dirMode), 0);
        const struct stat before = StatOf(path);

        EXPECT_EQ(Unprivileged([&] { return ReplaceFile(path, "new"); }), c.result) << c.name;
        const struct stat after = StatOf(path);
        EXPECT_EQ(ReadWholeFile(path), c.result == 0 ? "new" : std::string(300, 'o')) << c.name;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.name;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        EXPECT_EQ(EntriesIn(dir), 1u) << c.name;
        chmod(dir.c_str(), 0755);
    }
}

TEST(FileSetReplacement, AllFilesAreReplacedTogether) {
    TempDir dir;
    const std::string kept = dir.write("map.pgw", "old"), fresh = dir.file("map.png");
    std::string error;
    ASSERT_TRUE(ReplaceFileSet({{kept, "new world"}, {fresh, "new picture"}}, error)) << error;
    EXPECT_EQ(ReadWholeFile(kept), "new world");
    EXPECT_EQ(ReadWholeFile(fresh), "new picture");
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// A set whose last file cannot be replaced: refused before anything is
// touched (a directory in its place), or found out only by its rename
// (another user's file in a sticky directory, met by an unprivileged user),
// after which the files already replaced are put back.
TEST(FileSetReplacement, ASetThatCannotBeWrittenWholeLeavesEveryFileAsItWas) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make another user's file";
    const struct {
        const char* name;
        bool directory;
    } cases[] = {{"a directory in the last file's place", true},
                 {"a rename refused in a sticky directory", false}};
    for (const auto& c : cases) {
        TempDir top;
        const std::string open = top.mkdir("open"), sticky = top.mkdir("sticky");
        ASSERT_EQ(chmod(open.c_str(), 0777), 0);
        ASSERT_EQ(chmod(sticky.c_str(), 01777), 0);
        const std::string kept = top.write("open/map.pgw", "old world");
        ASSERT_EQ(chmod(kept.c_str(), 0666), 0);
        const std::string fresh = top.file("open/map.prj");
        const std::string last =
            c.directory ? top.mkdir("sticky/map.png") : top.write("sticky/map.png", "old");
        ASSERT_EQ(chmod(last.c_str(), 0777), 0);  // writable: only the rename is refused

        const int failed = Unprivileged([&] {
            std::string error;
            return ReplaceFileSet({{kept, "new world"}, {fresh, "new"}, {last, "new"}}, error) ? 0
                                                                                               : 1;
        });
        EXPECT_EQ(failed, 1) << c.name;
        EXPECT_EQ(ReadWholeFile(kept), "old world") << c.name;
        EXPECT_FALSE(fs::exists(fresh)) << c.name;
        if (!c.directory) {
            EXPECT_EQ(ReadWholeFile(last), "old") << c.name;
        }
        EXPECT_EQ(EntriesIn(open), 1u) << c.name << ": a temporary file was left";
        EXPECT_EQ(EntriesIn(sticky), 1u) << c.name << ": a temporary file was left";
    }
}

}  // namespace
}  // namespace kalvera
