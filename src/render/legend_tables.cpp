#include "render/legend_tables.h"

#include <QCoreApplication>

#include "products/derived_products.h"
#include "products/vil_legend.h"
#include "render/translated_text.h"

namespace kalvera {

namespace {
std::string Tr(const char* text) {
    return TranslatedText("kalvera::Legend", text);
}
}  // namespace

const LegendLabels& WeatherLabels() {
    static const LegendLabels labels = {"Ci - As",
                                        "Ns",
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "Осадки слабые"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "Осадки умеренные"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "Осадки сильные"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "Мощнокучевые"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "ливень слабый"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "ливень умеренный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "ливень сильный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "гроза слабая"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "гроза умеренная"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "гроза сильная"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "град слабый"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "град умеренный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "град сильный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "шквал  слабый"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "шквал  умеренный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "шквал  сильный"),
                                        QT_TRANSLATE_NOOP("kalvera::Legend", "торнадо")};
    return labels;
}

const LegendLabels& HeightLabels() {
    static const LegendLabels labels = {"0-999 ",      "1000-1999",   "2000-2999",   "3000-3999",
                                        "4000-4999",   "5000-5999",   "6000-6999",   "7000-7999",
                                        "8000-8999",   "9000-9999",   "10000-10999", "11000-11999",
                                        "12000-12999", "13000-13999", "14000-14999", "15000-15999",
                                        "16000-16999", "17000-17999", ">=18000"};
    return labels;
}

const LegendLabels& ReflectivityLabels() {
    static const LegendLabels labels = {
        "0-5",   "6-10",  "11-15", "16-20", "21-25", "26-30", "31-35", "36-40", "41-45", "46-50",
        "51-60", "61-65", "65-70", "71-75", "76-80", "81-85", "86-90", "91-95", ">96"};
    return labels;
}

const LegendLabels& LabelsForLayer(int layerCode) {
    if (layerCode == 22) return WeatherLabels();
    if (layerCode == 21) return HeightLabels();
    if (layerCode == kLayerVil) return VilLabels();
    return ReflectivityLabels();
}

std::string LegendLabel(int layerCode, int box) {
    if (box < 1 || box > 19) return {};
    return TranslatedText("kalvera::Legend",
                          LabelsForLayer(layerCode)[static_cast<size_t>(box - 1)]);
}

const std::array<std::string_view, 7>& HeaderTitles() {
    static const std::array<std::string_view, 7> titles = {
        QT_TRANSLATE_NOOP("kalvera::Legend", "Срок"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Слой"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Значение"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Азимут"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Дальность"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Широта"),
        QT_TRANSLATE_NOOP("kalvera::Legend", "Долгота")};
    return titles;
}

std::string LayerTitle(int layerCode) {
    if (layerCode == 22) return Tr(QT_TRANSLATE_NOOP("kalvera::Legend", "Погода"));
    if (layerCode == 21) return Tr(QT_TRANSLATE_NOOP("kalvera::Legend", "Верх.граница"));
    if (layerCode == kLayerColumnMax)
        return Tr(QT_TRANSLATE_NOOP("kalvera::Legend", "Макс. отражаемость"));
    if (layerCode == kLayerVil) return Tr(QT_TRANSLATE_NOOP("kalvera::Legend", "VIL, кг/м²"));
    return QCoreApplication::translate("kalvera::Legend", "Отр. %1 - %2 км.")
        .arg(layerCode)
        .arg(static_cast<long long>(layerCode) + 1)
        .toStdString();
}

std::string LayerShortName(int layerCode) {
    if (layerCode == kLayerColumnMax) return Tr(QT_TRANSLATE_NOOP("kalvera::Legend", "Макс"));
    if (layerCode == kLayerVil) return "VIL";
    return std::to_string(layerCode);
}

}  // namespace kalvera
