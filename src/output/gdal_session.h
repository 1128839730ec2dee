#pragma once
// How the map exports use GDAL: drivers registered once, the library's error
// messages caught rather than printed, and every file made in GDAL's
// in-memory file system first, so that the target is replaced whole through
// ReplaceFileContents or not touched at all.

#include <optional>
#include <string>

namespace kalvera {

// While it lives, GDAL's errors are kept quietly for LastReason() instead of
// going to standard error. Registers the drivers on first use.
class GdalQuiet {
  public:
    GdalQuiet();
    ~GdalQuiet();
    GdalQuiet(const GdalQuiet&) = delete;
    GdalQuiet& operator=(const GdalQuiet&) = delete;
    // The library's last message, or `fallback` when it gave none.
    static std::string LastReason(const std::string& fallback);
};

// A private directory in GDAL's in-memory file system, removed with its
// contents when the object goes.
class MemoryDir {
  public:
    MemoryDir();
    ~MemoryDir();
    MemoryDir(const MemoryDir&) = delete;
    MemoryDir& operator=(const MemoryDir&) = delete;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    // The bytes of a file made there; nothing when it does not exist.
    std::optional<std::string> read(const std::string& name) const;

  private:
    std::string dir_;
};

}  // namespace kalvera
