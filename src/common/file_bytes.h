#pragma once
// Whole-file reads for the small resource files.

#include <string>

namespace kalvera {

// Reads the file to its end. On failure returns false with the errno value in
// `error` (0 when the cause is not known).
bool ReadFileBytes(const std::string& path, std::string& bytes, int& error);

}  // namespace kalvera
