#include "ui/nowcast_tools.h"

#include <QPainter>
#include <QThread>
#include <QToolTip>
#include <algorithm>
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

}  // namespace

NowcastTools::NowcastTools(TForm1& window, const ViewerState& viewer)
    : QObject(&window), window_(window), viewer_(viewer) {}

void NowcastTools::toggleOverlay() {
    overlay_ = !overlay_;
    termShown();
    window_.update();
}

void NowcastTools::openTable() {
    if (!table_) {
        table_ = new CellTableWindow(&window_);
        connect(table_, &CellTableWindow::cellChosen, this, [this](int id) {
            chosenId_ = id;
            if (!overlay_) overlay_ = true;
            redraw();
            window_.update();
        });
    }
    const LayoutRect& area = viewer_.layout.picture;
    table_->open(
        window_.mapToGlobal(QPoint(area.left + area.width / 2, area.top + area.height / 2)));
    termShown();
}

NowcastTools::~NowcastTools() {
    if (loader_) loader_->wait();
}

NowcastTools::Day* NowcastTools::shownDay() {
    const DisplayState& d = viewer_.display;
    const auto found = days_.find(d.indexPath);
    const double cellDbz = CellThresholdDbz();
    if (found != days_.end() && shownTerm(found->second) >= 0 &&
        Has(found->second.codes, d.layerCode) && found->second.cellDbz == cellDbz) {
        return &found->second;
    }
    if (loader_ || failed_ == d.indexPath + '\n' + d.termText) return nullptr;
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
    const DisplayState shown = viewer_.display;
    const LayerDecoder decode =
        viewer_.decoder ? LayerDecoder(viewer_.decoder) : LayerDecoder(DecodeArchiveMessage);
    loader_ = QThread::create([day, read, shown, decode] {
        std::string error;
        // The day before's last hour carries motion and tracks over midnight.
        *read = LoadTermsAcrossDays(shown, day->codes, "", day->terms, error, decode);
        CellOptions options;
        options.thresholdDbz = day->cellDbz;
        if (*read) day->cells = TrackDay(day->terms, options);
    });
    connect(loader_, &QThread::finished, this, [this, day, read, shown] {
        loader_->deleteLater();
        loader_ = nullptr;
        if (*read) {
            // The shown day and the one before it, for a loop across midnight.
            if (!days_.count(shown.indexPath) && days_.size() >= 2) days_.erase(days_.begin());
            days_[shown.indexPath] = std::move(*day);
            forecastKey_.clear();
        } else {
            failed_ = shown.indexPath + '\n' + shown.termText;
        }
        redraw();
        window_.update();
    });
    loader_->start();
}

int NowcastTools::shownTerm(const Day& day) const {
    for (size_t k = 0; k < day.terms.size(); ++k) {
        // Terms of the day before (negative minutes) are never the shown one.
        if (day.terms[k].minutes >= 0.0 && day.terms[k].termText == viewer_.display.termText) {
            return static_cast<int>(k);
        }
    }
    return -1;
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
    if (listed) {
        const DisplayState& d = viewer_.display;
        table_->showCells(SiteDisplayName(viewer_.config, d.siteCode), DayText(d.dayName),
                          d.termText, shownCells_, LatLon{d.siteLat, d.siteLon});
    }
    if (overlay_ && max) {
        const double dbz =
            UserSettings::value(QStringLiteral("nowcast/thresholdDbz"), kDefaultThresholdDbz)
                .toDouble();
        const double ratio = viewer_.PictureLayer.ratio();
        const int side = viewer_.side();
        image_ = QImage(DevicePixels(side, ratio), DevicePixels(side, ratio),
                        QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(ratio);
        image_.fill(Qt::transparent);
        CanvasState state;
        Canvas canvas(image_, state);
        const Viewport viewport = Viewport::Of(viewer_.view);
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
        if (lead_ > 0) DrawForecastMark(canvas, viewport, viewer_.display.termText, lead_);
    }
}

void NowcastTools::paint(QPainter& painter) const {
    if (!overlay_ || image_.isNull() || viewer_.display.messageOffset < 0) return;
    const LayoutRect& area = viewer_.layout.picture;
    painter.save();
    painter.setClipRect(area.left, area.top, area.width, area.height, Qt::IntersectClip);
    painter.drawImage(QPoint(area.left, area.top), image_);
    painter.restore();
}

void NowcastTools::hover(QPoint at) {
    const LayoutRect& area = viewer_.layout.picture;
    std::optional<size_t> under;
    if (overlay_ && !image_.isNull() && area.contains(at.x(), at.y())) {
        under = StormCellUnder(shownCells_, shownGrid_,
                               Viewport::Of(viewer_.view, area.left, area.top), at.x(), at.y());
    }
    if (under) {
        QToolTip::showText(window_.mapToGlobal(at),
                           QString::fromStdString(StormCellFigures(shownCells_[*under])), &window_);
    } else if (hovered_) {
        QToolTip::hideText();
    }
    hovered_ = under;
}

const GridValues* NowcastTools::forecast(int leadMinutes) {
    const DisplayState& d = viewer_.display;
    const std::string key = d.indexPath + '\n' + d.termText + '\n' + std::to_string(d.layerCode);
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
