#include "output/header_lines.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include "common/date_time.h"
#include "common/domain_constants.h"
#include "products/derived_products.h"
#include "render/legend_tables.h"
#include "render/translated_text.h"

namespace kalvera {

std::string HeaderLine1() {
    return ProgramTitle().toStdString();
}

std::string HeaderLine2(HeaderForm form, const std::string& site, const std::string& date,
                        const std::string& term) {
    const QString line =
        form == HeaderForm::SaveButton
            ? QCoreApplication::translate("kalvera::Header", "РРП а/п %1. Дата %2 Время %3 сгв")
            : QCoreApplication::translate("kalvera::Header", "РРП а/п%1. Дата %2 Время %3 сгв");
    return line
        .arg(QString::fromStdString(site), QString::fromStdString(date),
             QString::fromStdString(term))
        .toStdString();
}

std::string HeaderLine3(int layerCode) {
    // A derived product has no layer of its own: its code is only the
    // program's, and the page names it as the window does.
    if (IsDerivedLayer(layerCode)) return LayerTitle(layerCode);
    return QCoreApplication::translate("kalvera::Header", "Слой %1").arg(layerCode).toStdString();
}

std::string ShortDateText(double dateTime) {
    const CivilDate civil = DecodeDate(dateTime);
    const QDate date(civil.year, civil.month, civil.day);
    return QLocale().toString(date, QLocale::ShortFormat).toStdString();
}

}  // namespace kalvera
