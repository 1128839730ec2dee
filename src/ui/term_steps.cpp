#include "ui/term_steps.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

#include "archive/day_archive.h"
#include "archive/frame_selection.h"
#include "archive/newest_term.h"
#include "common/clock.h"
#include "ui/main_window.h"

namespace kalvera {

namespace {

int RowOf(const QListWidget* list, const std::string& termText) {
    const QString text = QString::fromStdString(termText);
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toString() == text) return row;
    }
    return -1;
}

void ChooseRow(TForm1& form, int row) {
    QListWidget* list = form.controls().reviewListBox;
    if (row < 0 || row >= list->count()) return;
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
    form.reviewListBoxClick();
}

bool LaterDayHasTerms(TForm1& form) {
    const DisplayState& d = form.display();
    return TermAfterDay(form.viewer().config.dataRoot, d.siteCode, d.currentDate,
                        form.clock().now());
}

}  // namespace

bool ChooseTerm(TForm1& form, const std::string& termText) {
    const int row = RowOf(form.controls().reviewListBox, termText);
    ChooseRow(form, row);
    return row >= 0;
}

void StepTerm(TForm1& form, int direction) {
    const QListWidget* list = form.controls().reviewListBox;
    const int row = RowOf(list, form.display().termText);
    const int target = row < 0 ? (direction > 0 ? 0 : list->count() - 1) : row + direction;
    if (target >= 0 && target < list->count()) {
        ChooseRow(form, target);
    } else if (direction > 0) {
        StepDay(form, +1);
    } else {
        form.backButtonClick();
        ChooseRow(form, list->count() - 1);
    }
}

void StepDay(TForm1& form, int direction) {
    if (direction < 0) {
        form.backButtonClick();
    } else if (LaterDayHasTerms(form)) {
        form.forwardButtonClick();
    }
}

void ChooseDayEnd(TForm1& form, bool newest) {
    ChooseRow(form, newest ? form.controls().reviewListBox->count() - 1 : 0);
}

void ChooseNewestTerm(TForm1& form) {
    if (!form.openNewestTerm()) return;
    QListWidget* list = form.controls().reviewListBox;
    if (list->count() > 0) list->scrollToItem(list->item(list->count() - 1));
}

void HighlightTerm(TForm1& form, const LoopFrame& frame) {
    QListWidget* list = form.controls().reviewListBox;
    const QSignalBlocker quiet(list);
    const int row =
        frame.dayName == DayNameOf(form.display().currentDate) ? RowOf(list, frame.termText) : -1;
    list->setCurrentRow(row);
    if (row >= 0) list->scrollToItem(list->item(row));
}

void ReturnToListedDay(TForm1& form) {
    DisplayState& d = form.display();
    const DayArchive day =
        DayArchive::Of(form.viewer().config.dataRoot, d.siteCode, DayNameOf(d.currentDate));
    d.dayName = day.dayName;
    d.indexPath = day.indexPath;
    d.basePath = day.basePath;
}

void StepScale(TForm1& form, int steps) {
    QScrollBar* bar = form.controls().scaleScrollBar;
    bar->setValue(bar->value() + steps * bar->singleStep());
}

}  // namespace kalvera
