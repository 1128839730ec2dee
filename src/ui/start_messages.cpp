#include "ui/start_messages.h"

#include <array>
#include <cerrno>

namespace kalvera {

namespace {

const std::array<const char*, 6> kTokenNames = {"каталог архива",       "период обновления",
                                                "станция по умолчанию", "резервный текст",
                                                "широта центра",        "долгота центра"};

QString TokenName(int token) {
    return token >= 0 && token < static_cast<int>(kTokenNames.size())
               ? QString::fromUtf8(kTokenNames[static_cast<size_t>(token)])
               : QString();
}

QString TokenLabel(int token) {
    return QStringLiteral("значение %1 (%2)").arg(token + 1).arg(TokenName(token));
}

QString Quoted(const std::string& text) {
    return QStringLiteral("«") + QString::fromStdString(text) + QStringLiteral("»");
}

}  // namespace

QString FileErrorText(int cause) {
    switch (cause) {
        case ENOENT:
            return QStringLiteral("файл не найден");
        case EACCES:
        case EPERM:
            return QStringLiteral("нет прав на чтение");
        case EISDIR:
            return QStringLiteral("это каталог, а не файл");
        case ENOTDIR:
            return QStringLiteral("часть пути не является каталогом");
        case ENAMETOOLONG:
            return QStringLiteral("слишком длинный путь");
        case ELOOP:
            return QStringLiteral("слишком много символических ссылок");
        case EIO:
            return QStringLiteral("ошибка ввода-вывода");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("открыто слишком много файлов");
        case ENOMEM:
            return QStringLiteral("недостаточно памяти");
        case 0:
            return QStringLiteral("причина неизвестна");
        default:
            return QStringLiteral("системная ошибка %1").arg(cause);
    }
}

QString StartErrorText(const SettingsFailure& failure) {
    using Kind = SettingsFailure::Kind;
    const QString path = QString::fromStdString(failure.path);
    const QString inFile = QStringLiteral("Ошибка в файле настроек %1: ").arg(path);
    switch (failure.kind) {
        case Kind::None:
            return {};
        case Kind::NoCurrentDirectory:
            return QStringLiteral("Не удалось определить рабочий каталог: %1.")
                .arg(FileErrorText(failure.cause));
        case Kind::SettingsUnreadable:
            return QStringLiteral("Не удалось прочитать файл настроек %1: %2.")
                .arg(path, FileErrorText(failure.cause));
        case Kind::TokenMissing:
            return inFile + QStringLiteral("нет значения %1 (%2); в файле %3 из 6 значений.")
                                .arg(failure.token + 1)
                                .arg(TokenName(failure.token))
                                .arg(failure.token);
        case Kind::TokenTooLong:
            return inFile + QStringLiteral("%1 длиннее 255 байт.").arg(TokenLabel(failure.token));
        case Kind::NotWholeNumber:
            return inFile + QStringLiteral("%1 %2 не является целым числом.")
                                .arg(TokenLabel(failure.token), Quoted(failure.tokenText));
        case Kind::NotNumber:
            return inFile + QStringLiteral("%1 %2 не является числом.")
                                .arg(TokenLabel(failure.token), Quoted(failure.tokenText));
        case Kind::SiteTableUnreadable:
            return QStringLiteral("Не удалось прочитать таблицу станций %1: %2.")
                .arg(path, FileErrorText(failure.cause));
    }
    return {};
}

}  // namespace kalvera
