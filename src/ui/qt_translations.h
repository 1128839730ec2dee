#pragma once
// Qt's own dialogs (save, print, colour, the buttons of message boxes) speak
// Russian like the rest of the window, whatever locale the desktop runs in.

class QCoreApplication;

namespace kalvera {

// Loads Qt's Russian catalogue from Qt's translations directory. False when
// it is not installed there; Qt's dialogs then keep their English texts.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace kalvera
