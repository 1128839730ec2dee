#include "ui/nowcast_tools.h"

#include <QPainter>
#include <QThread>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <memory>

#include "geo/settings.h"
#include "products/derived_products.h"
#include "render/nowcast_layer.h"
#include "render/viewer_state.h"
#include "ui/cell_table_window.h"
#include "ui/main_window.h"
#include "ui/user_settings.h"

namespace kalvera {

namespace {

// The layers every nowcast of a day needs: the motion and the cells read
// the column maximum, the cells their echo tops and VIL too.
const std::vector<int> kCellCodes = {kLayerColumnMax, kLayerEchoTops, kLayerVil};
// The outlines' leads: those of good skill.
const std::vector<int> kOutlineLeads = {10, 20, 30};
constexpr double kDefaultThresholdDbz = 30.0;
// Overlays kept for a loop: its default length and some.
constexpr size_t kKeptOverlays = 16;

// The user's own cell threshold, 40 dBZ unless the settings file says otherwise.
double CellThresholdDbz() {
    return UserSettings::value(QStringLiteral("nowcast/cellDbz"), CellOptions{}.thresholdDbz)
        .toDouble();
}

// "08.12.2026" of "261208", as the table's title gives the day.
std::string DayText(const std::string& dayName) {
    if (dayName.size() != 6) return dayName;
    return dayName.substr(4, 2) + '.' + dayName.substr(2, 2) + ".20" + dayName.substr(0, 2);
}

bool Has(const std::vector<int>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The main window's site.
class SiteHost : public NowcastHost {
  public:
    SiteHost(TForm1& window, const ViewerState& viewer) : window_(window), viewer_(viewer) {}
    QWidget& widget() override { return window_; }
    Shown shown() const override {
        const DisplayState& d = viewer_.display;
        return {d.indexPath, d.dayName, d.termText, d.layerCode, d.messageOffset >= 0};
    }
    DayReader dayReader() const override {
        const DisplayState shown = viewer_.display;
        const LayerDecoder decode =
            viewer_.decoder ? LayerDecoder(viewer_.decoder) : LayerDecoder(DecodeArchiveMessage);
        return [shown, decode](const std::vector<int>& codes, std::vector<DayTerm>& terms,
                               std::string& error) {
            // The day before's last hour carries motion and tracks over midnight.
            return LoadTermsAcrossDays(shown, codes, "", terms, error, decode);
        };
    }
    QRect pictureArea() const override {
        const LayoutRect& area = viewer_.layout.picture;
        return {area.left, area.top, area.width, area.height};
    }
    Viewport viewport() const override {
        const LayoutRect& area = viewer_.layout.picture;
        return Viewport::Of(viewer_.view, area.left, area.top);
    }
    double ratio() const override { return viewer_.PictureLayer.ratio(); }
    std::string placeName() const override {
        return SiteDisplayName(viewer_.config, viewer_.display.siteCode);
    }
    LatLon centre() const override { return {viewer_.display.siteLat, viewer_.display.siteLon}; }

  private:
    TForm1& window_;
    const ViewerState& viewer_;
};

}  // namespace

NowcastTools::NowcastTools(TForm1& window, const ViewerState& viewer)
    : NowcastTools(std::make_unique<SiteHost>(window, viewer)) {}

NowcastTools::NowcastTools(std::unique_ptr<NowcastHost> host)
    : QObject(&host->widget()), host_(std::move(host)) {}

void NowcastTools::toggleOverlay() {
    overlay_ = !overlay_;
    termShown();
    host_->widget().update();
}

void NowcastTools::openTable() {
    if (!table_) {
        table_ = new CellTableWindow(&host_->widget());
        connect(table_, &CellTableWindow::cellChosen, this, [this](int id) {
            chosenId_ = id;
            if (!overlay_) overlay_ = true;
            redraw();
            host_->widget().update();
        });
    }
    table_->open(host_->widget().mapToGlobal(host_->pictureArea().center()));
    termShown();
}

NowcastTools::~NowcastTools() {
    if (loader_) loader_->wait();
}

NowcastTools::Day* NowcastTools::shownDay() {
    const NowcastHost::Shown d = host_->shown();
    const auto found = days_.find(d.dayKey);
    const double cellDbz = CellThresholdDbz();
    if (found != days_.end() && shownTerm(found->second) >= 0 &&
        Has(found->second.codes, d.layerCode) && found->second.cellDbz == cellDbz) {
        return &found->second;
    }
    if (loader_ || failed_ == d.dayKey + '\n' + d.termText) return nullptr;
    std::vector<int> codes = kCellCodes;
    if (!Has(codes, d.layerCode)) codes.push_back(d.layerCode);
    startLoading(std::move(codes), cellDbz);
    return nullptr;
}

void NowcastTools::startLoading(std::vector<int> codes, double cellDbz) {
    auto day = std::make_shared<Day>();
    day->codes = std::move(codes);
    day->cellDbz = cellDbz;
    auto read = std::make_shared<bool>(false);
    const NowcastHost::Shown shown = host_->shown();
    loader_ = QThread::create([day, read, reader = host_->dayReader()] {
        std::string error;
        *read = reader(day->codes, day->terms, error);
        CellOptions options;
        options.thresholdDbz = day->cellDbz;
        if (*read) day->cells = TrackDay(day->terms, options);
    });
    connect(loader_, &QThread::finished, this, [this, day, read, shown] {
        loader_->deleteLater();
        loader_ = nullptr;
        if (*read) {
            // The shown day and the one before it, for a loop across midnight.
            if (!days_.count(shown.dayKey) && days_.size() >= 2) days_.erase(days_.begin());
            Day& stored = days_[shown.dayKey];
            stored = std::move(*day);
            forecastKey_.clear();
            // A term the day does not hold is not read again and again.
            if (TermIn(stored, shown) < 0) failed_ = shown.dayKey + '\n' + shown.termText;
        } else {
            failed_ = shown.dayKey + '\n' + shown.termText;
        }
        redraw();
        host_->widget().update();
    });
    loader_->start();
}

int NowcastTools::shownTerm(const Day& day) const {
    return TermIn(day, host_->shown());
}

int NowcastTools::TermIn(const Day& day, const NowcastHost::Shown& shown) {
    const double at = TermMinutes(shown.termText);
    int nearest = -1;
    double best = 0.0;
    for (size_t k = 0; k < day.terms.size(); ++k) {
        // Terms of the day before (negative minutes) are never the shown one.
        if (day.terms[k].minutes < 0.0) continue;
        if (day.terms[k].termText == shown.termText) return static_cast<int>(k);
        const double off = std::abs(day.terms[k].minutes - at);
        if (at >= 0.0 && off <= shown.toleranceMinutes && (nearest < 0 || off < best)) {
            nearest = static_cast<int>(k);
            best = off;
        }
    }
    return nearest;
}

void NowcastTools::termShown() {
    lead_ = pendingLead_;
    pendingLead_ = 0;
    redraw();
}

void NowcastTools::redraw() {
    const bool listed = table_ && table_->isVisible();
    shownCells_.clear();
    image_ = QImage();
    if (!overlay_ && !listed) return;
    Day* day = shownDay();
    const int k = day ? shownTerm(*day) : -1;
    const GridValues* max =
        k >= 0 ? day->terms[static_cast<size_t>(k)].layer(kLayerColumnMax) : nullptr;
    if (max) {
        shownCells_ = day->cells[static_cast<size_t>(k)].cells;
        shownGrid_ = max->grid;
    }
    const NowcastHost::Shown d = host_->shown();
    if (listed) {
        table_->showCells(host_->placeName(), DayText(d.dayName), d.termText, shownCells_,
                          host_->centre());
    }
    viewKey_ = ViewKey();
    if (overlay_ && max) {
        const double dbz =
            UserSettings::value(QStringLiteral("nowcast/thresholdDbz"), kDefaultThresholdDbz)
                .toDouble();
        // A loop's next round shows the frames' overlays drawn on the first.
        const std::string key = viewKey_ + '\n' + d.dayKey + '\n' + d.termText + '\n' +
                                std::to_string(lead_) + ' ' + std::to_string(chosenId_) + ' ' +
                                std::to_string(dbz) + ' ' + std::to_string(day->cellDbz) + ' ' +
                                std::to_string(day->terms.size());
        for (const auto& [kept, image] : drawn_) {
            if (kept == key) {
                image_ = image;
                return;
            }
        }
        const double ratio = host_->ratio();
        const QRect area = host_->pictureArea();
        image_ = QImage(DevicePixels(area.width(), ratio), DevicePixels(area.height(), ratio),
                        QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(ratio);
        image_.fill(Qt::transparent);
        CanvasState state;
        Canvas canvas(image_, state);
        // The image starts at the area's corner.
        Viewport viewport = host_->viewport();
        viewport.left -= area.left();
        viewport.top -= area.top();
        if (lead_ == 0) {
            const MotionField motion =
                MotionAt(day->terms, static_cast<size_t>(k), kLayerColumnMax);
            const std::vector<GridValues> ahead =
                Extrapolate(*max, motion, kOutlineLeads, AdvectionOf(kLayerColumnMax));
            std::vector<ThresholdOutline> outlines;
            for (size_t l = 0; l < ahead.size(); ++l)
                outlines.push_back({&ahead[l], kOutlineLeads[l]});
            DrawThresholdOutlines(canvas, viewport, outlines, static_cast<int32_t>(dbz * 2.0));
        }
        DrawStormCells(canvas, viewport, shownGrid_, shownCells_, chosenId_);
        if (lead_ > 0) DrawForecastMark(canvas, viewport, d.termText, lead_);
        drawn_.emplace_back(key, image_);
        if (drawn_.size() > kKeptOverlays) drawn_.pop_front();
    }
}

std::string NowcastTools::ViewKey() const {
    const Viewport view = host_->viewport();
    const QRect area = host_->pictureArea();
    std::string key;
    for (const double figure :
         {static_cast<double>(view.left), static_cast<double>(view.top),
          static_cast<double>(view.side), static_cast<double>(view.Lon(view.left)),
          static_cast<double>(view.Lat(view.top)), static_cast<double>(view.Lon(view.right())),
          static_cast<double>(area.left()), static_cast<double>(area.top()),
          static_cast<double>(area.width()), static_cast<double>(area.height()), host_->ratio()}) {
        key += std::to_string(figure) + ' ';
    }
    return key;
}

void NowcastTools::viewShown() {
    if (overlay_ && !loader_ && ViewKey() != viewKey_) redraw();
}

void NowcastTools::paint(QPainter& painter) const {
    if (!overlay_ || image_.isNull() || !host_->shown().picture) return;
    const QRect area = host_->pictureArea();
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.drawImage(area.topLeft(), image_);
    painter.restore();
}

void NowcastTools::hover(QPoint at) {
    std::optional<size_t> under;
    if (overlay_ && !image_.isNull() && host_->pictureArea().contains(at)) {
        under = StormCellUnder(shownCells_, shownGrid_, host_->viewport(), at.x(), at.y());
    }
    if (under) {
        QWidget& window = host_->widget();
        QToolTip::showText(window.mapToGlobal(at),
                           QString::fromStdString(StormCellFigures(shownCells_[*under])), &window);
    } else if (hovered_) {
        QToolTip::hideText();
    }
    hovered_ = under;
}

const GridValues* NowcastTools::forecast(int leadMinutes) {
    const NowcastHost::Shown d = host_->shown();
    const std::string key = d.dayKey + '\n' + d.termText + '\n' + std::to_string(d.layerCode);
    if (key != forecastKey_) {
        forecasts_.clear();
        Day* day = shownDay();
        const int k = day ? shownTerm(*day) : -1;
        const GridValues* newest =
            k >= 0 ? day->terms[static_cast<size_t>(k)].layer(d.layerCode) : nullptr;
        if (newest && k > 0) {
            const DayTerm& term = day->terms[static_cast<size_t>(k)];
            const int motionLayer = term.layer(kLayerColumnMax) ? kLayerColumnMax : d.layerCode;
            const MotionField motion = MotionAt(day->terms, static_cast<size_t>(k), motionLayer);
            const std::vector<int> leads = NowcastLeads();
            std::vector<GridValues> ahead =
                Extrapolate(*newest, motion, leads, AdvectionOf(d.layerCode));
            for (size_t l = 0; l < ahead.size(); ++l) forecasts_[leads[l]] = std::move(ahead[l]);
        }
        forecastKey_ = key;
    }
    const auto found = forecasts_.find(leadMinutes);
    return found == forecasts_.end() ? nullptr : &found->second;
}

}  // namespace kalvera
