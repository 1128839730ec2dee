#pragma once
// The program's own code throws nothing, but the libraries under it may
// (allocation, the standard library). Left alone, such an exception would end
// the program through std::terminate without a word. Here it is shown to the
// operator with its message, and the program ends with status 1.

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace kalvera {

class Dialogs;

// The text shown for an exception: its message, or a general one when it
// carries none.
QString ExceptionMessage(const std::exception_ptr& error);

class ExceptionGuard {
  public:
    // `quit` ends the event loop with the status it is given.
    ExceptionGuard(Dialogs& dialogs, std::function<void(int)> quit);

    // Runs the program's body and returns its status; 1 when it threw or when
    // an exception was reported while it ran.
    int run(const std::function<int()>& body);
    // Delivers one event. An exception is reported, the loop is asked to end
    // with status 1 and the event counts as not handled.
    bool deliver(const std::function<bool()>& delivery);
    bool failed() const { return failed_; }

  private:
    void report(const std::exception_ptr& error);

    Dialogs& dialogs_;
    std::function<void(int)> quit_;
    bool failed_ = false;
};

// An application whose every event passes the guard.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void setGuard(ExceptionGuard* guard) { guard_ = guard; }
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    ExceptionGuard* guard_ = nullptr;
};

}  // namespace kalvera
