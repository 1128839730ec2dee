#pragma once
// Every modal dialog and message box of the main window goes through this one
// seam, so that tests can answer them without a person and without blocking.

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QDialog;
class QPrinter;
class QWidget;

namespace kalvera {

// The save dialog's settings as the form describes them.
struct SaveDialogOptions {
    QString defaultSuffix = QStringLiteral("jpg");
    bool confirmOverwrite = true;
    bool hideReadOnly = true;
    bool resizable = true;
    // File types offered, the first one chosen at the start. Each is
    // "Name (*.suffix ...)"; choosing one makes its first suffix the one a
    // bare name receives.
    QStringList fileTypes = {QStringLiteral("JPEG (*.jpg *.jpeg)"),
                             QStringLiteral("GeoTIFF (*.tif *.tiff)"),
                             QStringLiteral("KMZ (*.kmz)"), QStringLiteral("GeoJSON (*.geojson)")};
    // The folder the dialog opens in and the name it proposes, without its
    // suffix; empty: the dialog's own choice.
    QString directory;
    QString proposedName;
};

// What the operator answers at a first start, when no start directory holds
// a settings file.
enum class FirstStartAnswer { CreateDemo, ChooseDirectory, Quit };

// Work that runs off the GUI thread while a window shows how far it has got:
// the work raises `percent` (0 to 100) and stops early once `cancel` is set.
struct BackgroundWork {
    std::atomic<int> percent{0};
    std::atomic<bool> cancel{false};
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& text, const QString& title) = 0;
    // The error box of a failure the program cannot go on from.
    virtual void showError(const QString& text) { showMessage(nullptr, text, QString()); }
    // The colour dialog; the chosen colour (0x00BBGGRR) or nothing when cancelled.
    virtual std::optional<uint32_t> chooseColour(QWidget* parent, uint32_t initial) = 0;
    // The save-file dialog; the chosen path (with the default suffix added when
    // the name has none) or nothing when cancelled.
    virtual std::optional<QString> chooseSaveFile(QWidget* parent,
                                                  const SaveDialogOptions& options) = 0;
    // The print dialog: true when the operator confirmed; `printer` then
    // carries the choices made.
    virtual bool setUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows the date picker modally and returns when it is closed.
    virtual void runModal(QDialog& dialog) = 0;

    // The start-up questions. Without a person to ask, the program does not
    // start: no directory is chosen and the first start is left.
    //
    // The first-start window: `currentDir` and `userDir` are the places
    // searched in vain; the demo archive would be written into `userDir`.
    virtual FirstStartAnswer askFirstStart(const QString& /*currentDir*/,
                                           const QString& /*userDir*/) {
        return FirstStartAnswer::Quit;
    }
    // An existing directory; nothing when cancelled.
    virtual std::optional<QString> chooseDirectory(const QString& /*title*/,
                                                   const QString& /*from*/) {
        return std::nullopt;
    }
    // Runs `work` and returns its result, false also when the operator
    // cancelled it. A window with `text` shows its progress meanwhile.
    virtual bool runInBackground(const QString& /*text*/,
                                 const std::function<bool(BackgroundWork&)>& work) {
        BackgroundWork progress;
        return work(progress);
    }
};

// The save dialog, opened in the folder last saved to and proposing `name`.
// The folder of the file chosen becomes the one the next save dialog opens in:
// a preference of the user's, kept between runs.
std::optional<QString> ChooseSaveFile(Dialogs& dialogs, QWidget* parent, SaveDialogOptions options,
                                      const QString& name);

// A name for a saved file from what it holds: site, day, term (without its
// dot) and `what` (a layer name, a product), joined by '_'; empty parts are
// left out. "27612_261207_1200_3".
QString ProposedFileName(const std::string& site, const std::string& day, const std::string& term,
                         const std::string& what);

// "Не удалось сохранить файл PATH" and the reason, in a message box.
void ShowSaveFailure(Dialogs& dialogs, QWidget* parent, const QString& path,
                     const std::string& reason, const QString& title);

// The real dialogs.
class QtDialogs : public Dialogs {
  public:
    void showMessage(QWidget* parent, const QString& text, const QString& title) override;
    void showError(const QString& text) override;
    std::optional<uint32_t> chooseColour(QWidget* parent, uint32_t initial) override;
    std::optional<QString> chooseSaveFile(QWidget* parent,
                                          const SaveDialogOptions& options) override;
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;
    void runModal(QDialog& dialog) override;
    FirstStartAnswer askFirstStart(const QString& currentDir, const QString& userDir) override;
    std::optional<QString> chooseDirectory(const QString& title, const QString& from) override;
    bool runInBackground(const QString& text,
                         const std::function<bool(BackgroundWork&)>& work) override;
};

}  // namespace kalvera
