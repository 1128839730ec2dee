#pragma once
// What one point of the map held through a day: the time-height picture of
// layers 1..10 with the echo tops, charts of the column maximum and VIL
// against time, and the rows as CSV. Opened by Ctrl+click on the picture or
// from its context menu.

#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

#include "common/display_state.h"
#include "geo/app_config.h"
#include "geo/map_resources.h"
#include "products/point_history.h"

class QLabel;

namespace kalvera {

class Dialogs;
class HistoryChart;
class HistoryPicture;

class HistoryWindow : public QWidget {
    Q_OBJECT
  public:
    HistoryWindow(const AppConfig& config, Dialogs& dialogs, QWidget* parent = nullptr);

    // Reads the history of (lat, lon) over the day `shown` belongs to and
    // shows the window, leaving `keepVisible` (global position) uncovered
    // when it opens. False, with the window hidden, when the day's index
    // cannot be read.
    bool showPoint(const DisplayState& shown, float lat, float lon, QPoint keepVisible);
    // Reads the same point's day again, for terms that came since.
    void reload();
    // The main window shows a term: the picture marks it, and one of the
    // point's day that the rows lack has just come, so they are read again.
    void followTerm(const DisplayState& shown);

    const std::vector<HistoryRow>& rows() const { return rows_; }
    GeoPoint point() const { return {lat_, lon_}; }
    QString title() const;
    bool saveCsv(const QString& path, QString& error) const;

  private:
    void saveClicked();
    void showRows();

    const AppConfig& config_;
    Dialogs& dialogs_;
    DisplayState day_;
    float lat_ = 0.0f, lon_ = 0.0f;
    std::vector<HistoryRow> rows_;
    QLabel* titleLabel_ = nullptr;
    QLabel* readout_ = nullptr;
    HistoryPicture* picture_ = nullptr;
    HistoryChart* maxChart_ = nullptr;
    HistoryChart* vilChart_ = nullptr;
};

}  // namespace kalvera
