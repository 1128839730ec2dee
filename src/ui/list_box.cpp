#include "ui/list_box.h"

#include <QMouseEvent>
#include <QResizeEvent>

namespace kalvera {

void SelectByProgram(QListWidget& list, const QString& text) {
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        list.setCurrentRow(-1);
        list.clearSelection();
        return;
    }
    list.setCurrentItem(found.front());
    list.scrollToItem(found.front());
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    currentBefore_ = currentIndex();
    pressedIndex_ = indexAt(event->position().toPoint());
    QListWidget::mousePressEvent(event);
    pressed_ = event->button() == Qt::LeftButton;
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool ours = pressed_ && event->button() == Qt::LeftButton;
    pressed_ = false;
    const QModelIndex under = indexAt(event->position().toPoint());
    QListWidget::mouseReleaseEvent(event);
    // Qt itself reports a release on the item pressed.
    if (!ours || (under.isValid() && under == pressedIndex_)) return;
    if (!under.isValid()) {
        // Released off the items, the selection stays where the drag left it
        // (Qt would clear it when the press fell on the item already
        // selected); that is a change only when it moved.
        const QModelIndex current = currentIndex();
        if (current.isValid())
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        if (current == currentBefore_) return;
    }
    QListWidgetItem* item = currentItem();
    if (item != nullptr && item->isSelected()) emit itemClicked(item);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click on the same item is no second
    // click; on another item Qt hands it back to mousePressEvent as a press.
    pressed_ = false;
    QListWidget::mouseDoubleClickEvent(event);
}

void ListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    // A list laid out anew, when it first comes into view above all, starts
    // at its first item.
    if (QListWidgetItem* item = currentItem()) scrollToItem(item);
}

}  // namespace kalvera
