// Site, day and term navigation and the update timer.

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <vector>

#include "archive/day_archive.h"
#include "ui/main_window.h"

namespace kalvera {

void TForm1::locListBoxClick() {}

void TForm1::ReloadSite() {
    DisplayState& state = viewer_.display;
    const AppConfig& config = viewer_.config;
    const int site = selectedSiteIndex();
    if (site < static_cast<int>(config.siteList.names.size())) {
        state.siteCode = config.siteList.names[static_cast<size_t>(site)];
    }

    if (!FindLatestDay(state, config.dataRoot, clock_)) {
        dialogs_.showMessage(this, QStringLiteral("Не найдена база данных."), QString());
        reviewListBox->clear();
        ShowEmptyPicture();
        return;
    }
    ShowCurrentDate();

    std::vector<std::string> terms;
    reviewListBox->clear();
    LoadTermList(state.indexPath, terms);
    for (const std::string& term : terms) reviewListBox->addItem(QString::fromStdString(term));
    if (terms.empty()) return;
    state.termText = terms.back();

    std::vector<int> layers;
    state.layerCode = LoadLayerList(state.indexPath, state.termText, layers);
    if (state.layerCode == -1) {
        dialogs_.showMessage(this, QStringLiteral("Ошибка в базе данных"), windowTitle());
        EndProgram(1);
        return;
    }
    layerListBox->clear();
    for (int layer : layers) layerListBox->addItem(QString::number(layer));
    layerLabel->setText(QStringLiteral("Слой =%1").arg(state.layerCode));

    scaleScrollBar->setRange(10, 100);
    scaleScrollBar->setSingleStep(10);
    scaleScrollBar->setPageStep(10);
    scaleScrollBar->setValue(50);
    scaleLabel->setText(QStringLiteral("Масштаб: 1 дел = %1 км").arg(scaleScrollBar->value()));
    state.viewHalfExtentKm = static_cast<float>(scaleScrollBar->value() * 4);

    WriteHeaderCell(0, QString::fromStdString(state.termText));
    RenderPicture();
    filterLabel->setText(QStringLiteral("Фильтр = 0"));
}

void TForm1::reviewListBoxClick() {}
void TForm1::backButtonClick() {}
void TForm1::forwardButtonClick() {}
void TForm1::dateStaticTextClick() {}
void TForm1::Timer1Timer() {}
void TForm1::autoCheckBoxClick() {}
void TForm1::OpenCurrentDay() {}

}  // namespace kalvera
