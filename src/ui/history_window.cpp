#include "ui/history_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "common/replace_file.h"
#include "geo/map_projection.h"
#include "geo/radar_grid.h"
#include "output/header_lines.h"
#include "products/section.h"
#include "render/legend_tables.h"
#include "render/readout.h"
#include "render/section_render.h"
#include "ui/dialogs.h"

namespace kalvera {

namespace {

// Hours of the day of a term "HH.MM"; false for a text that is none.
bool TermHours(const std::string& term, double& hours) {
    int hour = 0, minute = 0;
    if (std::sscanf(term.c_str(), "%d.%d", &hour, &minute) != 2) return false;
    hours = hour + minute / 60.0;
    return true;
}

// A reading that is data rather than the mark of a point off the grid.
bool Present(const std::optional<int32_t>& value) {
    return value && *value != kOutsideGrid;
}

}  // namespace

// The time-height picture, with a readout of what lies under the mouse.
class HistoryPicture : public QWidget {
  public:
    HistoryPicture(const AppConfig& config, const std::vector<HistoryRow>& rows, QLabel& readout,
                   QWidget* parent)
        : QWidget(parent), config_(config), rows_(rows), readout_(readout) {
        setMouseTracking(true);
        setMinimumHeight(260);
    }

    // The term the main window shows is marked by a dashed line.
    void markTerm(const std::string& term) {
        shownTerm_ = term;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(
            0, 0, DrawHistoryImage(rows_, config_.palette, width(), height(), devicePixelRatioF()));
        const auto shown = std::find_if(rows_.begin(), rows_.end(), [this](const HistoryRow& row) {
            return row.term == shownTerm_;
        });
        if (shown == rows_.end()) return;
        const SectionFrame frame = plotFrame();
        const int x = frame.xOfKm(static_cast<double>(shown - rows_.begin()));
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(x, frame.top, x, frame.bottom);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const SectionFrame frame = plotFrame();
        const QPoint at = event->position().toPoint();
        readout_.setText(frame.contains(at.x(), at.y())
                             ? QString::fromStdString(HistoryReadout(
                                   rows_, frame.kmOfX(at.x()), frame.heightKmOfY(at.y())))
                             : QString());
    }

  private:
    SectionFrame plotFrame() const {
        const double span = rows_.size() > 1 ? static_cast<double>(rows_.size() - 1) : 1.0;
        return SectionFrame::Of(width(), height(), span);
    }

    const AppConfig& config_;
    const std::vector<HistoryRow>& rows_;
    QLabel& readout_;
    std::string shownTerm_;
};

// One quantity of the rows against the hour of the day.
class HistoryChart : public QChartView {
  public:
    using Value = std::function<std::optional<double>(const HistoryRow&)>;

    HistoryChart(const QString& title, double minimumTop, Value value, QWidget* parent)
        : QChartView(parent), minimumTop_(minimumTop), value_(std::move(value)) {
        auto* chart = new QChart;
        chart->setTitle(title);
        chart->legend()->hide();
        series_ = new QLineSeries(chart);
        series_->setPointsVisible(true);
        chart->addSeries(series_);
        hours_ = new QValueAxis(chart);
        hours_->setRange(0, 24);
        hours_->setTickCount(7);
        hours_->setLabelFormat("%d");
        hours_->setTitleText(QStringLiteral("Срок, ч"));
        values_ = new QValueAxis(chart);
        values_->setLabelFormat("%g");
        chart->addAxis(hours_, Qt::AlignBottom);
        chart->addAxis(values_, Qt::AlignLeft);
        series_->attachAxis(hours_);
        series_->attachAxis(values_);
        setChart(chart);
        setRenderHint(QPainter::Antialiasing);
        setMinimumHeight(200);
    }

    void setRows(const std::vector<HistoryRow>& rows) {
        QList<QPointF> points;
        double top = minimumTop_;
        for (const HistoryRow& row : rows) {
            double hours = 0.0;
            const std::optional<double> value = value_(row);
            if (!value || !TermHours(row.term, hours)) continue;
            points.append(QPointF(hours, *value));
            top = std::max(top, *value);
        }
        series_->replace(points);
        values_->setRange(0, std::ceil(top / 10.0) * 10.0);
    }

    const QLineSeries& series() const { return *series_; }

