#include "ui/user_settings.h"

#include <QSettings>
#include <QStandardPaths>

namespace kalvera {

QString UserSettings::filePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kalvera/kalvera.conf");
}

QVariant UserSettings::value(const QString& key, const QVariant& fallback) {
    const QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(key, fallback);
}

bool UserSettings::setValue(const QString& key, const QVariant& value) {
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace kalvera
