#pragma once
// "Сводная карта": the composite of every site for the term and layer the
// main window shows, following its term changes, the loop and the automatic
// update. The wheel zooms about the cursor, a drag pans, the readout names
// the value, the site that gave it and the point; a double-click opens the
// nearest site that covers the point in the main window. F6 and F7 show the
// composite's own nowcast (overlay, cell table) and, on a forecast frame of
// the main window's loop with the overlay on, the composite's forecast.

#include <QImage>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>

#include "common/display_state.h"
#include "geo/app_config.h"
#include "geo/map_resources.h"
#include "geo/viewport.h"
#include "mosaic/mosaic_term.h"

class QLabel;
class QMenu;

namespace kalvera {

class Dialogs;
class NowcastTools;

class MosaicWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MosaicWindow(const AppConfig& config, QWidget* parent = nullptr);
    // Waits for the nowcast's day still being read.
    ~MosaicWindow() override;

    // Shows the window over the term `shown` holds.
    void open(const DisplayState& shown);
    // The lead of the forecast frame the main window shows, 0 on an
    // observed term; asked whenever the picture is drawn.
    void setForecastLead(std::function<int()> lead) { forecastLead_ = std::move(lead); }
    // The picture menu: the main window's colour entries (tables, opacity),
    // added by `addShared`, then saving and printing through `dialogs`.
    void setPictureMenu(Dialogs* dialogs, std::function<void(QMenu&)> addShared) {
        dialogs_ = dialogs;
        addSharedMenu_ = std::move(addShared);
    }
    // The picture a file or a page gets: the one the command line draws.
    QImage filePicture() const;
    // The main window shows another term, layer or frame.
    void followTerm(const DisplayState& shown);

    const MosaicTerm& term() const { return frame_->sites; }
    const Composite& composite() const { return frame_->composite; }
    // The readout for a point of the picture area, and where a point on the
    // ground lies on it.
    QString readoutAt(QPoint at) const;
    QPoint pixelOf(float lat, float lon) const;
    QString sitesText() const;
    // The header line over the picture (the day and term, GMT, the layer and
    // the sites; on a forecast frame, that it shows the observed term).
    QString headerText() const;
    // The picture and legend at a device pixel ratio, as a paint shows them:
    // drawn once per frame and view, and kept for the loop's next round.
    QImage picture(double ratio = 1.0);
    // The same drawn afresh.
    QImage drawPicture(double ratio = 1.0);
    // The composite's nowcast: its overlay, cell table and forecasts.
    NowcastTools& nowcast() const { return *nowcast_; }
    // The lead of the composite's forecast shown in place of the term, or 0.
    int forecastShown() const { return forecast_ ? forecastShownLead_ : 0; }

  signals:
    // A double-click asked for this site of the settings' list.
    void siteWanted(const QString& siteCode);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The main window's keys act here too: terms, days, the loop, F-keys.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    class Host;
    struct View {
        float lon0 = 0.0f, lat0 = 0.0f, halfExtentKm = 0.0f;
        bool set = false;
        bool operator==(const View&) const = default;
    };
    // A frame's picture as drawn for a view, a size, a ratio and a filter.
    struct Drawn {
        std::shared_ptr<const void> frame;
        std::shared_ptr<const void> forecast;
        View view;
        QSize size;
        double ratio = 1.0;
        int32_t threshold = 0;
        // The colours it was drawn in: a change of table, opacity or legend
        // colour shows at once.
        std::shared_ptr<const ColourTable> table;
        int opacity = 100;
        Palette palette{};
        QString header;
        QImage image;
    };
    QRect pictureArea() const;
    // The viewport of the picture area, in the window's pixels.
    Viewport viewport() const;
    void showSites();
    void fitView();

    // A term's composite of one layer. Frames that every site took part in
    // are kept for the loop's next round; one with a site missing is made
    // again each time, since the site's data may yet come.
    struct Frame {
        std::string day, termText;
        int layer = 0;
        MosaicTerm sites;
        Composite composite;
    };
    std::shared_ptr<const Frame> FrameOf(const DisplayState& shown);
    // Takes the composite's forecast for the main window's forecast frame,
    // when the overlay is on and the day has been read.
    void resolveForecast();
    // The grid the picture shows: the forecast or the term's composite.
    const GridValues& shownValues() const {
        return forecast_ ? *forecast_ : frame_->composite.values;
    }

    const AppConfig& config_;
    MosaicLoader loader_;
    std::deque<std::shared_ptr<const Frame>> frames_;
    std::shared_ptr<const Frame> frame_ = std::make_shared<const Frame>();
    std::deque<Drawn> drawn_;
    DisplayState shown_;
    View view_;
    MapResourceCache mapCache_;
    QLabel* status_ = nullptr;
    QLabel* readout_ = nullptr;
    std::function<int()> forecastLead_;
    NowcastTools* nowcast_ = nullptr;
    std::shared_ptr<const GridValues> forecast_;
    const GridValues* forecastFrom_ = nullptr;
    int forecastShownLead_ = 0;
    Dialogs* dialogs_ = nullptr;
    std::function<void(QMenu&)> addSharedMenu_;
    void savePicture();
    void printPicture();
    bool viewMoved_ = false;
    bool dragging_ = false;
    QPoint dragFrom_;
};

}  // namespace kalvera
