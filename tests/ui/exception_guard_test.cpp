// An exception that reaches the program entry or the event loop is shown in
// an error box and ends the program with status 1.

#include "ui/exception_guard.h"

#include <QEvent>
#include <stdexcept>

#include "ui/navigation_fixture.h"

namespace kalvera::navtest {

namespace {

struct Thrower : QObject {
    bool event(QEvent*) override { throw std::runtime_error("нет памяти для карты"); }
};

}  // namespace

TEST(ExceptionGuardTest, RunReportsWhatTheBodyThrowsAndEndsWithOne) {
    const struct {
        const char* name;
        std::function<int()> body;
        int status;
        std::vector<QString> shown;
    } rows[] = {
        {"normal end", [] { return 0; }, 0, {}},
        {"own status", [] { return 3; }, 3, {}},
        {"std exception", []() -> int { throw std::runtime_error("диск"); }, 1, {"диск"}},
        {"anything else", []() -> int { throw 42; }, 1, {"Неизвестная ошибка"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedDialogs dialogs;
        ExceptionGuard guard(dialogs, nullptr);
        EXPECT_EQ(guard.run(row.body), row.status);
        EXPECT_EQ(dialogs.messages, row.shown);
    }
}

TEST(ExceptionGuardTest, AnEventHandlerThatThrowsEndsTheLoopWithOneAfterOneBox) {
    EnsureApplication();
    ScriptedDialogs dialogs;
    std::vector<int> quits;
    ExceptionGuard guard(dialogs, [&](int status) { quits.push_back(status); });
    Thrower receiver;
    QEvent event(QEvent::User);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(guard.deliver([&] { return QCoreApplication::sendEvent(&receiver, &event); }));
    }
    EXPECT_EQ(dialogs.messages, std::vector<QString>{"нет памяти для карты"});
    EXPECT_EQ(quits, (std::vector<int>{1, 1}));
    EXPECT_EQ(guard.run([] { return 0; }), 1);
}

}  // namespace kalvera::navtest
