#include "ui/mosaic_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "common/replace_file.h"
#include "geo/colour_choice.h"
#include "geo/settings.h"
#include "geo/view_zoom.h"
#include "nowcast/day_terms.h"
#include "output/mosaic_source.h"
#include "output/png_writer.h"
#include "products/layer_units.h"
#include "render/legend_layer.h"
#include "render/legend_tables.h"
#include "render/mosaic_picture.h"
#include "render/readout.h"
#include "ui/dialogs.h"
#include "ui/nowcast_tools.h"
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
// Frames kept for a loop: its default length and some.
constexpr size_t kKeptFrames = 16;
}  // namespace

// The composite's nowcast reads the composite's day as one grid, so a storm
// crossing from one site's square into another's keeps its number.
class MosaicWindow::Host : public NowcastHost {
  public:
    explicit Host(MosaicWindow& window) : window_(window) {}
    QWidget& widget() override { return window_; }
    Shown shown() const override {
        const DisplayState& d = window_.shown_;
        return {"composite\n" + d.dayName,
                d.dayName,
                d.termText,
                d.layerCode,
                window_.frame_->sites.layout != nullptr,
                MosaicChoice{}.toleranceMinutes};
    }
    DayReader dayReader() const override {
        const MosaicChoice choice;
        const MosaicRequest day =
            MosaicRequestOf(window_.config_, choice, window_.shown_.dayName, "");
        return [day, method = choice.method](const std::vector<int>& codes,
                                             std::vector<DayTerm>& terms, std::string& error) {
            MosaicLoader loader;
            return LoadMosaicTermsAcrossDays(loader, day, method, codes, "", terms, error);
        };
    }
    QRect pictureArea() const override { return window_.pictureArea(); }
    Viewport viewport() const override { return window_.viewport(); }
    double ratio() const override { return window_.devicePixelRatioF(); }
    std::string placeName() const override {
        return QCoreApplication::translate("kalvera::MosaicWindow", "Сводная карта").toStdString();
    }
    LatLon centre() const override {
        const RadarGrid& grid = window_.frame_->composite.values.grid;
        return {grid.latMin() + grid.cellLat() * static_cast<float>(grid.rows()) / 2.0f,
                grid.lonMin() + grid.cellLon() * static_cast<float>(grid.columns()) / 2.0f};
    }

  private:
    MosaicWindow& window_;
};

