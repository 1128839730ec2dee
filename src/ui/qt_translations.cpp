#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

#include "ui/user_settings.h"

namespace kalvera {

namespace {

std::optional<AppLanguage> Named(const QString& name, const char* where) {
    const std::optional<AppLanguage> language = LanguageNamed(name);
    if (!language) {
        std::fprintf(stderr, "kalvera: unknown language '%s' in %s (ru, en or system)\n",
                     qPrintable(name), where);
    }
    return language;
}

}  // namespace

bool InstallQtTranslations(QCoreApplication& app, AppLanguage language) {
    if (language == AppLanguage::English) return true;
    auto* translator = new QTranslator(&app);
    // "qt_ru" names the catalogues of every Qt module, qtbase among them.
    if (!translator->load(QStringLiteral("qt_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

AppLanguage ChosenLanguage(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--lang"));
    if (at > 0 && at + 1 < arguments.size()) {
        if (const auto language = Named(arguments[at + 1], "--lang")) return *language;
    }
    const QString stored = UserSettings::value(QStringLiteral("language")).toString();
    if (!stored.isEmpty()) {
        if (const auto language = Named(stored, qPrintable(UserSettings::filePath()))) {
            return *language;
        }
    }
    return AppLanguage::Russian;
}

void InstallTranslations(QCoreApplication& app) {
    const AppLanguage language = ChosenLanguage(QCoreApplication::arguments());
    InstallLanguage(app, language);
    InstallQtTranslations(app, language);
}

}  // namespace kalvera
