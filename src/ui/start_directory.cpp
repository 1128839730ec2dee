#include "ui/start_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "common/clock.h"
#include "common/domain_constants.h"
#include "demo/demo_generator.h"
#include "render/translated_text.h"
#include "ui/user_settings.h"

namespace kalvera {

namespace {

// The demo's settings are written before its archive; a demo that was not
// finished loses them again, so that the next start asks once more instead of
// opening half an archive. The archive written so far is kept and completed
// by the next attempt.
bool CreateDemo(const QString& dir, Dialogs& dialogs, const DemoWriter& writeDemo) {
    QString error;
    const bool written = dialogs.runInBackground(
        QCoreApplication::translate("kalvera::StartDirectory",
                                    "Запись демонстрационного архива в каталог\n%1")
            .arg(dir),
        [&](BackgroundWork& work) { return writeDemo(dir, work, error); });
    if (written && HoldsSettings(dir)) return true;
    QFile::remove(dir + QStringLiteral("/settings"));
    if (!error.isEmpty()) dialogs.showMessage(nullptr, error, ProgramTitle());
    return false;
}

}  // namespace

QString UserStartDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kalvera");
}

bool HoldsSettings(const QString& dir) {
    return !dir.isEmpty() && QFileInfo(dir + QStringLiteral("/settings")).isFile();
}

QString ResolveStartDirectory(const StartPlaces& places) {
    for (const QString& dir : {places.current, places.remembered, places.user}) {
        if (HoldsSettings(dir)) return dir;
    }
    return {};
}

StartChoice ChooseStartDirectory(const StartPlaces& places, Dialogs& dialogs,
                                 const DemoWriter& writeDemo) {
    const QString found = ResolveStartDirectory(places);
    if (!found.isEmpty()) return {found, false};
    for (;;) {
        switch (dialogs.askFirstStart(places.current, places.user)) {
            case FirstStartAnswer::Quit:
                return {};
            case FirstStartAnswer::CreateDemo:
                if (CreateDemo(places.user, dialogs, writeDemo)) return {places.user, false};
                break;
            case FirstStartAnswer::ChooseDirectory: {
                const std::optional<QString> chosen = dialogs.chooseDirectory(
                    QCoreApplication::translate("kalvera::StartDirectory",
                                                "Рабочий каталог (с файлом settings)"),
                    places.remembered.isEmpty() ? QDir::homePath() : places.remembered);
                if (!chosen) break;
                if (HoldsSettings(*chosen)) return {*chosen, true};
                dialogs.showMessage(nullptr,
                                    QCoreApplication::translate("kalvera::StartDirectory",
                                                                "В каталоге %1 нет файла settings.")
                                        .arg(*chosen),
                                    ProgramTitle());
                break;
            }
        }
    }
}

bool WriteDemoArchive(const QString& dir, BackgroundWork& work, QString& error) {
    // The settings file holds its tokens apart by white space.
    if (dir.contains(QRegularExpression(QStringLiteral("\\s")))) {
        error = QCoreApplication::translate(
                    "kalvera::StartDirectory",
                    "Путь %1 содержит пробел, а в файле settings путь к архиву "
                    "пробела содержать не может. Выберите другой рабочий каталог.")
                    .arg(dir);
        return false;
    }
    demo::DemoOptions options;
    options.dir = QFile::encodeName(dir).toStdString();
    options.dataDir = demo::ShippedDataDir();
    // The likely failures are told here in the operator's words; the
    // generator's own messages are left for the rare rest.
    const QString shipped = QFile::decodeName(options.dataDir.c_str());
    if (!QFileInfo(shipped + QStringLiteral("/towns.txt")).isFile()) {
        error = QCoreApplication::translate(
                    "kalvera::StartDirectory",
                    "Не найдены файлы карты и пунктов, поставляемые с программой "
                    "(каталог %1). Переустановите программу.")
                    .arg(shipped);
        return false;
    }
    if (!QDir().mkpath(dir)) {
        error =
            QCoreApplication::translate("kalvera::StartDirectory", "Не удалось создать каталог %1.")
                .arg(dir);
        return false;
    }
    std::string reason;
    const auto progress = [&work](double done) {
        work.percent.store(static_cast<int>(done * 100.0));
    };
    if (!demo::PrepareStartDirectory(options, reason) ||
        demo::WriteHistory(options, systemClock().now(), reason, &work.cancel, progress) < 0) {
        error = QCoreApplication::translate(
                    "kalvera::StartDirectory",
                    "Не удалось создать демонстрационный архив в каталоге %1:\n%2")
                    .arg(dir, QString::fromStdString(reason));
        return false;
    }
    return true;
}

bool EnterStartDirectory(Dialogs& dialogs) {
    StartPlaces places;
    places.current = QDir::currentPath();
    places.remembered = UserSettings::value(QString::fromUtf8(kStartDirectoryKey)).toString();
    places.user = UserStartDirectory();
    const StartChoice choice = ChooseStartDirectory(places, dialogs, WriteDemoArchive);
    if (choice.directory.isEmpty()) return false;
    if (choice.remember)
        UserSettings::setValue(QString::fromUtf8(kStartDirectoryKey), choice.directory);
    if (!QDir::setCurrent(choice.directory)) {
        dialogs.showMessage(nullptr,
                            QCoreApplication::translate("kalvera::StartDirectory",
                                                        "Не удалось перейти в каталог %1.")
                                .arg(choice.directory),
                            ProgramTitle());
        return false;
    }
    return true;
}

}  // namespace kalvera
