#pragma once
// Whole files as byte strings, for tests that check what was written or
// prepare what is read.

#include <string>

namespace kalvera::testing {

// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Replaces the file with `bytes`, creating its directories.
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace kalvera::testing