  private:
    double minimumTop_;
    Value value_;
    QLineSeries* series_ = nullptr;
    QValueAxis* hours_ = nullptr;
    QValueAxis* values_ = nullptr;
};

HistoryWindow::HistoryWindow(const AppConfig& config, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), config_(config), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("История точки"));
    resize(900, 720);
    auto* layout = new QVBoxLayout(this);
    titleLabel_ = new QLabel(this);
    readout_ = new QLabel(this);
    picture_ = new HistoryPicture(config_, rows_, *readout_, this);
    // The legend's reflectivity classes count half decibels.
    maxChart_ = new HistoryChart(QString::fromStdString(LayerTitle(kLayerColumnMax) + ", дБZ"), 10.0,
                                 [](const HistoryRow& row) -> std::optional<double> {
                                     if (!Present(row.columnMax)) return std::nullopt;
                                     return *row.columnMax / 2.0;
                                 },
                                 this);
    vilChart_ = new HistoryChart(QString::fromStdString(LayerTitle(kLayerVil)), 10.0,
                                 [](const HistoryRow& row) -> std::optional<double> {
                                     if (!Present(row.vilTenths)) return std::nullopt;
                                     return *row.vilTenths / 10.0;
                                 },
                                 this);
    auto* charts = new QHBoxLayout;
    charts->addWidget(maxChart_);
    charts->addWidget(vilChart_);
    auto* buttons = new QHBoxLayout;
    auto* reloadButton = new QPushButton(QStringLiteral("Обновить"), this);
    auto* save = new QPushButton(QStringLiteral("Сохранить CSV..."), this);
    buttons->addWidget(readout_, 1);
    buttons->addWidget(reloadButton);
    buttons->addWidget(save);
    layout->addWidget(titleLabel_);
    layout->addWidget(picture_, 3);
    layout->addLayout(charts, 2);
    layout->addLayout(buttons);
    connect(reloadButton, &QPushButton::clicked, this, [this] { reload(); });
    connect(save, &QPushButton::clicked, this, [this] { saveClicked(); });
}

bool HistoryWindow::showPoint(const DisplayState& shown, float lat, float lon) {
    day_ = shown;
    lat_ = lat;
    lon_ = lon;
    if (!PointHistory(day_, lat_, lon_, rows_)) {
        hide();
        return false;
    }
    showRows();
    picture_->markTerm(shown.termText);
    show();
    raise();
    activateWindow();
    return true;
}

void HistoryWindow::reload() {
    std::vector<HistoryRow> rows;
    if (PointHistory(day_, lat_, lon_, rows)) rows_ = std::move(rows);
    showRows();
}

void HistoryWindow::followTerm(const DisplayState& shown) {
    if (!isVisible()) return;
    const bool sameDay = shown.indexPath == day_.indexPath;
    picture_->markTerm(sameDay ? shown.termText : std::string());
    const auto known = [&shown](const HistoryRow& row) { return row.term == shown.termText; };
    if (sameDay && std::none_of(rows_.begin(), rows_.end(), known)) reload();
}

QString HistoryWindow::title() const {
    const SectionEnd point = SeenFromSite({lat_, lon_}, day_.siteLat, day_.siteLon);
    const std::string text = "Станция " + day_.siteCode + ", " + ShortDateText(day_.currentDate) + ", точка " +
                             DegMinText(lat_) + " " + DegMinText(lon_) + ", аз. " +
                             CeilingText(point.azimuthDeg) + "°, " + CeilingText(point.rangeKm) +
                             " км, сроков: " + std::to_string(rows_.size());
    return QString::fromStdString(text);
}

void HistoryWindow::showRows() {
    titleLabel_->setText(title());
    readout_->clear();
    maxChart_->setRows(rows_);
    vilChart_->setRows(rows_);
    picture_->update();
}

bool HistoryWindow::saveCsv(const QString& path, QString& error) const {
    std::string reason;
    if (ReplaceFileContents(path.toStdString(), HistoryCsv(rows_), reason)) return true;
    error = QString::fromStdString(reason);
    return false;
}

void HistoryWindow::saveClicked() {
    SaveDialogOptions options;
    options.defaultSuffix = QStringLiteral("csv");
    options.fileTypes = {QStringLiteral("CSV (*.csv)")};
    const std::optional<QString> path = dialogs_.chooseSaveFile(this, options);
    if (!path) return;
    QString error;
    if (!saveCsv(*path, error)) {
        ShowSaveFailure(dialogs_, this, *path, error.toStdString(), windowTitle());
    }
}

}  // namespace kalvera
