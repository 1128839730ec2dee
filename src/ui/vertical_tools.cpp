#include "ui/vertical_tools.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "render/section_render.h"
#include "render/viewer_state.h"
#include "ui/colour_menu.h"
#include "ui/dialogs.h"
#include "ui/history_window.h"
#include "ui/loop_controller.h"
#include "ui/main_window.h"
#include "ui/mosaic_window.h"
#include "ui/nowcast_tools.h"
#include "ui/section_window.h"
#include "ui/term_steps.h"
#include "ui/window_keys.h"

namespace kalvera {

namespace {
// A right-button press that moves less than this is a click, which pans as
// any click does.
constexpr int kDragPixels = 6;
}  // namespace

VerticalTools::VerticalTools(TForm1& window, const ViewerState& viewer, Dialogs& dialogs)
    : window_(window), viewer_(viewer), dialogs_(dialogs) {}

bool VerticalTools::onPicture(QPoint at) const {
    return viewer_.layout.picture.contains(at.x(), at.y()) && viewer_.display.messageOffset >= 0;
}

GeoPoint VerticalTools::pointAt(QPoint at) const {
    return viewer_.pointAt(at.x(), at.y());
}

QPointF VerticalTools::windowPointOf(GeoPoint point) const {
    return {viewer_.layout.picture.left + viewer_.view.LonToX(point.lon),
            viewer_.layout.picture.top + viewer_.view.LatToY(point.lat)};
}

bool VerticalTools::press(const QMouseEvent& event) {
    // The click that ends a line begun from the menu is the line's alone.
    if (lineFromMenu_) return true;
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
    if (lineFromMenu_) {
        lineFromMenu_ = false;
        endLine(event.position().toPoint());
        return true;
    }
    if (ctrlPressed_ != Qt::NoButton && event.button() == ctrlPressed_) {
        ctrlPressed_ = Qt::NoButton;
        if (event.button() == Qt::LeftButton) openHistory(event.position().toPoint());
        return true;
    }
    if (!dragging_ || event.button() != Qt::RightButton) return false;
    const QPoint at = event.position().toPoint();
    if ((at - start_).manhattanLength() < kDragPixels) {
        dragging_ = false;
        window_.update();
        return false;
    }
    endLine(at);
    return true;
}

void VerticalTools::startLine(QPoint at) {
    if (!onPicture(at)) return;
    lineFromMenu_ = true;
    dragging_ = true;
    start_ = end_ = at;
    window_.update();
}

void VerticalTools::endLine(QPoint at) {
    dragging_ = false;
    end_ = at;
    window_.update();
    window_.unsetCursor();
    if ((end_ - start_).manhattanLength() < kDragPixels || !onPicture(end_)) return;
    if (!section_) {
        section_ = new SectionWindow(viewer_.config, dialogs_, &window_);
        QObject::connect(section_, &SectionWindow::hidden, &window_, [this] { window_.update(); });
    }
    section_->showLine(viewer_.display, pointAt(start_), pointAt(end_),
                       window_.mapToGlobal((start_ + end_) / 2));
}

void VerticalTools::createMenu() {
    menu_ = new QMenu(&window_);
    // Every tool of the picture, with the mouse gesture or key that does
    // the same without the menu.
    menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "История точки\tCtrl+щелчок"),
        &window_, [this] { openHistory(menuPoint_); });
    menu_->addAction(QCoreApplication::translate("kalvera::VerticalTools",
                                                 "Разрез отсюда\tпротяжка правой кнопкой"),
                     &window_, [this] { startLine(menuPoint_); });
    menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "Центр карты сюда\tщелчок"), &window_,
        [this] {
            window_.FormMouseDown(Qt::LeftButton, menuPoint_.x(), menuPoint_.y());
            window_.FormMouseUp(Qt::LeftButton, menuPoint_.x(), menuPoint_.y());
        });
    menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "Крупнее\t+, колесо от себя"),
        &window_, [this] { StepScale(window_, -1); });
    menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "Мельче\t−, колесо к себе"), &window_,
        [this] { StepScale(window_, +1); });
    menu_->addAction(QCoreApplication::translate("kalvera::VerticalTools", "Сводная карта\tF8"),
                     &window_, [this] { openMosaic(); });
    menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "К последнему сроку\tF5"), &window_,
        [this] {
            if (window_.loop) window_.loop->halt();
            ChooseNewestTerm(window_);
        });
    menu_->addSeparator();
    QAction* overlay = menu_->addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "Прогноз и ячейки на карте\tF6"),
        &window_, [this] {
            if (window_.nowcast) window_.nowcast->toggleOverlay();
        });
    // F6 turns it on and off behind the menu's back: the mark is read anew
    // each time the menu opens.
    overlay->setCheckable(true);
    QObject::connect(menu_, &QMenu::aboutToShow, &window_, [this, overlay] {
        overlay->setChecked(window_.nowcast != nullptr && window_.nowcast->overlayShown());
    });
    menu_->addAction(QCoreApplication::translate("kalvera::VerticalTools", "Таблица ячеек\tF7"),
                     &window_, [this] {
                         if (window_.nowcast) window_.nowcast->openTable();
                     });
    menu_->addSeparator();
    AddColourMenus(*menu_, window_, dialogs_);
    menu_->addSeparator();
    menu_->addAction(QCoreApplication::translate("kalvera::VerticalTools", "Клавиши и мышь\tF1"),
                     &window_, [this] { WindowKeys::ShowHelp(window_); });
}

