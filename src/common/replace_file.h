#pragma once
// Replacing a file's whole content so that readers see the old file or the new
// one, never a mixture, wherever the file system allows it.

#include <string>
#include <string_view>
#include <vector>

namespace kalvera {

// Replaces the content of `path` with `bytes` and returns 0, or the errno value
// of the failure. A symbolic link is followed and the file it names is
// replaced. The bytes go to a temporary file beside that file, which gets the
// old file's mode (and its owner and group where the system permits), is
// synced and renamed over it; on failure the old file is left as it was. Where
// no temporary file can be made or renamed there (a directory the program may
// not write, a sticky directory, a file mounted on its own), the bytes are
// written over the file in place, so that it holds a partial content only
// while that one write runs. A read-only file is not written.
int ReplaceFile(const std::string& path, std::string_view bytes);

// The same, with a failure described in `error` as "Cannot write PATH: reason".
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error);

struct FileContent {
    std::string path;
    std::string_view bytes;
};

// Replaces files that belong together (a picture and the files that place
// it), in the order given, so that they are all new or all as they were.
// Every target is checked and every new content written to a temporary file
// beside its target and synced before the first one is renamed into place. A
// rename that fails then puts the files already replaced back as they were
// (their old contents are held in memory; a file that did not exist is
// removed); only when that too fails are the files left mixed, and `error`
// says which. A reader may see some files new and some old while the renames
// run. Unlike ReplaceFile there is no writing in place: a target that cannot
// be renamed into place fails the whole set, as does a device or pipe.
// False with the first failure as "Cannot write PATH: reason".
//
// Each new content is synced on its own (EachFile), or all of them with one
// sync of the file system that holds them (Together: for many files at
// once, where a sync per file would set the pace). Either way no file is
// renamed into place before its content is on disk.
enum class SetSync { EachFile, Together };
bool ReplaceFileSet(const std::vector<FileContent>& files, std::string& error,
                    SetSync sync = SetSync::EachFile);

}  // namespace kalvera
