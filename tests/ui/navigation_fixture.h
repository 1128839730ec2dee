#pragma once
// Helpers shared by the navigation, picture-control and date-picker tests.

#include <QApplication>

namespace kalvera {

// One application object for the whole test program, whichever test needs it
// first.
inline void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "kalvera_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

}  // namespace kalvera
