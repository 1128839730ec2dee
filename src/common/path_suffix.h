#pragma once
// File kinds by their names' endings.

#include <algorithm>
#include <cctype>
#include <string>

namespace kalvera {

// Whether `path` ends in `suffix` (".png"), in either case.
inline bool HasSuffix(const std::string& path, const std::string& suffix) {
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace kalvera
