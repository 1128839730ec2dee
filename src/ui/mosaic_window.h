#pragma once
// "Сводная карта": the composite of every site for the term and layer the
// main window shows, following its term changes, the loop and the automatic
// update. The wheel zooms about the cursor, a drag pans, the readout names
// the value, the site that gave it and the point; a double-click opens the
// nearest site that covers the point in the main window.

#include <QImage>
#include <QWidget>
#include <memory>

#include "common/display_state.h"
#include "geo/app_config.h"
#include "geo/map_resources.h"
#include "geo/viewport.h"
#include "mosaic/mosaic_term.h"

class QLabel;

namespace kalvera {

class MosaicWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MosaicWindow(const AppConfig& config, QWidget* parent = nullptr);

    // Shows the window over the term `shown` holds.
    void open(const DisplayState& shown);
    // The main window shows another term, layer or frame.
    void followTerm(const DisplayState& shown);

    const MosaicTerm& term() const { return term_; }
    const Composite& composite() const { return composite_; }
    // The readout for a point of the picture area (tests).
    QString readoutAt(QPoint at) const;
    // The picture and legend at a device pixel ratio, as a paint draws them.
    QImage picture(double ratio = 1.0);

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

  private:
    struct View {
        float lon0 = 0.0f, lat0 = 0.0f, halfExtentKm = 0.0f;
        bool set = false;
    };
    QRect pictureArea() const;
    // The viewport of the picture area, in the window's pixels.
    Viewport viewport() const;
    void showSites();
    void fitView();

    const AppConfig& config_;
    MosaicLoader loader_;
    MosaicTerm term_;
    Composite composite_;
    DisplayState shown_;
    View view_;
    MapResourceCache mapCache_;
    QLabel* status_ = nullptr;
    QLabel* readout_ = nullptr;
    bool viewMoved_ = false;
    bool dragging_ = false;
    QPoint dragFrom_;
};

}  // namespace kalvera
