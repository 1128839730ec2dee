#include "ui/dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

#include "common/domain_constants.h"
#include "render/canvas.h"
#include "render/translated_text.h"
#include "ui/user_settings.h"

namespace kalvera {

namespace {
const QString kSaveFolderKey = QStringLiteral("save/folder");
}  // namespace

std::optional<QString> ChooseSaveFile(Dialogs& dialogs, QWidget* parent, SaveDialogOptions options,
                                      const QString& name) {
    const QString folder = UserSettings::value(kSaveFolderKey).toString();
    // A folder since removed or unmounted leaves the choice to the dialog.
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) options.directory = folder;
    options.proposedName = name;
    const std::optional<QString> chosen = dialogs.chooseSaveFile(parent, options);
    if (chosen) UserSettings::setValue(kSaveFolderKey, QFileInfo(*chosen).absolutePath());
    return chosen;
}

QString ProposedFileName(const std::string& site, const std::string& day, const std::string& term,
                         const std::string& what) {
    std::string time = term;
    std::erase(time, '.');
    QStringList parts;
    for (const std::string& part : {site, day, time, what}) {
        if (!part.empty()) parts << QString::fromStdString(part);
    }
    return parts.join(QLatin1Char('_'));
}

void ShowSaveFailure(Dialogs& dialogs, QWidget* parent, const QString& path,
                     const std::string& reason, const QString& title) {
    dialogs.showMessage(
        parent,
        QCoreApplication::translate("kalvera::Dialogs", "Не удалось сохранить файл ") + path +
            "\n" + QString::fromStdString(reason),
        title);
}

void QtDialogs::showMessage(QWidget* parent, const QString& text, const QString& title) {
    // An empty title would make the window system show the program's file
    // name there; a blank one leaves the title bar as empty as it was meant.
    const QString shown = title.isEmpty() ? QStringLiteral(" ") : title;
    QMessageBox box(QMessageBox::NoIcon, shown, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogs::showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, ProgramTitle(), text, QMessageBox::Ok);
    box.exec();
}

std::optional<uint32_t> QtDialogs::chooseColour(QWidget* parent, uint32_t initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

std::optional<QString> QtDialogs::chooseSaveFile(QWidget* parent,
                                                 const SaveDialogOptions& options) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setNameFilters(options.fileTypes);
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& type) {
            const qsizetype star = type.indexOf(QLatin1String("*."));
            if (star < 0) return;
            const qsizetype end = type.indexOf(QRegularExpression(QStringLiteral("[ )]")), star);
            dialog.setDefaultSuffix(type.mid(star + 2, end < 0 ? -1 : end - star - 2));
        });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(options.resizable);
    if (!options.directory.isEmpty()) dialog.setDirectory(options.directory);
    if (!options.proposedName.isEmpty()) {
        dialog.selectFile(options.proposedName + QLatin1Char('.') + options.defaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

bool QtDialogs::setUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::runModal(QDialog& dialog) {
    dialog.exec();
}

}  // namespace kalvera
