#include "ui/tool_window.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kalvera {

namespace {

// Where `span` of `length` goes: `at` if it fits in [low, low + room), else
// moved inside, or to `low` where it cannot fit at all.
int Inside(int at, int length, int low, int room) {
    return std::max(low, std::min(at, low + room - length));
}

}  // namespace

void PlaceToolWindow(QWidget& window, const QWidget& owner, QSize wanted, QPoint keepVisible) {
    // Qt makes a child window transient only when its parent had a native
    // window at the time; the tools may be made before the main window shows.
    if (QWindow* above = owner.window()->windowHandle()) {
        window.winId();
        window.windowHandle()->setTransientParent(above);
    }
    const QScreen* screen = owner.screen();
    if (screen == nullptr) {
        window.resize(wanted);
        return;
    }
    const QRect free = screen->availableGeometry();
    const QRect inner = owner.geometry();
    const QRect outer = owner.frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QSize size =
        wanted.boundedTo(free.size().shrunkBy(frame)).expandedTo(window.minimumSize());
    window.resize(size);
    QRect placed(QPoint(), size.grownBy(frame));
    placed.moveCenter(outer.center());
    const bool pointLow = keepVisible.y() > free.center().y();
    const int top = pointLow ? free.top() : free.bottom() + 1 - placed.height();
    // A window's position is that of its frame.
    window.move(Inside(placed.left(), placed.width(), free.left(), free.width()),
                Inside(top, placed.height(), free.top(), free.height()));
}

}  // namespace kalvera
