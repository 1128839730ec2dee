#pragma once
// Resource texts are Windows-1251; the program holds UTF-8. A text that is
// already valid UTF-8 is taken as it stands.

#include <string>
#include <string_view>

namespace kalvera {

bool IsValidUtf8(std::string_view bytes);
// Windows-1251 (or UTF-8, left unchanged) to UTF-8, converted with iconv.
std::string Cp1251ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1251, for the tools that write resource files. Characters
// without a Windows-1251 form become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

}  // namespace kalvera
