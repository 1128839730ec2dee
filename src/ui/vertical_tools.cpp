#include "ui/vertical_tools.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include "render/viewer_state.h"
#include "ui/history_window.h"
#include "ui/section_window.h"

namespace kalvera {

namespace {
// A right-button press that moves less than this is a click, which pans as
// any click does.
constexpr int kDragPixels = 6;
}  // namespace

VerticalTools::VerticalTools(QWidget& window, const ViewerState& viewer)
    : window_(window), viewer_(viewer) {}

bool VerticalTools::insidePicture(QPoint at) const {
    const LayoutRect& area = viewer_.layout.picture;
    return at.x() >= area.left && at.x() <= area.right() && at.y() >= area.top &&
           at.y() <= area.bottom();
}

float VerticalTools::latAt(QPoint at) const {
    return viewer_.view.YToLat(static_cast<float>(at.y() - viewer_.layout.picture.top));
}

float VerticalTools::lonAt(QPoint at) const {
    return viewer_.view.XToLon(static_cast<float>(at.x() - viewer_.layout.picture.left));
}

bool VerticalTools::press(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    if (!insidePicture(at) || viewer_.display.messageOffset < 0) return false;
    if (event.modifiers() & Qt::ControlModifier) {
        ctrlPressed_ = event.button();
        return true;
    }
    if (event.button() == Qt::RightButton) {
        dragging_ = true;
        start_ = end_ = at;
    }
    return false;
}

void VerticalTools::move(const QMouseEvent& event) {
    if (!dragging_) return;
    end_ = event.position().toPoint();
    window_.update();
}

bool VerticalTools::release(const QMouseEvent& event) {
    if (ctrlPressed_ != Qt::NoButton && event.button() == ctrlPressed_) {
        ctrlPressed_ = Qt::NoButton;
        if (event.button() == Qt::LeftButton) openHistory(event.position().toPoint());
        return true;
    }
    if (!dragging_ || event.button() != Qt::RightButton) return false;
    dragging_ = false;
    end_ = event.position().toPoint();
    window_.update();
    if ((end_ - start_).manhattanLength() < kDragPixels || !insidePicture(end_)) return false;
    window_.unsetCursor();
    if (!section_) section_ = new SectionWindow(viewer_.config, &window_);
    section_->showLine(viewer_.display, {latAt(start_), lonAt(start_)}, {latAt(end_), lonAt(end_)});
    return true;
}

bool VerticalTools::contextMenu(const QContextMenuEvent& event) {
    // A plain right click pans as any click does, and a right drag draws.
    if (event.reason() == QContextMenuEvent::Mouse && !(event.modifiers() & Qt::ControlModifier))
        return false;
    if (!insidePicture(event.pos()) || viewer_.display.messageOffset < 0) return false;
    if (!menu_) {
        menu_ = new QMenu(&window_);
        menu_->addAction(QStringLiteral("История точки"), &window_,
                         [this] { openHistory(menuPoint_); });
    }
    menuPoint_ = event.pos();
    menu_->popup(event.globalPos());
    return true;
}

void VerticalTools::openHistory(QPoint at) {
    if (!insidePicture(at) || viewer_.display.messageOffset < 0) return;
    if (!history_) history_ = new HistoryWindow(viewer_.config, &window_);
    if (!history_->showPoint(viewer_.display, latAt(at), lonAt(at))) {
        QMessageBox::warning(&window_, history_->windowTitle(),
                             QStringLiteral("Не удалось прочитать индексный файл ") +
                                 QString::fromStdString(viewer_.display.indexPath));
    }
}

void VerticalTools::paintLine(QPainter& painter) const {
    if (!dragging_) return;
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawLine(start_, end_);
}

void VerticalTools::termShown() {
    if (section_ && section_->isVisible()) section_->followTerm(viewer_.display);
    if (history_) history_->followTerm(viewer_.display);
}

}  // namespace kalvera
