#include "ui/exception_guard.h"

#include <QCoreApplication>

#include "ui/dialogs.h"

namespace kalvera {

QString ExceptionMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        const QString text = QString::fromLocal8Bit(e.what());
        if (!text.isEmpty()) return text;
    } catch (...) {
    }
    return QCoreApplication::translate("kalvera::ExceptionGuard", "Неизвестная ошибка");
}

ExceptionGuard::ExceptionGuard(Dialogs& dialogs, std::function<void(int)> quit)
    : dialogs_(dialogs), quit_(std::move(quit)) {}

int ExceptionGuard::run(const std::function<int()>& body) {
    try {
        const int status = body();
        return failed_ ? 1 : status;
    } catch (...) {
        report(std::current_exception());
        return 1;
    }
}

bool ExceptionGuard::deliver(const std::function<bool()>& delivery) {
    try {
        return delivery();
    } catch (...) {
        report(std::current_exception());
        if (quit_) quit_(1);
        return false;
    }
}

void ExceptionGuard::report(const std::exception_ptr& error) {
    // The box runs an event loop of its own; a second failure while it is
    // open only ends the program.
    if (failed_) return;
    failed_ = true;
    dialogs_.showError(ExceptionMessage(error));
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (guard_ == nullptr) return QApplication::notify(receiver, event);
    return guard_->deliver([&] { return QApplication::notify(receiver, event); });
}

}  // namespace kalvera
