#pragma once
// Texts of the pictures and of the core in the chosen language. The code
// writes them in Russian, and without an installed catalogue every function
// here returns its Russian text unchanged. The core (common, archive, ...)
// knows no Qt: its few texts are translated here, where they meet the window.

#include <QString>
#include <string>
#include <string_view>

namespace kalvera {

// `source` looked up under `context` in the installed catalogues (UTF-8).
std::string TranslatedText(const char* context, std::string_view source);

// The program's name as the window title and the first header line show it.
QString ProgramTitle();

// A data-age line of the core ("22.10, 4 мин назад", "нет данных") with its
// words in the chosen language.
QString DataAgeText(const std::string& coreText);

}  // namespace kalvera
