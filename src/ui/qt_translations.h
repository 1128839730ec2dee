#pragma once
// The language of the window: the program's own texts, Qt's own dialogs
// (save, print, colour, the buttons of message boxes) and the dates. Russian
// unless the user asks for English with `--lang en` or with "language" in
// the user's settings ("ru", "en", or "system" to follow the desktop).

#include <QStringList>

#include "render/app_language.h"

class QCoreApplication;

namespace kalvera {

// Loads Qt's catalogue of `language` from Qt's translations directory; for
// English, whose texts Qt has built in, there is nothing to load. False when
// the catalogue is not installed there; Qt's dialogs then keep their English
// texts.
bool InstallQtTranslations(QCoreApplication& app, AppLanguage language = AppLanguage::Russian);

// The language chosen by `--lang NAME` among `arguments` (the program's
// name first), else by the user's settings, else Russian. An unknown name
// is reported on standard error and ignored.
AppLanguage ChosenLanguage(const QStringList& arguments);

// Chooses the language from the command line and the user's settings and
// installs the program's and Qt's catalogues and the default locale.
void InstallTranslations(QCoreApplication& app);

}  // namespace kalvera
