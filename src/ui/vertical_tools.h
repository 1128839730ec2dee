#pragma once
// The picture's tools for a storm's depth: a right-button drag draws a line
// and opens its vertical section; Ctrl+click, or the context menu's item,
// opens the point's history over the day. The main window hands its mouse
// and context-menu events here first, and lets the line of an open section
// be drawn over its picture.

#include <QPoint>

#include "geo/map_resources.h"

class QContextMenuEvent;
class QMenu;
class QMouseEvent;
class QPainter;

namespace kalvera {

struct ViewerState;
class Dialogs;
class HistoryWindow;
class MosaicWindow;
class SectionWindow;
class TForm1;

class VerticalTools {
  public:
    VerticalTools(TForm1& window, const ViewerState& viewer, Dialogs& dialogs);

    // True when the event was a tool's and the window's own handling must
    // not follow (a right-button drag).
    bool press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    bool release(const QMouseEvent& event);
    // Ctrl+right click or the menu key over the picture: the picture's menu,
    // for the point under the mouse. True when the event was the picture's.
    bool contextMenu(const QContextMenuEvent& event);
    // The line being drawn, or that of the open section, over the window's
    // picture.
    void paintLine(QPainter& painter) const;
    // The main window shows another term or frame.
    void termShown();
    // Another colour table or opacity was chosen: the open windows redraw.
    void coloursChanged();

    // The history of the point at window position `at` over the shown day.
    void openHistory(QPoint at);
    // A section line from window position `at`: it follows the mouse and
    // ends at the next click.
    void startLine(QPoint at);

    // The composite of every site ("Сводная карта", F8) over the shown term.
    void openMosaic();

    SectionWindow* sectionWindow() const { return section_; }
    MosaicWindow* mosaicWindow() const { return mosaic_; }
    HistoryWindow* historyWindow() const { return history_; }
    QMenu* pictureMenu() const { return menu_; }

  private:
    // Inside the picture, and a picture is shown.
    bool onPicture(QPoint at) const;
    GeoPoint pointAt(QPoint at) const;
    QPointF windowPointOf(GeoPoint point) const;
    // Opens the section of the line drawn, if it is one.
    void endLine(QPoint at);
    void createMenu();

    TForm1& window_;
    const ViewerState& viewer_;
    Dialogs& dialogs_;
    SectionWindow* section_ = nullptr;
    HistoryWindow* history_ = nullptr;
    MosaicWindow* mosaic_ = nullptr;
    QMenu* menu_ = nullptr;
    QPoint menuPoint_;
    bool dragging_ = false;
    // A line begun from the menu: no button is held while it follows the
    // mouse, and the next click ends it.
    bool lineFromMenu_ = false;
    // A Ctrl+press on the picture, which neither pans nor draws; a left one
    // opens the history when released.
    Qt::MouseButton ctrlPressed_ = Qt::NoButton;
    QPoint start_, end_;
};

}  // namespace kalvera
