#pragma once
// The date picker: one month as a 6 x 7 grid of day buttons, Monday first.
// Only days for which the current site has an index file can be picked. The
// dialog is made once and only hidden between uses, so it reopens on the
// month last shown.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "archive/day_listing.h"
#include "common/display_state.h"
#include "geo/app_config.h"

class QComboBox;
class QLabel;
class QToolButton;

namespace kalvera {

class TcalendarForm : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kCell = 21;

    // Reads `state` (currentDate at creation, siteCode at each listing) and
    // writes dayName and currentDate when a day is picked.
    TcalendarForm(const AppConfig& config, DisplayState& state, QWidget* parent = nullptr);

    QComboBox* yearCombo = nullptr;
    QComboBox* monthCombo = nullptr;
    std::array<QToolButton*, kMonthGridCells> dayButtons{};
    std::array<QLabel*, kMonthGridColumns> weekdayLabels{};

    void yearComboChange();
    void monthComboChange();
    void ListDaysWithData(int year, int month);
    void LayOutMonth(int year, int month);
    void dayButtonClick(int cell);

    // Shows the dialog modally; true when a day was picked (dayName and
    // currentDate have been set), false when it was closed otherwise.
    bool pickDay();

    // Year and month that the grid shows; 0 when no year is selected.
    int shownYear() const;
    int shownMonth() const;

  private:
    void FormCreate();
    // Widens the month box to its longest name where that is cut.
    void fitCombos();
    void relist();

    const AppConfig& config_;
    DisplayState& state_;
    std::vector<std::string> daysWithData_;
    MonthGrid shownGrid_{};  // what the day buttons show; a click reads its day here
    bool picked_ = false;
};

// Month names as the month box lists them, January first.
const std::array<const char*, 12>& MonthNames();

}  // namespace kalvera
