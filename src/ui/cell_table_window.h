#pragma once
// The storm cells of the shown term as a table that sorts by any column:
// number, place, area, strength, echo top, VIL, motion and what became of
// the cell (merged, split). Opened by F7 or from the picture's menu; it
// follows the main window's term and loop.

#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

#include "nowcast/storm_cells.h"

class QLabel;
class QTableWidget;

namespace kalvera {

class CellTableWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CellTableWindow(QWidget* parent = nullptr);

    // The cells of a term; the sort the operator chose stays.
    void showCells(const std::string& siteName, const std::string& termText,
                   const std::vector<StormCell>& cells);
    // Shows the window, leaving `keepVisible` (global position) uncovered
    // when it opens.
    void open(QPoint keepVisible);

    QTableWidget* table() const { return table_; }

  private:
    QLabel* title_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace kalvera
