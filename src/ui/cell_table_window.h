#pragma once
// The storm cells of the shown term as a table that sorts by any column:
// number, place (with bearing and range from the site where there is one),
// area, strength, echo top, VIL, motion and where it comes from, and what
// became of the cell (merged, split). Opened by F7 or from the picture's
// menu; it follows the main window's term and loop, and a click on a row
// marks that cell on the map.

#include <QPoint>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "nowcast/grid_scale.h"
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
    // The same with the day ("08.12.2026") in the title, and bearing and
    // range from `site` when the grid is a site's.
    void showCells(const std::string& siteName, const std::string& dayText,
                   const std::string& termText, const std::vector<StormCell>& cells,
                   const std::optional<LatLon>& site);
    // Shows the window, leaving `keepVisible` (global position) uncovered
    // when it opens.
    void open(QPoint keepVisible);

    QTableWidget* table() const { return table_; }

  signals:
    // The operator clicked the row of the cell with this number.
    void cellChosen(int id);

  private:
    QLabel* title_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace kalvera
