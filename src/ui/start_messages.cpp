#include "ui/start_messages.h"

#include <QCoreApplication>
#include <array>
#include <cerrno>

namespace kalvera {

namespace {

const std::array<const char*, 6> kTokenNames = {
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "каталог архива"),
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "период обновления"),
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "станция по умолчанию"),
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "резервный текст"),
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "широта центра"),
    QT_TRANSLATE_NOOP("kalvera::StartMessages", "долгота центра")};

QString TokenName(int token) {
    return token >= 0 && token < static_cast<int>(kTokenNames.size())
               ? QCoreApplication::translate("kalvera::StartMessages",
                                             kTokenNames[static_cast<size_t>(token)])
               : QString();
}

QString TokenLabel(int token) {
    return QCoreApplication::translate("kalvera::StartMessages", "значение %1 (%2)")
        .arg(token + 1)
        .arg(TokenName(token));
}

QString Quoted(const std::string& text) {
    return QStringLiteral("«") + QString::fromStdString(text) + QStringLiteral("»");
}

}  // namespace

QString FileErrorText(int cause) {
    switch (cause) {
        case ENOENT:
            return QCoreApplication::translate("kalvera::StartMessages", "файл не найден");
        case EACCES:
        case EPERM:
            return QCoreApplication::translate("kalvera::StartMessages", "нет прав на чтение");
        case EISDIR:
            return QCoreApplication::translate("kalvera::StartMessages", "это каталог, а не файл");
        case ENOTDIR:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "часть пути не является каталогом");
        case ENAMETOOLONG:
            return QCoreApplication::translate("kalvera::StartMessages", "слишком длинный путь");
        case ELOOP:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "слишком много символических ссылок");
        case EIO:
            return QCoreApplication::translate("kalvera::StartMessages", "ошибка ввода-вывода");
        case EMFILE:
        case ENFILE:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "открыто слишком много файлов");
        case ENOMEM:
            return QCoreApplication::translate("kalvera::StartMessages", "недостаточно памяти");
        case 0:
            return QCoreApplication::translate("kalvera::StartMessages", "причина неизвестна");
        default:
            return QCoreApplication::translate("kalvera::StartMessages", "системная ошибка %1")
                .arg(cause);
    }
}

QString StartErrorText(const SettingsFailure& failure) {
    using Kind = SettingsFailure::Kind;
    const QString path = QString::fromStdString(failure.path);
    const QString inFile =
        QCoreApplication::translate("kalvera::StartMessages", "Ошибка в файле настроек %1: ")
            .arg(path);
    switch (failure.kind) {
        case Kind::None:
            return {};
        case Kind::NoCurrentDirectory:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "Не удалось определить рабочий каталог: %1.")
                .arg(FileErrorText(failure.cause));
        case Kind::SettingsUnreadable:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "Не удалось прочитать файл настроек %1: %2.")
                .arg(path, FileErrorText(failure.cause));
        case Kind::TokenMissing:
            return inFile +
                   QCoreApplication::translate("kalvera::StartMessages",
                                               "нет значения %1 (%2); в файле %3 из 6 значений.")
                       .arg(failure.token + 1)
                       .arg(TokenName(failure.token))
                       .arg(failure.token);
        case Kind::TokenTooLong:
            return inFile +
                   QCoreApplication::translate("kalvera::StartMessages", "%1 длиннее 255 байт.")
                       .arg(TokenLabel(failure.token));
        case Kind::NotWholeNumber:
            return inFile + QCoreApplication::translate("kalvera::StartMessages",
                                                        "%1 %2 не является целым числом.")
                                .arg(TokenLabel(failure.token), Quoted(failure.tokenText));
        case Kind::NotNumber:
            return inFile + QCoreApplication::translate("kalvera::StartMessages",
                                                        "%1 %2 не является числом.")
                                .arg(TokenLabel(failure.token), Quoted(failure.tokenText));
        case Kind::SiteTableUnreadable:
            return QCoreApplication::translate("kalvera::StartMessages",
                                               "Не удалось прочитать таблицу станций %1: %2.")
                .arg(path, FileErrorText(failure.cause));
    }
    return {};
}

}  // namespace kalvera
