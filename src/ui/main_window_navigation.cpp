// Site, day and term navigation and the update timer.

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "archive/day_archive.h"
#include "archive/day_listing.h"
#include "output/picture_export.h"
#include "products/derived_products.h"
#include "render/picture_render.h"
#include "ui/calendar_form.h"
#include "ui/list_box.h"
#include "ui/main_window.h"

namespace kalvera {

namespace {

constexpr int kScaleMinimum = 10;
constexpr int kScaleMaximum = 100;
constexpr int kScaleStep = 10;
constexpr int kScaleDefault = 50;

QString WindowTitle() {
    return QStringLiteral("КАЛВЕРА");
}

// The lists highlight the term and layer drawn, so that what the operator
// sees selected is what the picture shows.
void FillTerms(QListWidget* list, const std::vector<std::string>& terms, const std::string& drawn) {
    list->clear();
    for (const std::string& term : terms) list->addItem(QString::fromStdString(term));
    SelectByProgram(*list, QString::fromStdString(drawn));
}

// Each item carries its layer code; the products derived from layers 1..10
// follow the archive's layers when the term has any of those.
void FillLayers(QListWidget* list, const std::vector<int>& layers, int drawn) {
    list->clear();
    const auto add = [list](const QString& text, int code) {
        (new QListWidgetItem(text, list))->setData(Qt::UserRole, code);
    };
    for (int layer : layers) add(QString::number(layer), layer);
    QString drawnText = QString::number(drawn);
    if (std::any_of(layers.begin(), layers.end(), [](int layer) {
            return layer >= kFirstHeightLayer && layer <= kLastHeightLayer;
        })) {
        add(QStringLiteral("Макс"), kLayerColumnMax);
        add(QStringLiteral("VIL"), kLayerVil);
        if (drawn == kLayerColumnMax) drawnText = QStringLiteral("Макс");
        if (drawn == kLayerVil) drawnText = QStringLiteral("VIL");
    }
    SelectByProgram(*list, drawnText);
}

// A missing export file is how an office says it wants no JPEG; only a file
// that could not be written is a failure. It is shown in the title, without
// stopping anything, until an export succeeds again.
void ExportAutomatically(TForm1& form) {
    const std::string notice = form.automaticExport.run(form.viewer(), form.autoExportPath);
    form.setWindowTitle(WindowTitle() + QString::fromStdString(notice));
}

}  // namespace

void TForm1::locListBoxClick() {
    viewer_.display.recentre = 0;
    ReloadSite();
}

void TForm1::ReloadSite() {
    DisplayState& state = viewer_.display;
    const AppConfig& config = viewer_.config;
    const int site = selectedSiteIndex();
    if (site < static_cast<int>(config.siteList.names.size())) {
        state.siteCode = config.siteList.names[static_cast<size_t>(site)];
    }

    if (!FindLatestDay(state, config.dataRoot, clock_)) {
        dialogs_.showMessage(this, QStringLiteral("Не найдена база данных."), QString());
        // The search puts the previous day back so that the date shown stays
        // true; its files belong to the previous site, so none is named now,
        // and no later redraw, print or export can show that site's picture
        // under this one.
        state.indexPath.clear();
        state.basePath.clear();
        ForgetPicture(viewer_);
        reviewListBox->clear();
        ShowEmptyPicture();
        return;
    }
    ShowCurrentDate();

    std::vector<std::string> terms;
    LoadTermList(state.indexPath, terms);
    FillTerms(reviewListBox, terms, terms.empty() ? std::string() : terms.back());
    if (terms.empty()) return;
    state.termText = terms.back();

    std::vector<int> layers;
    state.layerCode = LoadLayerList(state.indexPath, state.termText, layers);
    if (state.layerCode == -1) {
        dialogs_.showMessage(this, QStringLiteral("Ошибка в базе данных"), QString());
        EndProgram(1);
        return;
    }
    FillLayers(layerListBox, layers, state.layerCode);
    showLayerLabel();

    // The bars are reset without their change handlers: the picture is drawn
    // once, below, with both already in place.
    {
        const QSignalBlocker blockScale(scaleScrollBar);
        scaleScrollBar->setRange(kScaleMinimum, kScaleMaximum);
        scaleScrollBar->setSingleStep(kScaleStep);
        scaleScrollBar->setPageStep(kScaleStep);
        scaleScrollBar->setValue(kScaleDefault);
    }
    showScaleLabel();
    state.viewHalfExtentKm = static_cast<float>(scaleScrollBar->value() * 4);
    // A new site starts unfiltered, so that "Фильтр = 0" is what is drawn.
    {
        const QSignalBlocker blockFilter(filterScrollBar);
        filterScrollBar->setValue(0);
    }
    state.filterThreshold = 0;

    WriteHeaderCell(0, QString::fromStdString(state.termText));
    RenderPicture();
    showFilterLabel();
}

void TForm1::reviewListBoxClick() {
    // Only an item the operator selected names a term.
    QListWidgetItem* item = reviewListBox->currentItem();
    if (reviewListBox->count() == 0 || item == nullptr || !item->isSelected()) return;
    DisplayState& state = viewer_.display;
    state.termText = item->text().toStdString();
    WriteHeaderCell(0, item->text());

    std::vector<int> layers;
    const int highest = LoadLayerList(state.indexPath, state.termText, layers);
    if (highest >= 0) FillLayers(layerListBox, layers, state.layerCode);
    if (highest < 1) {
        ShowEmptyPicture();
    } else {
        RenderPicture();
    }
}

void TForm1::backButtonClick() {
    reviewListBox->clear();
    viewer_.display.currentDate -= 1.0;
    ShowCurrentDate();
    viewer_.display.dayName = DayNameOf(viewer_.display.currentDate);
    OpenCurrentDay();
}

void TForm1::forwardButtonClick() {
    reviewListBox->clear();
    viewer_.display.currentDate += 1.0;
    ShowCurrentDate();
    viewer_.display.dayName = DayNameOf(viewer_.display.currentDate);
    OpenCurrentDay();
}

void TForm1::dateStaticTextClick() {
    if (calendarForm == nullptr) {
        calendarForm = new TcalendarForm(viewer_.config, viewer_.display, this);
        connect(calendarForm, &QObject::destroyed, [] { calendarForm = nullptr; });
    }
    dialogs_.runModal(*calendarForm);
    ShowCurrentDate();
    OpenCurrentDay();
}

void TForm1::OpenCurrentDay() {
    DisplayState& state = viewer_.display;
    const DayArchive day = DayArchive::Of(viewer_.config.dataRoot, state.siteCode, state.dayName);
    state.indexPath = day.indexPath;
    state.basePath = day.basePath;

    std::vector<std::string> terms;
    LoadTermList(state.indexPath, terms);
    // After a failed layer lookup there is no layer to draw the day with.
    const bool drawable = !terms.empty() && state.layerCode >= 0;
    FillTerms(reviewListBox, terms, drawable ? terms.front() : std::string());
    if (terms.empty()) {
        WriteHeaderCell(0, QString());
        return;
    }
    if (!drawable) return;

    state.termText = terms.front();
    WriteHeaderCell(0, QString::fromStdString(state.termText));
    std::vector<int> layers;
    if (LoadLayerList(state.indexPath, state.termText, layers) >= 0) {
        FillLayers(layerListBox, layers, state.layerCode);
    }
    RenderPicture();
}

void TForm1::Timer1Timer() {
    SetTimer1Enabled(false);
    DisplayState& state = viewer_.display;
    const NewestTerm newest = FollowNewestTerm(state, viewer_.config.dataRoot, clock_);
    if (newest.dayFound) ShowCurrentDate();
    FillTerms(reviewListBox, newest.terms, state.termText);
    if (!newest.terms.empty()) {
        if (newest.layerCode >= 0) {
            FillLayers(layerListBox, newest.layers, state.layerCode);
            showLayerLabel();
        }
        // The tick draws the term it selects, so that the screen, the header
        // and the exported picture all show the same term. A term that could
        // not be drawn is not exported: the layers still hold an older one.
        WriteHeaderCell(0, QString::fromStdString(state.termText));
        const bool drawn = RenderPicture();
        if (drawn && newest.layerCode == kLayerWeather) ExportAutomatically(*this);
    }
    // Whatever happened above, automatic update goes on.
    if (!endRequested_) SetTimer1Enabled(true);
}

void TForm1::autoCheckBoxClick() {
    SetTimer1Enabled(autoCheckBox->isChecked());
}

}  // namespace kalvera
