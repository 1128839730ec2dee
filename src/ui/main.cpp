// Program entry: builds the main window and the date picker and runs the loop.

#include <cstdio>
#include <cstring>

#include "common/clock.h"
#include "manual/manual_page.h"
#include "ui/application_icon.h"
#include "ui/calendar_form.h"
#include "ui/dialogs.h"
#include "ui/exception_guard.h"
#include "ui/main_window.h"
#include "ui/qt_translations.h"
#include "ui/start_directory.h"

#ifndef KALVERA_VERSION
#define KALVERA_VERSION "unknown"
#endif

namespace {

int RunViewer(kalvera::QtDialogs& dialogs) {
    if (!kalvera::EnterStartDirectory(dialogs)) return 0;
    kalvera::TForm1 window(dialogs, kalvera::systemClock());
    if (!window.started()) {
        // Without its settings the viewer has nothing to show.
        dialogs.showMessage(nullptr, QString::fromStdString(window.startError()),
                            window.windowTitle());
        return 1;
    }
    if (window.endRequested()) return window.exitCode();
    kalvera::TcalendarForm picker(window.viewer().config, window.display(), &window);
    calendarForm = &picker;
    window.show();
    const int status = QApplication::exec();
    calendarForm = nullptr;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kalvera %s\n", KALVERA_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kalvera::manual::UsageText(kalvera::manual::ViewerPage()).c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    kalvera::GuardedApplication app(argc, argv);
    kalvera::InstallTranslations(app);
    kalvera::SetApplicationIcon();
    kalvera::QtDialogs dialogs;
    kalvera::ExceptionGuard guard(dialogs, [](int status) { QCoreApplication::exit(status); });
    app.setGuard(&guard);
    return guard.run([&dialogs] { return RunViewer(dialogs); });
}
