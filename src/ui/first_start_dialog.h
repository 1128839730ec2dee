#pragma once
// The window a first start shows when neither the working directory nor the
// user's start directory holds a settings file: write the demo archive into
// the user's directory, choose an existing start directory, or quit.

#include <QDialog>

#include "ui/dialogs.h"

class QCommandLinkButton;

namespace kalvera {

class FirstStartDialog : public QDialog {
    Q_OBJECT

  public:
    FirstStartDialog(const QString& currentDir, const QString& userDir, QWidget* parent = nullptr);

    // Quit until a button is pressed; the close box and Escape quit too.
    FirstStartAnswer answer() const { return answer_; }

    QCommandLinkButton* demoButton = nullptr;
    QCommandLinkButton* chooseButton = nullptr;
    QCommandLinkButton* quitButton = nullptr;

  private:
    QCommandLinkButton* addChoice(const QString& text, const QString& description,
                                  FirstStartAnswer answer);

    FirstStartAnswer answer_ = FirstStartAnswer::Quit;
};

}  // namespace kalvera
