#include "render/app_language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace kalvera {

namespace {

AppLanguage SystemLanguage() {
    return QLocale::system().language() == QLocale::Russian ? AppLanguage::Russian
                                                            : AppLanguage::English;
}

// The system locale where it speaks the language (a British user keeps day
// before month), otherwise the language's own country.
QLocale LocaleFor(AppLanguage language) {
    const QLocale::Language wanted =
        language == AppLanguage::English ? QLocale::English : QLocale::Russian;
    if (QLocale::system().language() == wanted) return QLocale::system();
    return language == AppLanguage::English ? QLocale(QLocale::English, QLocale::UnitedStates)
                                            : QLocale(QLocale::Russian, QLocale::Russia);
}

}  // namespace

std::optional<AppLanguage> LanguageNamed(const QString& name) {
    if (name == QLatin1String("ru")) return AppLanguage::Russian;
    if (name == QLatin1String("en")) return AppLanguage::English;
    if (name == QLatin1String("system")) return SystemLanguage();
    return std::nullopt;
}

bool InstallLanguage(QCoreApplication& app, AppLanguage language) {
    QLocale::setDefault(LocaleFor(language));
    if (language == AppLanguage::Russian) return true;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/kalvera_en.qm")) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace kalvera
