#pragma once
// The program's icon on every window: the installed "kalvera" of the icon
// theme, else the copy built into the program, so that a run from the build
// tree or from a prefix the desktop does not search shows it too.

#include <QIcon>

namespace kalvera {

QIcon ApplicationIcon();

// Sets the icon of every window, and the desktop entry's name that lets a
// Wayland compositor find the same icon.
void SetApplicationIcon();

}  // namespace kalvera
