#include "output/header_lines.h"

#include <QDate>
#include <QLocale>

#include "common/date_time.h"
#include "common/domain_constants.h"

namespace kalvera {

std::string HeaderLine1() {
    return kWindowTitle;
}

std::string HeaderLine2(HeaderForm form, const std::string& site, const std::string& date,
                        const std::string& term) {
    const char* lead = form == HeaderForm::SaveButton ? "РРП а/п " : "РРП а/п";
    return lead + site + ". Дата " + date + " Время " + term + " сгв";
}

std::string HeaderLine3(int layerCode) {
    return "Слой " + std::to_string(layerCode);
}

std::string ShortDateText(double dateTime) {
    const CivilDate civil = DecodeDate(dateTime);
    const QDate date(civil.year, civil.month, civil.day);
    return QLocale::system().toString(date, QLocale::ShortFormat).toStdString();
}

}  // namespace kalvera