MosaicWindow::MosaicWindow(const AppConfig& config, QWidget* parent)
    : QWidget(parent, kToolWindowFlags), config_(config) {
    nowcast_ = new NowcastTools(std::make_unique<Host>(*this));
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

MosaicWindow::~MosaicWindow() {
    // Before the frames and settings its host reads go.
    delete nowcast_;
}

QRect MosaicWindow::pictureArea() const {
    return {0, kMosaicHeaderHeight, std::max(1, width() - kMosaicLegendWidth),
            std::max(1, height() - kLabelsHeight - kMosaicHeaderHeight)};
}

Viewport MosaicWindow::viewport() const {
    const QRect area = pictureArea();
    const int w = area.width();
    const int h = area.height();
    const int side = std::max(w, h);
    return Viewport::Square(side, view_.lon0, view_.lat0, view_.halfExtentKm,
                            area.left() + (w - side) / 2, area.top() + (h - side) / 2);
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
    const int lead = forecastLead_ ? forecastLead_() : 0;
    if (lead > 0) nowcast_->markNextAsForecast(lead);
    nowcast_->termShown();
    showSites();
    update();
}

void MosaicWindow::resolveForecast() {
    const int lead = forecastLead_ ? forecastLead_() : 0;
    const GridValues* grid =
        lead > 0 && nowcast_->overlayShown() ? nowcast_->forecast(lead) : nullptr;
    if (grid == nullptr) {
        forecast_.reset();
        forecastFrom_ = nullptr;
        forecastShownLead_ = 0;
        return;
    }
    if (grid != forecastFrom_ || lead != forecastShownLead_ || !forecast_) {
        forecast_ = std::make_shared<const GridValues>(*grid);
        forecastFrom_ = grid;
        forecastShownLead_ = lead;
    }
}

QString MosaicWindow::headerText() const {
    QString text = QString::fromStdString(
        MosaicTitle(shown_.dayName, shown_.termText, shown_.layerCode,
                    frame_->sites.Present().size(), frame_->sites.sites.size()));
    const int lead = forecastLead_ ? forecastLead_() : 0;
    if (lead > 0 && forecast_ && forecastShownLead_ == lead) {
        text += tr(" — прогноз +%1 мин").arg(lead);
    } else if (lead > 0) {
        // The composite has no forecast of its own here: say so, rather than
        // let the observed term pass for the main window's forecast frame.
        text += tr(" — показан срок наблюдения, не прогноз +%1 мин").arg(lead);
    }
    return text;
}

void MosaicWindow::showSites() {
    setWindowTitle(tr("Сводная карта") + " — " +
                   QString::fromStdString(MosaicTimeText(shown_.dayName, shown_.termText)));
    QString text = QString::fromStdString(
        SitesCountText(frame_->sites.Present().size(), frame_->sites.sites.size()));
    QStringList present, missing, reasons;
    for (const MosaicSiteTerm& site : frame_->sites.sites) {
        const QString name =
            QString::fromStdString(site.code + " " + SiteDisplayName(config_, site.code));
        if (site.present) {
            present << name + " " + QString::fromStdString(site.termText);
            continue;
        }
        // The reasons are the core's own words, as the command line gives them.
        missing << name + " (" + QString::fromStdString(site.why) + ")";
        reasons << name + ": " + QString::fromStdString(site.why);
    }
    if (!present.isEmpty()) text += ": " + present.join(", ");
    if (!missing.isEmpty()) text += tr("; нет: ") + missing.join(", ");
    status_->setText(text);
    status_->setToolTip(reasons.isEmpty() ? text : reasons.join("\n"));
}

QImage MosaicWindow::picture(double ratio) {
    if (!view_.set && frame_->sites.layout) fitView();
    resolveForecast();
    const QSize size = this->size();
    // Pictures of another view will not be shown again.
    if (!drawn_.empty() && !(drawn_.front().view == view_ && drawn_.front().size == size)) {
        drawn_.clear();
    }
    const auto& table = config_.colours.tables[static_cast<size_t>(LayerKindOf(shown_.layerCode))];
    const QString header = headerText();
    for (const Drawn& kept : drawn_) {
        if (kept.frame == frame_ && kept.forecast == forecast_ && kept.ratio == ratio &&
            kept.threshold == shown_.filterThreshold && kept.table == table &&
            kept.opacity == config_.colours.cellOpacity && kept.palette == config_.palette &&
            kept.header == header) {
            return kept.image;
        }
    }
    QImage image = drawPicture(ratio);
    drawn_.push_back({frame_, forecast_, view_, size, ratio, shown_.filterThreshold, table,
                      config_.colours.cellOpacity, config_.palette, header, image});
    if (drawn_.size() > kKeptFrames) drawn_.pop_front();
    return image;
}

QImage MosaicWindow::drawPicture(double ratio) {
    if (!view_.set && frame_->sites.layout) fitView();
    resolveForecast();
    // Drawn in the window's own pixels on an image of the screen's: the
    // painter scales the layers as it does the main window's bitmaps.
    const QRect area(0, 0, pictureArea().width() + kMosaicLegendWidth, pictureArea().bottom() + 1);
    QImage image(static_cast<int>(std::lround(area.width() * ratio)),
                 static_cast<int>(std::lround(area.height() * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive() || !frame_->sites.layout) return image;
    const MosaicScene scene = MosaicSceneOf(config_, frame_->sites, shown_.termText, shownValues(),
                                            shown_.layerCode, shown_.filterThreshold, mapCache_);
    DrawMosaicPicture(canvas, viewport(), scene, headerText().toStdString(), pictureArea().width(),
                      pictureArea().bottom());
    return image;
}

void MosaicWindow::paintEvent(QPaintEvent*) {
    const QImage image = picture(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
    nowcast_->viewShown();
    nowcast_->paint(painter);
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
    const GridValues& values = shownValues();
    const GridCell cell = values.grid.CellAt(lat, lon);
    if (!cell.valid() || values.At(cell) == kOutsideGrid) {
        return tr("нет данных") + " — " + where;
    }
    const int32_t value = values.At(cell);
    if (forecast_) {
        // A forecast's value comes from no one site.
        const QString text = value <= 0
                                 ? tr("ничего не обнаружено")
                                 : QString::fromStdString(ValueText(shown_.layerCode, value));
        return tr("Прогноз +%1 мин: %2 — %3").arg(forecastShownLead_).arg(text, where);
    }
    const uint8_t source = frame_->composite.source[frame_->composite.values.grid.IndexOf(cell)];
    QString site;
    if (source != kNoSource && source < frame_->sites.layout->sites().size()) {
        const MosaicSite& giver = frame_->sites.layout->sites()[source];
        site = QString::fromStdString(giver.code + " " + SiteDisplayName(config_, giver.code));
        // Range and azimuth from the site that gave the value, as a site's
        // own readout gives them.
        float azimuth = 0.0f, range = 0.0f;
        MapProjection::Init(1.0f, 1.0f, giver.lon, giver.lat, 1.0f)
            .RangeAzimuth(lat, lon, azimuth, range);
        site += tr(", азимут %1°, дальность %2 км")
                    .arg(static_cast<int>(std::lround(azimuth)))
                    .arg(static_cast<int>(std::lround(range)));
        for (const MosaicSiteTerm& asked : frame_->sites.sites) {
            if (asked.layoutIndex == source && asked.termText != shown_.termText) {
                site += tr(", срок %1").arg(QString::fromStdString(asked.termText));
            }
        }
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
    nowcast_->hover(at);
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

void MosaicWindow::keyPressEvent(QKeyEvent* event) {
    // The nowcast keys act on the composite here, not on the main window's site.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (event->key() == Qt::Key_F6) {
            nowcast_->toggleOverlay();
            update();
            return;
        }
        if (event->key() == Qt::Key_F7) {
            nowcast_->openTable();
            return;
        }
    }
    QWidget* owner = parentWidget();
    if (owner == nullptr ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        QWidget::keyPressEvent(event);
        return;
    }
    // The main window's key handling watches its own widgets: the key is
    // given to it as if pressed there, and the composite follows its term.
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QApplication::sendEvent(owner, &copy);
}

void MosaicWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    if (addSharedMenu_) {
        addSharedMenu_(menu);
        menu.addSeparator();
    }
    // The composite's own nowcast, worded as in the main window's menu.
    QAction* overlay = menu.addAction(
        QCoreApplication::translate("kalvera::VerticalTools", "Прогноз и ячейки на карте\tF6"),
        this, [this] {
            nowcast_->toggleOverlay();
            update();
        });
    overlay->setCheckable(true);
    overlay->setChecked(nowcast_->overlayShown());
    menu.addAction(QCoreApplication::translate("kalvera::VerticalTools", "Таблица ячеек\tF7"), this,
                   [this] { nowcast_->openTable(); });
    menu.addSeparator();
    QAction* save = menu.addAction(tr("Сохранить картинку…"), this, [this] { savePicture(); });
    QAction* print = menu.addAction(tr("Печать…"), this, [this] { printPicture(); });
    save->setEnabled(dialogs_ != nullptr && frame_->sites.layout != nullptr);
    print->setEnabled(save->isEnabled());
    menu.exec(event->globalPos());
}

QImage MosaicWindow::filePicture() const {
    if (!frame_->sites.layout) return {};
    constexpr int kFileSide = 1000;
    MapResourceCache cache;
    const MosaicScene scene = MosaicSceneOf(config_, frame_->sites, shown_.termText, shownValues(),
                                            shown_.layerCode, shown_.filterThreshold, cache);
    return MosaicPictureImage(scene, headerText().toStdString(), kFileSide);
}

void MosaicWindow::savePicture() {
    if (dialogs_ == nullptr) return;
    SaveDialogOptions options;
    options.defaultSuffix = QStringLiteral("png");
    options.fileTypes = {QStringLiteral("PNG (*.png)")};
    const std::optional<QString> path = ChooseSaveFile(
        *dialogs_, this, options,
        ProposedFileName("mosaic", shown_.dayName, shown_.termText, LayerName(shown_.layerCode)));
    if (!path) return;
    const std::optional<std::string> bytes = EncodePng(filePicture());
    std::string error = "the picture cannot be encoded";
    if (!bytes || !ReplaceFileContents(path->toStdString(), *bytes, error)) {
        ShowSaveFailure(*dialogs_, this, *path, error, windowTitle());
    }
}

void MosaicWindow::printPicture() {
    if (dialogs_ == nullptr) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs_->setUpPrinter(this, printer)) return;
    const QImage image = filePicture();
    QPainter painter(&printer);
    if (!painter.isActive() || image.isNull()) return;
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}

}  // namespace kalvera
