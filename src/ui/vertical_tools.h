#pragma once
// The picture's tools for a storm's depth: a right-button drag draws a line
// and opens its vertical section; Ctrl+click opens a point's history. The
// main window hands its mouse events here first.

#include <QPoint>

class QMouseEvent;
class QPainter;
class QWidget;

namespace kalvera {

struct ViewerState;
class SectionWindow;
class HistoryWindow;

class VerticalTools {
  public:
    VerticalTools(QWidget& window, const ViewerState& viewer);

    // True when the event was a tool's and the window's own handling must
    // not follow (a Ctrl+click, a right-button drag).
    bool press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    bool release(const QMouseEvent& event);
    // The line being drawn, over the window's picture.
    void paintLine(QPainter& painter) const;
    // The main window shows another term or frame.
    void termShown();
    // Opens the history of the point under a window position.
    void openHistory(QPoint at);

    SectionWindow* sectionWindow() const { return section_; }
    HistoryWindow* historyWindow() const { return history_; }

  private:
    bool insidePicture(QPoint at) const;
    float latAt(QPoint at) const;
    float lonAt(QPoint at) const;

    QWidget& window_;
    const ViewerState& viewer_;
    SectionWindow* section_ = nullptr;
    HistoryWindow* history_ = nullptr;
    bool dragging_ = false;
    bool ctrlClick_ = false;
    QPoint start_, end_;
};

}  // namespace kalvera
