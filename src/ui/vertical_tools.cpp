#include "ui/vertical_tools.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include "render/viewer_state.h"
#include "ui/dialogs.h"
#include "ui/history_window.h"
#include "ui/section_window.h"

namespace kalvera {

namespace {
// A right-button press that moves less than this is a click, which pans as
// any click does.
constexpr int kDragPixels = 6;
}  // namespace

VerticalTools::VerticalTools(QWidget& window, const ViewerState& viewer, Dialogs& dialogs)
    : window_(window), viewer_(viewer), dialogs_(dialogs) {}

bool VerticalTools::onPicture(QPoint at) const {
    return viewer_.layout.picture.contains(at.x(), at.y()) && viewer_.display.messageOffset >= 0;
}

GeoPoint VerticalTools::pointAt(QPoint at) const {
    return viewer_.pointAt(at.x(), at.y());
}

bool VerticalTools::press(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    if (!onPicture(at)) return false;
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
    if ((end_ - start_).manhattanLength() < kDragPixels || !onPicture(end_)) return false;
    window_.unsetCursor();
    if (!section_) section_ = new SectionWindow(viewer_.config, dialogs_, &window_);
    section_->showLine(viewer_.display, pointAt(start_), pointAt(end_));
    return true;
}

bool VerticalTools::contextMenu(const QContextMenuEvent& event) {
    // A plain right click pans as any click does, and a right drag draws.
    if (event.reason() == QContextMenuEvent::Mouse && !(event.modifiers() & Qt::ControlModifier))
        return false;
    if (!onPicture(event.pos())) return false;
    if (!menu_) {
        menu_ = new QMenu(&window_);
        menu_->addAction(QCoreApplication::translate("kalvera::VerticalTools", "История точки"),
                         &window_, [this] { openHistory(menuPoint_); });
    }
    menuPoint_ = event.pos();
    menu_->popup(event.globalPos());
    return true;
}

void VerticalTools::openHistory(QPoint at) {
    if (!onPicture(at)) return;
    if (!history_) history_ = new HistoryWindow(viewer_.config, dialogs_, &window_);
    const GeoPoint point = pointAt(at);
    if (!history_->showPoint(viewer_.display, point.lat, point.lon)) {
        dialogs_.showMessage(&window_,
                             QCoreApplication::translate("kalvera::VerticalTools",
                                                         "Не удалось прочитать индексный файл ") +
                                 QString::fromStdString(viewer_.display.indexPath),
                             history_->windowTitle());
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
