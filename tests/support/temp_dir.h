#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes. Every test that writes files writes
// them in one of these.

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvera::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // The path with a trailing separator, as a data root is written.
    std::string prefix() const { return path_.string() + "/"; }
    // The path of a file in the directory; nothing is created.
    std::string file(const std::string& relative) const { return (path_ / relative).string(); }

    // Writes `bytes` to the relative path, creating its directories.
    std::string write(const std::string& relative, std::string_view bytes) const;
    std::string mkdir(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

}  // namespace kalvera::testing
