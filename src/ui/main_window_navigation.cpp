// Site, day and term navigation and the update timer.

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "archive/day_archive.h"
#include "archive/newest_term.h"
#include "output/picture_export.h"
#include "products/derived_products.h"
#include "render/legend_tables.h"
#include "render/picture_render.h"
#include "render/translated_text.h"
#include "ui/calendar_form.h"
#include "ui/fitted_label.h"
#include "ui/list_box.h"
#include "ui/loop_controller.h"
#include "ui/main_window.h"

namespace kalvera {

namespace {

// Items carry what they stand for, so that a click never reads it back from
// the text shown; the term and layer drawn are highlighted, so that what the
// operator sees selected is what the picture shows.
void FillTerms(QListWidget* list, const std::vector<std::string>& terms, const std::string& drawn) {
    list->clear();
    for (const std::string& term : terms) {
        const QString text = QString::fromStdString(term);
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, text);
    }
    SelectByProgram(*list, QString::fromStdString(drawn));
}

constexpr int kDerivedItemMargin = 6;
constexpr int kSmallestDerivedItemPixels = 7;

// Each item carries its layer code; the products derived from layers 1..10
// follow the archive's layers when the term has any of those.
void FillLayers(QListWidget* list, const std::vector<int>& layers, int drawn) {
    list->clear();
    const auto add = [list](const QString& text, int code) {
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, code);
        return item;
    };
    // A derived product's name is longer than a layer code: it takes smaller
    // type to fit its column, and names itself in full in its tooltip.
    const auto addDerived = [list, &add](int code) {
        const QString text = QString::fromStdString(LayerShortName(code));
        QListWidgetItem* item = add(text, code);
        item->setToolTip(QString::fromStdString(LayerTitle(code)));
        item->setFont(FontFitting(list->font(), text, list->gridSize().width() - kDerivedItemMargin,
                                  kSmallestDerivedItemPixels));
    };
    for (int layer : layers) add(QString::number(layer), layer);
    if (std::any_of(layers.begin(), layers.end(), [](int layer) {
            return layer >= kFirstHeightLayer && layer <= kLastHeightLayer;
        })) {
        addDerived(kLayerColumnMax);
        addDerived(kLayerVil);
    }
    SelectByProgram(*list, QString::fromStdString(LayerShortName(drawn)));
}

// A missing export file is how an office says it wants no JPEG; only a file
// that could not be written is a failure. It is shown in the title, without
// stopping anything, until an export succeeds again.
void ExportAutomatically(TForm1& form, const ViewerState& viewer) {
    const std::string notice = form.automaticExport.run(viewer, form.autoExportPath);
    form.setWindowTitle(ProgramTitle() + QString::fromStdString(notice));
}

// While a loop runs the window shows its frames at the loop's layer; the
// newest term's weather layer is drawn on a copy of the viewer instead, so
// that the office's picture does not wait for the loop to end.
void ExportAside(TForm1& form, int layerCode) {
    ViewerState aside = form.viewer();
    aside.WindowDC.invalidate = nullptr;
    aside.display.layerCode = layerCode;
    if (RenderPicture(aside)) ExportAutomatically(form, aside);
}

// What the window shows under a date is that day's: a day without a term to
// draw shows the map alone at once, not only at the next paint, and nothing
// of the day before it is left to be redrawn, printed or exported.
void ShowMapAlone(TForm1& form) {
    ForgetPicture(form.viewer());
    form.ShowEmptyPicture();
}

}  // namespace

void TForm1::locListBoxClick() {
    viewer_.display.recentre = 0;
    ReloadSite();
}

void TForm1::openSite(const std::string& siteCode) {
    const std::vector<std::string>& names = viewer_.config.siteList.names;
    const auto found = std::find(names.begin(), names.end(), siteCode);
    if (found == names.end()) return;
    locListBox->setCurrentRow(static_cast<int>(found - names.begin()));
    locListBoxClick();
}

