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

namespace kalvera {

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
