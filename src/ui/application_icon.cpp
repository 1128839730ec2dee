#include "ui/application_icon.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

namespace kalvera {

namespace {

#ifndef KALVERA_ICONS_FROM_BIN
#define KALVERA_ICONS_FROM_BIN "../share/icons"
#endif

QIcon BuiltInIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/kalvera/icons/kalvera-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace

QIcon ApplicationIcon() {
    // The theme directories of the prefix the program is installed in, which
    // the desktop need not know of.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/" KALVERA_ICONS_FROM_BIN));
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(installed)) {
        paths.append(installed);
        QIcon::setThemeSearchPaths(paths);
    }
    return QIcon::fromTheme(QStringLiteral("kalvera"), BuiltInIcon());
}

void SetApplicationIcon() {
    QGuiApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvera"));
}

}  // namespace kalvera
