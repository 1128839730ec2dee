#pragma once
// The vertical section along a line the operator drew on the picture. It
// follows the term the main window shows and saves as PNG; while it is open
// the main window draws its line.

#include <QImage>
#include <QWidget>

#include "geo/app_config.h"
#include "products/section.h"

class QLabel;

namespace kalvera {

class Dialogs;

class SectionWindow : public QWidget {
    Q_OBJECT
  public:
    SectionWindow(const AppConfig& config, Dialogs& dialogs, QWidget* parent = nullptr);

    // Samples the line on the term `shown` holds and shows the window,
    // leaving `keepVisible` (global position) uncovered when it opens.
    void showLine(const DisplayState& shown, GeoPoint from, GeoPoint to, QPoint keepVisible);
    // The main window shows another term (or frame): the same line on it.
    void followTerm(const DisplayState& shown);
    const Section& section() const { return section_; }
    // The line's ends; false before a line was drawn.
    bool line(GeoPoint& from, GeoPoint& to) const;
    bool saveImage(const QString& path, QString& error) const;

  signals:
    // The window was closed or hidden: the main window takes its line away.
    void hidden();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QImage image(double ratio = 1.0) const;
    QRect plotArea() const;
    void saveClicked();

    const AppConfig& config_;
    Dialogs& dialogs_;
    GeoPoint from_, to_;
    bool lineSet_ = false;
    Section section_;
    QLabel* readout_ = nullptr;
};

}  // namespace kalvera
