#include "ui/calendar_form.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QToolButton>
#include <algorithm>

#include "archive/day_archive.h"
#include "common/date_time.h"

namespace kalvera {

const std::array<const char*, 12>& MonthNames() {
    static const std::array<const char*, 12> names = {
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Январь"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Февраль"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Март"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Апрель"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Май"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Июнь"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Июль"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Август"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Сентябрь"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Октябрь"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Ноябрь"),
        QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Декабрь")};
    return names;
}

namespace {
constexpr int kFirstYear = 1970;
const std::array<const char*, 7> kWeekdayCaptions = {
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Пн"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Вт"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Ср"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Чт"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Пт"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Сб"),
    QT_TRANSLATE_NOOP("kalvera::TcalendarForm", "Вс")};
}  // namespace

TcalendarForm::TcalendarForm(const AppConfig& config, DisplayState& state, QWidget* parent)
    : QDialog(parent), config_(config), state_(state) {
    // Until the first pick names a day; an empty title would have the window
    // system show the program's file name. One short word: the dialog is
    // narrow, and a window manager's title bar keeps little room for text
    // beside its buttons ("Выбор даты" was cut to "Вы…аты").
    setWindowTitle(tr("Дата"));
    setFixedSize(162, 190);
    move(325, 202);
    QFont face = font();
    face.setPixelSize(11);
    setFont(face);

    yearCombo = new QComboBox(this);
    yearCombo->setGeometry(0, 0, 81, kCell);
    monthCombo = new QComboBox(this);
    monthCombo->setGeometry(80, 0, 73, kCell);
    // Typed text would leave the boxes without a selected item.
    yearCombo->setEditable(false);
    monthCombo->setEditable(false);
    for (const char* name : MonthNames()) monthCombo->addItem(tr(name));

    FormCreate();
    fitCombos();

    connect(yearCombo, &QComboBox::currentIndexChanged, this, [this] { yearComboChange(); });
    connect(monthCombo, &QComboBox::currentIndexChanged, this, [this] { monthComboChange(); });
}

void TcalendarForm::fitCombos() {
    // The boxes keep their places while the longest month fits (it does in
    // Russian at the default type); a longer one ("September", or larger
    // type) takes room from the year, which needs only four digits, and
    // widens the dialog only when that is not enough.
    constexpr int kYearLeft = 0, kYearWidth = 81, kMonthLeft = 80, kMonthWidth = 73;
    const int monthWanted = monthCombo->sizeHint().width();
    if (monthWanted <= kMonthWidth) return;
    const int yearWanted = yearCombo->sizeHint().width();
    const int yearWidth = std::max(yearWanted, kYearWidth - (monthWanted - kMonthWidth));
    yearCombo->setGeometry(kYearLeft, 0, yearWidth, kCell);
    monthCombo->setGeometry(yearWidth - 1, 0, monthWanted, kCell);
    const int right = yearWidth - 1 + monthWanted + (width() - kMonthLeft - kMonthWidth);
    if (right > width()) setFixedSize(right, height());
}

void TcalendarForm::FormCreate() {
    for (int column = 0; column < kMonthGridColumns; ++column) {
        QLabel* label = new QLabel(tr(kWeekdayCaptions[column]), this);
        label->setGeometry(column * kCell, kCell, kCell, kCell);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
        label->setPalette(colours);
        weekdayLabels[column] = label;
    }
    for (int cell = 0; cell < kMonthGridCells; ++cell) {
        QToolButton* button = new QToolButton(this);
        const int row = cell / kMonthGridColumns;
        const int column = cell % kMonthGridColumns;
        button->setGeometry(column * kCell, row * kCell + 2 * kCell, kCell, kCell);
        button->setAutoRaise(false);
        button->setEnabled(false);
        connect(button, &QToolButton::clicked, this, [this, cell] { dayButtonClick(cell); });
        dayButtons[cell] = button;
    }

    const CivilDate today = DecodeDate(state_.currentDate);
    monthCombo->setCurrentIndex(today.month - 1);
    for (int year = kFirstYear; year <= today.year; ++year) {
        yearCombo->addItem(QString::number(year), year);
    }
    yearCombo->setCurrentIndex(yearCombo->count() - 1);
    relist();
}

int TcalendarForm::shownYear() const {
    if (yearCombo->currentIndex() < 0) return 0;
    bool ok = false;
    const int year = yearCombo->currentData().toInt(&ok);
    return ok ? year : 0;
}

int TcalendarForm::shownMonth() const {
    const int index = monthCombo->currentIndex();
    return index < 0 ? 0 : index + 1;
}

void TcalendarForm::relist() {
    const int year = shownYear();
    const int month = shownMonth();
    ListDaysWithData(year, month);
    LayOutMonth(year, month);
}

void TcalendarForm::yearComboChange() {
    relist();
}

void TcalendarForm::monthComboChange() {
    relist();
}

void TcalendarForm::ListDaysWithData(int year, int month) {
    // The site is read now, not at creation: the operator may have changed it.
    daysWithData_ =
        kalvera::ListDaysWithData(SiteDirectory(config_.dataRoot, state_.siteCode), year, month);
}

void TcalendarForm::LayOutMonth(int year, int month) {
    shownGrid_ = kalvera::LayOutMonth(year, month, daysWithData_);
    for (int cell = 0; cell < kMonthGridCells; ++cell) {
        const MonthCell& day = shownGrid_[cell];
        dayButtons[cell]->setText(day.day > 0 ? QString::number(day.day) : QString());
        dayButtons[cell]->setEnabled(day.day > 0 && day.enabled);
    }
}

void TcalendarForm::dayButtonClick(int cell) {
    if (cell < 0 || cell >= kMonthGridCells) return;
    const int day = shownGrid_[cell].day;
    const int year = shownYear();
    const int month = shownMonth();
    if (year == 0 || month == 0 || day < 1 || day > DaysInMonth(year, month)) return;
    const std::string dayName = PickedDayName(year, month, day);
    if (dayName.empty()) return;

    state_.dayName = dayName;
    state_.currentDate = EncodeDate(year, month, day);
    picked_ = true;
    accept();
    setWindowTitle(QString::fromStdString(dayName));
}

bool TcalendarForm::pickDay() {
    picked_ = false;
    exec();
    return picked_;
}

}  // namespace kalvera
