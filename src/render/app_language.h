#pragma once
// The language of the program's own texts. The texts are written in Russian
// in the code, so Russian needs no catalogue and stays exactly as it always
// was; English comes from the catalogue built into the program. Dates follow
// the chosen language through the default QLocale.

#include <QString>
#include <optional>

class QCoreApplication;

namespace kalvera {

enum class AppLanguage { Russian, English };

// "ru" or "en"; "system" follows the system locale (Russian for a Russian
// locale, English for any other). Nothing for any other word.
std::optional<AppLanguage> LanguageNamed(const QString& name);

// Installs the catalogue of `language` into `app` and makes the locale of
// that language the default for dates and numbers. False when the English
// catalogue could not be loaded (the texts then stay Russian).
bool InstallLanguage(QCoreApplication& app, AppLanguage language);

}  // namespace kalvera
