#include "ui/window_keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "common/domain_constants.h"
#include "geo/view_zoom.h"
#include "ui/loop_controller.h"
#include "ui/loop_panel.h"
#include "ui/main_window.h"
#include "ui/nowcast_tools.h"
#include "ui/term_steps.h"
#include "ui/vertical_tools.h"

namespace kalvera {

namespace {

constexpr int kNotch = 120;  // eighths of a degree

bool IsNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

}  // namespace

WindowKeys::WindowKeys(TForm1& form, LoopController& loop)
    : QObject(&form), form_(form), loop_(loop) {
    qApp->installEventFilter(this);
    // Until the operator clicks a control, the keys go to the window; a
    // click on the picture brings them back there.
    form.setFocusPolicy(Qt::ClickFocus);
    form.setFocus();
}

QString WindowKeys::Help() {
    const QString mouse =
        tr("\nF5  к последнему сроку станции из любого дня\n"
           "F6  прогноз: контуры через 10, 20, 30 мин, ячейки и их пути; петля идет дальше "
           "в кадры прогноза\n"
           "F7  таблица ячеек срока\n"
           "F8  сводная карта всех станций"
           "\n\nМышь:\n"
           "Щелчок по карте  центр карты в эту точку\n"
           "Протяжка правой кнопкой  вертикальный разрез по линии\n"
           "Ctrl+щелчок  история точки за день\n"
           "Ctrl+правый щелчок, клавиша меню  меню карты\n"
           "Двойной щелчок по легенде  цвет класса");
    return LoopPanel::KeysHelp() + mouse;
}

void WindowKeys::ShowHelp(TForm1& form) {
    if (form.loop == nullptr) return;
    QWidget* panel = form.loop->panel();
    QToolTip::showText(panel->mapToGlobal(QPoint(0, 0)), Help(), panel);
}

bool WindowKeys::FocusedControlUsesKey(const QWidget* focus, int key) {
    for (const QWidget* w = focus; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(w) != nullptr ||
            qobject_cast<const QScrollBar*>(w) != nullptr) {
            return IsNavigationKey(key);
        }
        if (qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
            qobject_cast<const QLineEdit*>(w) != nullptr) {
            return IsNavigationKey(key) || key == Qt::Key_Plus || key == Qt::Key_Minus ||
                   key == Qt::Key_Space;
        }
        if (qobject_cast<const QAbstractButton*>(w) != nullptr) return key == Qt::Key_Space;
    }
    return false;
}

bool WindowKeys::press(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            loop_.step(key == Qt::Key_Left ? -1 : +1);
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            loop_.halt();
            ChooseDayEnd(form_, key == Qt::Key_End);
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            loop_.halt();
            StepDay(form_, key == Qt::Key_PageUp ? -1 : +1);
            return true;
        case Qt::Key_Space:
            loop_.playPause();
            return true;
        case Qt::Key_Escape:
            loop_.stop();
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // "+" without the shift key
            StepScale(form_, -1);
            return true;
        case Qt::Key_Minus:
            StepScale(form_, +1);
            return true;
        case Qt::Key_F1:
            ShowHelp(form_);
            return true;
        case Qt::Key_F5:
            loop_.halt();
            ChooseNewestTerm(form_);
            return true;
        case Qt::Key_F6:
            if (form_.nowcast) form_.nowcast->toggleOverlay();
            return true;
        case Qt::Key_F7:
            if (form_.nowcast) form_.nowcast->openTable();
            return true;
        case Qt::Key_F8:
            if (form_.vertical) form_.vertical->openMosaic();
            return true;
        default:
            return false;
    }
}

void WindowKeys::wheel(int x, int y, int notches) {
    QScrollBar* bar = form_.controls().scaleScrollBar;
    const int target =
        std::clamp(bar->value() - notches * bar->singleStep(), bar->minimum(), bar->maximum());
    if (target == bar->value()) return;
    ViewerState& viewer = form_.viewer();
    const LayoutRect& area = viewer.layout.picture;
    if (viewer.view.width > 0.0f) {
        const auto px = static_cast<float>(x - area.left);
        const auto py = static_cast<float>(y - area.top);
        DisplayState& d = viewer.display;
        CentreKeepingPoint(viewer.view.width, px, py, viewer.view.YToLat(py),
                           viewer.view.XToLon(px), HalfExtentKmOfScale(target), d.viewLat,
                           d.viewLon);
    }
    // The scale bar's handler draws the view about its new centre.
    bar->setValue(target);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &form_) return false;
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return false;
        }
        if (FocusedControlUsesKey(QApplication::focusWidget(), key->key())) return false;
        return press(key->key());
    }
    if (event->type() == QEvent::Wheel && widget == &form_) {
        const auto* turn = static_cast<QWheelEvent*>(event);
        const QPoint at = turn->position().toPoint();
        if (!form_.viewer().layout.picture.contains(at.x(), at.y())) return false;
        wheelRest_ += turn->angleDelta().y();
        const int notches = wheelRest_ / kNotch;
        wheelRest_ -= notches * kNotch;
        if (notches != 0) wheel(at.x(), at.y(), notches);
        return true;
    }
    return false;
}

}  // namespace kalvera
