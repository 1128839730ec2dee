// The user's own preferences: language, last folders, the start directory the
// menu entry uses, colour tables. They live in one INI file under the XDG config
// directory and never in the office's `settings` or `res/`, which the viewer
// only reads.
#pragma once

#include <QString>
#include <QVariant>

namespace kalvera {

class UserSettings {
  public:
    // $XDG_CONFIG_HOME/kalvera/kalvera.conf (~/.config/kalvera/kalvera.conf).
    static QString filePath();

    static QVariant value(const QString& key, const QVariant& fallback = {});
    // Written through at once, so that a crash later loses nothing chosen.
    // False when the file cannot be written (the preference then lasts only
    // for this run).
    static bool setValue(const QString& key, const QVariant& value);
};

}  // namespace kalvera
