#pragma once
// The form's list boxes. A click is the release of a press made in the list,
// and it acts on the item the release leaves selected: press on one item,
// drag and release on another, and the handler runs for the one highlighted.
// Qt's own view reports a click only when press and release fall on the same
// item. The selected item is kept in view, as the operator expects of a list
// box: whether the operator or the program selected it.

#include <QListWidget>
#include <QPersistentModelIndex>

namespace kalvera {

class ListBox : public QListWidget {
    Q_OBJECT

  public:
    using QListWidget::QListWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Persistent, so that a list refilled while the button is down (by the
    // update timer) leaves nothing dangling.
    bool pressed_ = false;
    QPersistentModelIndex pressedIndex_;  // under the press
    QPersistentModelIndex currentBefore_;
};

// Selects the first item of `list` that reads `text` as the program's choice
// (no click is reported) and scrolls it into view; with no such item nothing
// is selected.
void SelectByProgram(QListWidget& list, const QString& text);

}  // namespace kalvera