NewestTerm TForm1::openNewestDay(bool keepLayer) {
    DisplayState& state = viewer_.display;
    const int layer = state.layerCode;
    const NewestTerm newest = FollowNewestTerm(state, viewer_.config.dataRoot, clock_);
    if (!newest.dayFound) return newest;
    if (keepLayer) state.layerCode = layer;
    ShowCurrentDate();
    FillTerms(reviewListBox, newest.terms, state.termText);
    // After a failed layer lookup the list keeps the layers it had.
    if (newest.hasTerm() && newest.layerCode >= 0) {
        FillLayers(layerListBox, newest.layers, state.layerCode);
        showLayerLabel();
    }
    if (!newest.hasTerm()) ShowMapAlone(*this);
    return newest;
}

bool TForm1::openNewestTerm() {
    DisplayState& state = viewer_.display;
    const int shown = state.layerCode;
    const NewestTerm newest = openNewestDay();
    if (!newest.dayFound || !newest.hasTerm() || newest.layerCode < 0) return false;
    const bool heightLayers = std::any_of(newest.layers.begin(), newest.layers.end(), [](int l) {
        return l >= kFirstHeightLayer && l <= kLastHeightLayer;
    });
    const bool derived = shown == kLayerColumnMax || shown == kLayerVil;
    if ((derived && heightLayers) ||
        std::find(newest.layers.begin(), newest.layers.end(), shown) != newest.layers.end()) {
        state.layerCode = shown;
        FillLayers(layerListBox, newest.layers, state.layerCode);
        showLayerLabel();
    }
    WriteHeaderCell(0, QString::fromStdString(state.termText));
    RenderPicture();
    return true;
}

void TForm1::ReloadSite() {
    DisplayState& state = viewer_.display;
    const AppConfig& config = viewer_.config;
    const int site = selectedSiteIndex();
    if (site < static_cast<int>(config.siteList.names.size())) {
        state.siteCode = config.siteList.names[static_cast<size_t>(site)];
    }

    const NewestTerm newest = openNewestDay();
    if (!newest.dayFound) {
        dialogs_.showMessage(this, tr("Не найдена база данных."), QString());
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
    if (!newest.hasTerm()) return;
    if (newest.layerCode == -1) {
        dialogs_.showMessage(this, tr("Ошибка в базе данных"), QString());
        EndProgram(1);
        return;
    }

    // The bars are reset without their change handlers: the picture is drawn
    // once, below, with both already in place.
    resetScaleBar();
    resetFilterBar();
    WriteHeaderCell(0, QString::fromStdString(state.termText));
    RenderPicture();
    showFilterLabel();
}

void TForm1::reviewListBoxClick() {
    // Only an item the operator selected names a term.
    QListWidgetItem* item = reviewListBox->currentItem();
    if (reviewListBox->count() == 0 || item == nullptr || !item->isSelected()) return;
    DisplayState& state = viewer_.display;
    const QString term = item->data(Qt::UserRole).toString();
    state.termText = term.toStdString();
    WriteHeaderCell(0, term);

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
    stepDay(-1.0);
}

void TForm1::forwardButtonClick() {
    stepDay(1.0);
}

void TForm1::stepDay(double days) {
    reviewListBox->clear();
    viewer_.display.currentDate += days;
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
    if (!drawable) {
        ShowMapAlone(*this);
        return;
    }

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
    // A running loop keeps its layer, and the new term joins it right after
    // this handler (LoopController::followUpdate), to be drawn in its turn.
    const bool looping = loop != nullptr && loop->running();
    const NewestTerm newest = openNewestDay(looping);
    if (!newest.dayFound) reviewListBox->clear();
    if (newest.hasTerm() && looping) {
        if (newest.exportDue()) ExportAside(*this, newest.layerCode);
    } else if (newest.hasTerm()) {
        // The tick draws the term it selects, so that the screen, the header
        // and the exported picture all show the same term. A term that could
        // not be drawn is not exported: the layers still hold an older one.
        WriteHeaderCell(0, QString::fromStdString(viewer_.display.termText));
        const bool drawn = RenderPicture();
        if (drawn && newest.exportDue()) ExportAutomatically(*this, viewer_);
    }
    // Whatever happened above, automatic update goes on.
    if (!endRequested_) SetTimer1Enabled(true);
}

void TForm1::autoCheckBoxClick() {
    SetTimer1Enabled(autoCheckBox->isChecked());
}

}  // namespace kalvera
