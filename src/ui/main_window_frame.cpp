// The window's height once the window manager has framed it, the left
// column that scrolls where the screen is too short for it, and the
// bitmaps' density.

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "render/map_background.h"
#include "render/picture_render.h"
#include "ui/main_window.h"

namespace kalvera {

namespace {

// Below the loop panel, as above the first row of controls.
constexpr int kColumnBottomMargin = 5;
constexpr int kNarrowestBar = 6;

// The column's scroll bar fills the gap between the controls and the
// picture, so that it covers neither.
class GapScrollBar : public QScrollBar {
  public:
    explicit GapScrollBar(int width) : QScrollBar(Qt::Vertical), width_(width) {}
    QSize sizeHint() const override { return {width_, QScrollBar::sizeHint().height()}; }

  private:
    int width_;
};

}  // namespace

void TForm1::waitForFrame(int triesLeft) {
    // The frame arrives some time after the window is mapped, when the window
    // manager has put it in; without a window manager it never does.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.top() + frame.bottom() > 0) {
        fitToFrame(frame);
    } else if (triesLeft > 0) {
        QTimer::singleShot(kFrameQueryMs, this, [this, triesLeft] { waitForFrame(triesLeft - 1); });
    }
}

void TForm1::fitToFrame(QMargins frame) {
    // The picture geometry is computed once more, and then never again. The
    // grid in hand is drawn at the new size: nothing is decoded.
    viewer_.WindowDC.image = QImage();
    applyGeometry(screenSize_, frame);
    if (viewer_.pictureDrawn) DrawDecodedPicture(viewer_);
    FormPaint();
}

void TForm1::createColumn() {
    // Every control keeps its place in the column; only on a client area
    // lower than the column does the column scroll, under a bar of its own
    // between the controls and the picture, which stays put.
    columnArea_ = new QScrollArea(this);
    auto* column = new QWidget;
    int bottom = 0;
    int right = 0;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child == columnArea_ || child->isWindow()) continue;
        const bool shown = !child->isHidden();
        const QRect place = child->geometry();
        child->setParent(column);
        child->setGeometry(place);
        child->setVisible(shown);
        bottom = std::max(bottom, place.y() + place.height());
        right = std::max(right, place.x() + place.width());
    }
    // The column is as wide as what the bar leaves, so it never scrolls sideways.
    const int barWidth = std::max(kNarrowestBar, viewer_.layout.picture.left - right);
    column->resize(viewer_.layout.picture.left - barWidth, bottom + kColumnBottomMargin);
    // Both stay clear, so the column shows the window's own face colour
    // behind the controls, as it did without a scroll area.
    column->setAutoFillBackground(false);
    columnArea_->setWidget(column);
    columnArea_->viewport()->setAutoFillBackground(false);
    columnArea_->setFrameShape(QFrame::NoFrame);
    columnArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnArea_->setVerticalScrollBar(new GapScrollBar(barWidth));
    columnArea_->setFocusPolicy(Qt::NoFocus);
    // A control that takes the focus by the keys comes into view.
    connect(qApp, &QApplication::focusChanged, columnArea_, [this](QWidget*, QWidget* now) {
        if (now != nullptr && columnArea_->widget()->isAncestorOf(now)) {
            columnArea_->ensureWidgetVisible(now);
        }
    });
    fitColumn();
}

void TForm1::fitColumn() {
    if (columnArea_ == nullptr) return;
    columnArea_->setGeometry(0, 0, viewer_.layout.picture.left, height());
}

void TForm1::followScreenRatio() {
    if (pinnedRatio_ > 0.0 || devicePixelRatioF() == viewer_.deviceRatio) return;
    // A screen of another density: the bitmaps are made again at its ratio
    // and the grid in hand is drawn on them; nothing is decoded.
    viewer_.WindowDC.image = QImage();
    makeBitmaps();
    if (viewer_.pictureDrawn) {
        DrawDecodedPicture(viewer_);
    } else if (viewer_.mapDrawnFor.drawn) {
        UpdateMapBackground(viewer_);
    }
    selfUpdate_ = false;
    update();
}

}  // namespace kalvera
