#pragma once
// The windows that the picture's tools open (section, point history) belong
// to the main window: they are created as its children, which makes them
// transient for it, so the window manager keeps them above it. Each opens
// sized and placed to fit the screen the main window is on.

#include <QPoint>
#include <QSize>
#include <Qt>

class QWidget;

namespace kalvera {

// The tools' windows are of the dialog type: window systems keep a window
// above the one it is transient for only for the transient types, and a
// normal window is not one of them. They keep the buttons of a normal window.
inline const Qt::WindowFlags kToolWindowFlags =
    Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// Sizes `window` to `wanted`, smaller where the free area of the screen
// `owner` is on is smaller, and places it, frame included, inside that area
// across the middle of `owner`: at the top or the bottom, whichever leaves
// `keepVisible` (global position: what the window shows, on the owner's
// picture) uncovered. The frame is taken to be as large as the owner's.
void PlaceToolWindow(QWidget& window, const QWidget& owner, QSize wanted, QPoint keepVisible);

}  // namespace kalvera
