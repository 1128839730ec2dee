#include "ui/history_window.h"

#include <QCoreApplication>
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
#include <functional>

#include "common/replace_file.h"
#include "geo/map_projection.h"
#include "geo/radar_grid.h"
#include "output/header_lines.h"
#include "products/layer_units.h"
#include "products/section.h"
#include "render/legend_tables.h"
#include "render/readout.h"
#include "render/section_render.h"
#include "ui/dialogs.h"
#include "ui/tool_window.h"

namespace kalvera {

namespace {

const QSize kWantedSize(900, 720);

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
            0, 0,
            DrawHistoryImage(rows_, config_.palette, width(), height(), devicePixelRatioF(),
                             TableForLayer(config_.colours, kFirstHeightLayer)));
        const auto shown = std::find_if(rows_.begin(), rows_.end(), [this](const HistoryRow& row) {
            return row.term == shownTerm_;
        });
        if (shown == rows_.end()) return;
        double hours = 0.0;
        if (!TermHours(shown->term, hours)) return;
        const HourSpan span = HistoryHours(rows_);
        const SectionFrame frame = plotFrame(span);
        const int x = frame.xOfKm(hours - span.first);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(x, frame.top, x, frame.bottom);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const HourSpan span = HistoryHours(rows_);
        const SectionFrame frame = plotFrame(span);
        const QPoint at = event->position().toPoint();
        const double hours = span.first + frame.kmOfX(at.x());
        readout_.setText(
            frame.contains(at.x(), at.y())
                ? QString::fromStdString(HistoryReadout(rows_, hours, frame.heightKmOfY(at.y())))
                : QString());
    }

  private:
    SectionFrame plotFrame(const HourSpan& span) const {
        return SectionFrame::Of(width(), height(), span.hours());
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
        // Ticks on whole hours, however long the day's data run.
        hours_->setTickType(QValueAxis::TicksDynamic);
        hours_->setLabelFormat("%d");
        hours_->setTitleText(QCoreApplication::translate("kalvera::HistoryWindow", "Срок, ч"));
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
        span_ = HistoryHours(rows);
        hours_->setRange(span_.first, span_.last);
        hours_->setTickAnchor(span_.first);
        setHourTicks();
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

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QChartView::resizeEvent(event);
        setHourTicks();
    }

  private:
    // The plot is the view less the value axis and margins, some 80 pixels.
    void setHourTicks() { hours_->setTickInterval(HourTickStep(span_.hours(), width() - 80)); }

    HourSpan span_;
    double minimumTop_;
    Value value_;
    QLineSeries* series_ = nullptr;
    QValueAxis* hours_ = nullptr;
    QValueAxis* values_ = nullptr;
};

HistoryWindow::HistoryWindow(const AppConfig& config, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, kToolWindowFlags), config_(config), dialogs_(dialogs) {
    setWindowTitle(tr("История точки"));
    resize(kWantedSize);
    auto* layout = new QVBoxLayout(this);
    titleLabel_ = new QLabel(this);
    titleLabel_->setWordWrap(true);
    readout_ = new QLabel(this);
    // A long readout is cut rather than widening the window under the mouse.
    readout_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    picture_ = new HistoryPicture(config_, rows_, *readout_, this);
    // The legend's reflectivity classes count half decibels.
    maxChart_ = new HistoryChart(
        QString::fromStdString(LayerTitle(kLayerColumnMax)) + tr(", дБZ"), 10.0,
        [](const HistoryRow& row) -> std::optional<double> {
            if (!Present(row.columnMax)) return std::nullopt;
            return *row.columnMax / 2.0;
        },
        this);
    vilChart_ = new HistoryChart(
        QString::fromStdString(LayerTitle(kLayerVil)), 10.0,
        [](const HistoryRow& row) -> std::optional<double> {
            if (!Present(row.vilTenths)) return std::nullopt;
            return *row.vilTenths / 10.0;
        },
        this);
    auto* charts = new QHBoxLayout;
    charts->addWidget(maxChart_);
    charts->addWidget(vilChart_);
    auto* buttons = new QHBoxLayout;
    auto* reloadButton = new QPushButton(tr("Обновить"), this);
    auto* save = new QPushButton(tr("Сохранить CSV..."), this);
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

bool HistoryWindow::showPoint(const DisplayState& shown, float lat, float lon, QPoint keepVisible) {
    day_ = shown;
    lat_ = lat;
    lon_ = lon;
    if (!PointHistory(day_, lat_, lon_, rows_)) {
        hide();
        return false;
    }
    showRows();
    picture_->markTerm(shown.termText);
    if (!isVisible() && parentWidget() != nullptr) {
        PlaceToolWindow(*this, *parentWidget(), kWantedSize, keepVisible);
    }
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
    return tr("Станция %1, %2, точка %3 %4, аз. %5°, %6 км, сроков: %7")
        .arg(QString::fromStdString(day_.siteCode),
             QString::fromStdString(ShortDateText(day_.currentDate)),
             QString::fromStdString(DegMinText(lat_)), QString::fromStdString(DegMinText(lon_)),
             QString::fromStdString(CeilingText(point.azimuthDeg)),
             QString::fromStdString(CeilingText(point.rangeKm)), QString::number(rows_.size()));
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
    if (ReplaceFileContents(path.toStdString(), HistoryCsv(day_, lat_, lon_, rows_), reason))
        return true;
    error = QString::fromStdString(reason);
    return false;
}

void HistoryWindow::saveClicked() {
    SaveDialogOptions options;
    options.defaultSuffix = QStringLiteral("csv");
    options.fileTypes = {QStringLiteral("CSV (*.csv)")};
    const std::string point = "history_" + DegMinText(lat_) + '_' + DegMinText(lon_);
    const std::optional<QString> path = ChooseSaveFile(
        dialogs_, this, options, ProposedFileName(day_.siteCode, day_.dayName, "", point));
    if (!path) return;
    QString error;
    if (!saveCsv(*path, error)) {
        ShowSaveFailure(dialogs_, this, *path, error.toStdString(), windowTitle());
    }
}

}  // namespace kalvera
