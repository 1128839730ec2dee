#pragma once
// Writing a file so that other programs never see it half written.

#include <string>
#include <string_view>

namespace kalvera {

// Writes `bytes` to a new temporary file in the target's directory and renames
// it over `path`. An existing target keeps its permissions; on any failure the
// temporary file is removed, the old target is left as it was, and `error`
// names the file and the system's reason.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace kalvera