bool VerticalTools::contextMenu(const QContextMenuEvent& event) {
    // A plain right click pans as any click does, and a right drag draws.
    if (event.reason() == QContextMenuEvent::Mouse && !(event.modifiers() & Qt::ControlModifier))
        return false;
    // The menu key reports the window's middle; the operator means the point
    // under the mouse.
    const QPoint at = event.reason() == QContextMenuEvent::Keyboard
                          ? window_.mapFromGlobal(QCursor::pos())
                          : event.pos();
    if (!onPicture(at)) return false;
    if (!menu_) createMenu();
    menuPoint_ = at;
    menu_->popup(window_.mapToGlobal(at));
    return true;
}

void VerticalTools::openHistory(QPoint at) {
    if (!onPicture(at)) return;
    if (!history_) history_ = new HistoryWindow(viewer_.config, dialogs_, &window_);
    const GeoPoint point = pointAt(at);
    if (!history_->showPoint(viewer_.display, point.lat, point.lon, window_.mapToGlobal(at))) {
        dialogs_.showMessage(&window_,
                             QCoreApplication::translate("kalvera::VerticalTools",
                                                         "Не удалось прочитать индексный файл ") +
                                 QString::fromStdString(viewer_.display.indexPath),
                             history_->windowTitle());
    }
}

void VerticalTools::paintLine(QPainter& painter) const {
    GeoPoint from, to;
    QPointF a, b;
    if (dragging_) {
        a = start_;
        b = end_;
    } else if (section_ && section_->isVisible() && section_->line(from, to)) {
        a = windowPointOf(from);
        b = windowPointOf(to);
    } else {
        return;
    }
    const LayoutRect& area = viewer_.layout.picture;
    painter.save();
    painter.setClipRect(area.left, area.top, area.width, area.height, Qt::IntersectClip);
    DrawSectionLine(painter, a, b);
    painter.restore();
}

void VerticalTools::openMosaic() {
    if (viewer_.display.dayName.empty()) return;
    if (!mosaic_) {
        mosaic_ = new MosaicWindow(viewer_.config, &window_);
        mosaic_->setForecastLead(
            [this] { return window_.nowcast ? window_.nowcast->forecastLead() : 0; });
        mosaic_->setPictureMenu(&dialogs_,
                                [this](QMenu& menu) { AddColourMenus(menu, window_, dialogs_); });
        QObject::connect(mosaic_, &MosaicWindow::siteWanted, &window_,
                         [this](const QString& code) { window_.openSite(code.toStdString()); });
    }
    mosaic_->open(viewer_.display);
}

void VerticalTools::termShown() {
    if (section_ && section_->isVisible()) section_->followTerm(viewer_.display);
    if (mosaic_ && mosaic_->isVisible()) mosaic_->followTerm(viewer_.display);
    if (history_) history_->followTerm(viewer_.display);
}

void VerticalTools::coloursChanged() {
    for (QWidget* tool : {static_cast<QWidget*>(section_), static_cast<QWidget*>(history_)}) {
        if (tool == nullptr || !tool->isVisible()) continue;
        tool->update();
        for (QWidget* child : tool->findChildren<QWidget*>()) child->update();
    }
}

}  // namespace kalvera
