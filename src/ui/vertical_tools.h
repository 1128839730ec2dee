#pragma once
// The picture's tools for a storm's depth: a right-button drag draws a line
// and opens its vertical section. The main window hands its mouse events here
// first.

#include <QPoint>

class QMouseEvent;
class QPainter;
class QWidget;

namespace kalvera {

struct ViewerState;
class SectionWindow;

class VerticalTools {
  public:
    VerticalTools(QWidget& window, const ViewerState& viewer);

    // True when the event was a tool's and the window's own handling must
    // not follow (a right-button drag).
    bool press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    bool release(const QMouseEvent& event);
    // The line being drawn, over the window's picture.
    void paintLine(QPainter& painter) const;
    // The main window shows another term or frame.
    void termShown();

    SectionWindow* sectionWindow() const { return section_; }

  private:
    bool insidePicture(QPoint at) const;
    float latAt(QPoint at) const;
    float lonAt(QPoint at) const;

    QWidget& window_;
    const ViewerState& viewer_;
    SectionWindow* section_ = nullptr;
    bool dragging_ = false;
    QPoint start_, end_;
};

}  // namespace kalvera
