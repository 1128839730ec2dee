#pragma once
// The nowcast of a picture window (a site's in the main window, or the
// composite's): F6 (or the picture's menu) shows over the picture the outlines of the threshold at
// +10, +20 and +30 minutes and the storm cells with their past and forecast tracks; hovering over a
// cell shows its figures; F7 opens the table of the shown term's cells; and a loop runs on into
// forecast frames after its newest term while the overlay is shown. The day's grids and tracked
// cells are read off the GUI thread when first needed (the overlay appears when they are) and kept
// for the day.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geo/viewport.h"
#include "nowcast/day_nowcast.h"
#include "nowcast/grid_scale.h"

class QPainter;
class QThread;
class QWidget;

namespace kalvera {

struct ViewerState;
class CellTableWindow;
class TForm1;

// What a window gives its nowcast: the term it shows, how its day is read,
// and where its picture lies.
class NowcastHost {
  public:
    virtual ~NowcastHost() = default;
    virtual QWidget& widget() = 0;

    struct Shown {
        std::string dayKey;  // one per day read: the index file, or the composite's day
        std::string dayName, termText;
        int layerCode = 0;
        bool picture = false;  // a picture is shown to draw over
        // How far a term of the day read may lie from the shown one and
        // stand for it: the composite's terms are those of its sites.
        int toleranceMinutes = 0;
    };
    virtual Shown shown() const = 0;
    // Reads the shown day's terms with these layers: made on the GUI
    // thread, run off it.
    using DayReader =
        std::function<bool(const std::vector<int>&, std::vector<DayTerm>&, std::string&)>;
    virtual DayReader dayReader() const = 0;
    // The picture's area and its map, in the window's pixels.
    virtual QRect pictureArea() const = 0;
    virtual Viewport viewport() const = 0;
    virtual double ratio() const = 0;
    // The name the cell table gives, and the point its ranges are from.
    virtual std::string placeName() const = 0;
    virtual LatLon centre() const = 0;
};

class NowcastTools : public QObject {
    Q_OBJECT
  public:
    NowcastTools(TForm1& window, const ViewerState& viewer);
    explicit NowcastTools(std::unique_ptr<NowcastHost> host);
    // Waits for a day still being read.
    ~NowcastTools() override;

    bool overlayShown() const { return overlay_; }
    void toggleOverlay();
    void openTable();
    CellTableWindow* tableWindow() const { return table_; }

    // The main window shows another term or frame, or the same again.
    void termShown();
    // The window's view moved or its size changed: the overlay follows.
    void viewShown();
    // The overlay over the window's picture.
    void paint(QPainter& painter) const;
    // The mouse at a window position: a cell's figures as a tooltip.
    void hover(QPoint at);

    // The shown term's layer at a lead, for a loop's forecast frame; null
    // when the term has no nowcast. The next termShown() then draws the
    // frame as a forecast of that lead.
    const GridValues* forecast(int leadMinutes);
    void markNextAsForecast(int leadMinutes) { pendingLead_ = leadMinutes; }
    int forecastLead() const { return lead_; }

    // A day is being read; the overlay and the table follow when it is.
    bool loading() const { return loader_ != nullptr; }

    // The cells of the shown term, as drawn and listed.
    const std::vector<StormCell>& cells() const { return shownCells_; }

  private:
    struct Day {
        std::vector<DayTerm> terms;
        std::vector<TermCells> cells;
        std::vector<int> codes;
        double cellDbz = 0.0;
    };
    // The shown day with the shown layer; null while it is being read (it
    // is begun when first needed, and again when the shown term or layer
    // is not in it yet) and when its index cannot be read.
    Day* shownDay();
    void startLoading(std::vector<int> codes, double cellDbz);
    // Draws the overlay and fills the table for the shown term.
    void redraw();
    // Index of the shown term in the day; -1 when it has none.
    int shownTerm(const Day& day) const;
    static int TermIn(const Day& day, const NowcastHost::Shown& shown);

    std::unique_ptr<NowcastHost> host_;
    CellTableWindow* table_ = nullptr;
    bool overlay_ = false;
    int lead_ = 0;
    int pendingLead_ = 0;
    // By index file; the day before is kept too, for loops across midnight.
    std::map<std::string, Day> days_;
    QThread* loader_ = nullptr;
    // The day and term whose reading failed: not tried again until another.
    std::string failed_;
    // Forecasts of the shown term's layer, by lead.
    std::string forecastKey_;
    std::map<int, GridValues> forecasts_;
    std::vector<StormCell> shownCells_;
    RadarGrid shownGrid_;
    QImage image_;
    // What the view was when the overlay was last drawn, and the overlays
    // drawn, by view, term, lead and thresholds.
    std::string ViewKey() const;
    std::string viewKey_;
    std::deque<std::pair<std::string, QImage>> drawn_;
    std::optional<size_t> hovered_;
    // The cell last clicked in the table, marked on the map; 0 for none.
    int chosenId_ = 0;
};

}  // namespace kalvera
