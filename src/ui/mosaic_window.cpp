#include "ui/mosaic_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "geo/settings.h"
#include "geo/view_zoom.h"
#include "output/mosaic_source.h"
#include "products/layer_units.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/mosaic_picture.h"
#include "render/readout.h"
#include "ui/tool_window.h"

namespace kalvera {

namespace {
const QSize kWantedSize(900, 800);
constexpr int kLabelsHeight = 48;
// Each notch of the wheel shows this share of the extent before it.
constexpr float kZoomStep = 0.8f;
constexpr float kMinHalfExtentKm = 20.0f;
constexpr float kMaxHalfExtentKm = 5000.0f;
constexpr int kWheelNotch = 120;
constexpr int kLegendWidth = 130;
constexpr int kLegendTitle = 22;
// Frames kept for a loop: its default length and some.
constexpr size_t kKeptFrames = 16;
}  // namespace

MosaicWindow::MosaicWindow(const AppConfig& config, QWidget* parent)
    : QWidget(parent, kToolWindowFlags), config_(config) {
    setWindowTitle(tr("Сводная карта"));
    resize(kWantedSize);
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    status_ = new QLabel(this);
    readout_ = new QLabel(this);
    for (QLabel* label : {status_, readout_}) {
        // A long text is cut rather than widening the window.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(label);
    }
}

QRect MosaicWindow::pictureArea() const {
    return {0, 0, std::max(1, width() - kLegendWidth), std::max(1, height() - kLabelsHeight)};
}

Viewport MosaicWindow::viewport() const {
    const QRect area = pictureArea();
    const int w = area.width();
    const int h = area.height();
    const int side = std::max(w, h);
    return Viewport::Square(side, view_.lon0, view_.lat0, view_.halfExtentKm, (w - side) / 2,
                            (h - side) / 2);
}

void MosaicWindow::fitView() {
    const RadarGrid& grid = frame_->composite.values.grid;
    const QRect area = pictureArea();
    // The view's square spans the longer side of the area; the whole grid
    // must fit the shorter one.
    const float shorter = static_cast<float>(std::max(1, std::min(area.width(), area.height())));
    const float longer = static_cast<float>(std::max(area.width(), area.height()));
    view_.lon0 = grid.lonMin() + grid.cellLon() * static_cast<float>(grid.columns()) / 2.0f;
    view_.lat0 = grid.latMin() + grid.cellLat() * static_cast<float>(grid.rows()) / 2.0f;
    view_.halfExtentKm = HalfExtentKmOfGrid(grid) * longer / shorter;
    view_.set = true;
}

void MosaicWindow::open(const DisplayState& shown) {
    followTerm(shown);
    if (!isVisible() && parentWidget() != nullptr) {
        PlaceToolWindow(*this, *parentWidget(), kWantedSize, parentWidget()->geometry().center());
    }
    show();
    raise();
}

std::shared_ptr<const MosaicWindow::Frame> MosaicWindow::FrameOf(const DisplayState& shown) {
    for (const auto& kept : frames_) {
        if (kept->day == shown.dayName && kept->termText == shown.termText &&
            kept->layer == shown.layerCode) {
            return kept;
        }
    }
    auto frame = std::make_shared<Frame>();
    frame->day = shown.dayName;
    frame->termText = shown.termText;
    frame->layer = shown.layerCode;
    frame->sites = loader_.Load(MosaicRequestOf(config_, {}, shown.dayName, shown.termText),
                                {shown.layerCode});
    frame->composite = frame->sites.Product(shown.layerCode, CompositeMethod::Maximum);
    if (frame->sites.Missing().empty()) {
        frames_.push_back(frame);
        if (frames_.size() > kKeptFrames) frames_.pop_front();
    }
    return frame;
}

void MosaicWindow::followTerm(const DisplayState& shown) {
    shown_ = shown;
    frame_ = FrameOf(shown);
    if (!view_.set && frame_->sites.layout) fitView();
    showSites();
    update();
}

void MosaicWindow::showSites() {
    QString text = QString::fromStdString(
        SitesCountText(frame_->sites.Present().size(), frame_->sites.sites.size()));
    QStringList missing, reasons;
    for (const MosaicSiteTerm& site : frame_->sites.sites) {
        if (site.present) continue;
        const QString name =
            QString::fromStdString(site.code + " " + SiteDisplayName(config_, site.code));
        missing << name;
        // The reasons are the core's own words, as the command line gives them.
        reasons << name + ": " + QString::fromStdString(site.why);
    }
    if (!missing.isEmpty()) text += tr("; нет: ") + missing.join(", ");
    status_->setText(text);
    status_->setToolTip(reasons.isEmpty() ? text : reasons.join("\n"));
}

QImage MosaicWindow::picture(double ratio) {
    if (!view_.set && frame_->sites.layout) fitView();
    const QSize size = this->size();
    // Pictures of another view will not be shown again.
    if (!drawn_.empty() && !(drawn_.front().view == view_ && drawn_.front().size == size)) {
        drawn_.clear();
    }
    for (const Drawn& kept : drawn_) {
        if (kept.frame == frame_ && kept.ratio == ratio &&
            kept.threshold == shown_.filterThreshold) {
            return kept.image;
        }
    }
    QImage image = drawPicture(ratio);
    drawn_.push_back({frame_, view_, size, ratio, shown_.filterThreshold, image});
    if (drawn_.size() > kKeptFrames) drawn_.pop_front();
    return image;
}

QImage MosaicWindow::drawPicture(double ratio) {
    if (!view_.set && frame_->sites.layout) fitView();
    // Drawn in the window's own pixels on an image of the screen's: the
    // painter scales the layers as it does the main window's bitmaps.
    const QRect area = pictureArea().adjusted(0, 0, kLegendWidth, 0);
    QImage image(static_cast<int>(std::lround(area.width() * ratio)),
                 static_cast<int>(std::lround(area.height() * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive() || !frame_->sites.layout) return image;
    MosaicScene scene;
    scene.cells = &frame_->composite.values;
    for (size_t s = 0; s < frame_->sites.layout->sites().size(); ++s) {
        scene.squares.push_back(frame_->sites.layout->siteGrid(s));
    }
    const ColourTable* table = TableForLayer(config_.colours, shown_.layerCode);
    scene.paint = {shown_.layerCode, shown_.filterThreshold, &config_.palette, table,
                   config_.colours.cellOpacity};
    scene.outlines =
        mapCache_.outlines(CountryBinPath(config_.startDir), CountryIndPath(config_.startDir));
    scene.places = mapCache_.places(PlacesPath(config_.startDir));
    DrawMosaicScene(canvas, viewport(), LayerStyle::Screen(), scene);
    // The legend beside the picture, as the main window has it.
    const int left = pictureArea().width();
    canvas.setBrushColor(kWhite);
    canvas.setPenColor(kWhite);
    canvas.rectangle(left, 0, area.width() + 1, area.height() + 1);
    canvas.setFontColor(kBlack);
    canvas.textOut(left + 6, 4, LayerTitle(shown_.layerCode));
    DrawLegendBoxes(canvas, left + 4, kLegendTitle, kLegendWidth - 8,
                    area.height() - kLegendTitle, config_.palette, shown_.layerCode, true, table);
    return image;
}

void MosaicWindow::paintEvent(QPaintEvent*) {
    const QImage image = picture(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

void MosaicWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Until the operator moves the view, it keeps showing every site.
    if (!viewMoved_ && frame_->sites.layout) fitView();
    update();
}

QPoint MosaicWindow::pixelOf(float lat, float lon) const {
    const Viewport view = viewport();
    return {view.X(lon), view.Y(lat)};
}

QString MosaicWindow::sitesText() const {
    return status_->text();
}

QString MosaicWindow::readoutAt(QPoint at) const {
    if (!frame_->sites.layout || !pictureArea().contains(at)) return {};
    const Viewport view = viewport();
    const float lat = view.Lat(at.y());
    const float lon = view.Lon(at.x());
    const QString where = tr("широта %1, долгота %2")
                              .arg(QString::fromStdString(DegMinText(lat)),
                                   QString::fromStdString(DegMinText(LonInRange(lon))));
    const GridCell cell = frame_->composite.values.grid.CellAt(lat, lon);
    if (!cell.valid() || frame_->composite.values.At(cell) == kOutsideGrid) {
        return tr("нет данных") + " — " + where;
    }
    const int32_t value = frame_->composite.values.At(cell);
    const uint8_t source = frame_->composite.source[frame_->composite.values.grid.IndexOf(cell)];
    QString site;
    if (source != kNoSource && source < frame_->sites.layout->sites().size()) {
        const std::string& code = frame_->sites.layout->sites()[source].code;
        site = QString::fromStdString(code + " " + SiteDisplayName(config_, code));
    }
    // Covered, nothing detected: said in words, apart from "no data".
    const QString text = value <= 0 ? tr("ничего не обнаружено")
                                    : QString::fromStdString(ValueText(shown_.layerCode, value));
    return tr("Значение %1 (%2) — %3").arg(text, site, where);
}

void MosaicWindow::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / kWheelNotch;
    const QPoint at = event->position().toPoint();
    if (notches == 0 || !pictureArea().contains(at)) return;
    const Viewport before = viewport();
    const float lat = before.Lat(at.y());
    const float lon = before.Lon(at.x());
    const float halfExtent =
        std::clamp(view_.halfExtentKm * std::pow(kZoomStep, static_cast<float>(notches)),
                   kMinHalfExtentKm, kMaxHalfExtentKm);
    CentreKeepingPoint(static_cast<float>(before.side), static_cast<float>(at.x() - before.left),
                       static_cast<float>(at.y() - before.top), lat, lon, halfExtent, view_.lat0,
                       view_.lon0);
    view_.halfExtentKm = halfExtent;
    viewMoved_ = true;
    update();
}

void MosaicWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragFrom_ = event->position().toPoint();
}

void MosaicWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragging_) {
        const Viewport view = viewport();
        const QPoint moved = at - dragFrom_;
        dragFrom_ = at;
        view_.lon0 -= static_cast<float>(moved.x()) * view.projection.lonSpan /
                      std::max(1.0f, view.projection.width);
        view_.lat0 += static_cast<float>(moved.y()) * view.projection.latSpan /
                      std::max(1.0f, view.projection.height);
        view_.lat0 = std::clamp(view_.lat0, -85.0f, 85.0f);
        viewMoved_ = moved != QPoint(0, 0) || viewMoved_;
        update();
    }
    readout_->setText(readoutAt(at));
}

void MosaicWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void MosaicWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!frame_->sites.layout) return;
    const Viewport view = viewport();
    const QPoint at = event->position().toPoint();
    const float lat = view.Lat(at.y());
    const float lon = view.Lon(at.x());
    // The nearest site whose square holds the point.
    const MosaicSite* nearest = nullptr;
    float best = 0.0f;
    for (size_t s = 0; s < frame_->sites.layout->sites().size(); ++s) {
        if (!frame_->sites.layout->siteGrid(s).CellAt(lat, lon).valid()) continue;
        const MosaicSite& site = frame_->sites.layout->sites()[s];
        float azimuth = 0.0f, range = 0.0f;
        MapProjection::Init(1.0f, 1.0f, site.lon, site.lat, 1.0f)
            .RangeAzimuth(lat, lon, azimuth, range);
        if (nearest == nullptr || range < best) {
            nearest = &site;
            best = range;
        }
    }
    if (nearest != nullptr) emit siteWanted(QString::fromStdString(nearest->code));
}

}  // namespace kalvera
