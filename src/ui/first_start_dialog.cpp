#include "ui/first_start_dialog.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "demo/demo_generator.h"
#include "demo/demo_sites.h"
#include "render/translated_text.h"

namespace kalvera {

namespace {

QString Explanation(const QString& currentDir, const QString& userDir) {
    const QString where =
        currentDir == userDir
            ? QCoreApplication::translate("kalvera::FirstStartDialog",
                                          "Файла settings нет в каталоге пользователя\n%1.")
                  .arg(userDir)
            : QCoreApplication::translate(
                  "kalvera::FirstStartDialog",
                  "Файла settings нет ни в текущем каталоге\n%1,\nни в каталоге пользователя\n%2.")
                  .arg(currentDir, userDir);
    return QCoreApplication::translate(
               "kalvera::FirstStartDialog",
               "Программа читает настройки (файл settings) и карту (каталог res) из "
               "рабочего каталога. ") +
           where;
}

}  // namespace

FirstStartDialog::FirstStartDialog(const QString& currentDir, const QString& userDir,
                                   QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("%1 — первый запуск").arg(ProgramTitle()));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(tr("<b>Не найден файл settings</b>"), this);
    layout->addWidget(heading);
    auto* text = new QLabel(Explanation(currentDir, userDir), this);
    text->setWordWrap(true);
    // Wide enough for a path on a line; the window's height follows from it.
    text->setMinimumWidth(460);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    demoButton = addChoice(tr("Создать демонстрационный архив"),
                           // The count is the generator's own, never a word
                           // that drifts from what it writes.
                           tr("Записать в каталог пользователя синтетические данные "
                              "радиолокаторов (%1) за %2 дня и открыть их.")
                               .arg(demo::DemoSites().size())
                               .arg(demo::DemoOptions{}.days),
                           FirstStartAnswer::CreateDemo);
    chooseButton = addChoice(tr("Выбрать рабочий каталог…"),
                             tr("Указать существующий каталог с файлом settings. "
                                "Программа запомнит его для следующих запусков."),
                             FirstStartAnswer::ChooseDirectory);
    quitButton = addChoice(tr("Выход"), QString(), FirstStartAnswer::Quit);
    demoButton->setDefault(true);
    demoButton->setFocus();
}

QCommandLinkButton* FirstStartDialog::addChoice(const QString& text, const QString& description,
                                                FirstStartAnswer answer) {
    auto* button = new QCommandLinkButton(text, description, this);
    layout()->addWidget(button);
    connect(button, &QCommandLinkButton::clicked, this, [this, answer] {
        answer_ = answer;
        accept();
    });
    return button;
}

// The real start-up questions live beside the window they show.

FirstStartAnswer QtDialogs::askFirstStart(const QString& currentDir, const QString& userDir) {
    FirstStartDialog dialog(currentDir, userDir);
    dialog.exec();
    return dialog.answer();
}

std::optional<QString> QtDialogs::chooseDirectory(const QString& title, const QString& from) {
    const QString chosen = QFileDialog::getExistingDirectory(nullptr, title, from);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

bool QtDialogs::runInBackground(const QString& text,
                                const std::function<bool(BackgroundWork&)>& work) {
    BackgroundWork progress;
    bool result = false;
    // An exception must not cross the thread's edge, where it would end the
    // program without a word; it counts as a failure of the work.
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            result = work(progress);
        } catch (...) {
            result = false;
        }
    }));
    QProgressDialog window(text, QCoreApplication::translate("kalvera::FirstStartDialog", "Отмена"),
                           0, 100);
    window.setWindowTitle(ProgramTitle());
    window.setWindowModality(Qt::ApplicationModal);
    window.setAutoClose(false);
    window.setAutoReset(false);
    window.setMinimumDuration(0);
    // The work stops between two of its steps; until then the window is gone
    // and nothing more is shown.
    QObject::connect(&window, &QProgressDialog::canceled, &window,
                     [&progress] { progress.cancel.store(true); });
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &window,
                     [&] { window.setValue(progress.percent.load()); });
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    poll.start();
    window.show();
    loop.exec();
    thread->wait();
    return result && !progress.cancel.load();
}

}  // namespace kalvera
