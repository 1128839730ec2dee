#include "render/legend_tables.h"

#include "products/derived_products.h"
#include "products/vil_legend.h"

namespace kalvera {

const LegendLabels& WeatherLabels() {
    static const LegendLabels labels = {"Ci - As",          "Ns",
                                        "Осадки слабые",    "Осадки умеренные",
                                        "Осадки сильные",   "Мощнокучевые",
                                        "ливень слабый",    "ливень умеренный",
                                        "ливень сильный",   "гроза слабая",
                                        "гроза умеренная",  "гроза сильная",
                                        "град слабый",      "град умеренный",
                                        "град сильный",     "шквал  слабый",
                                        "шквал  умеренный", "шквал  сильный",
                                        "торнадо"};
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

std::string_view LegendLabel(int layerCode, int box) {
    if (box < 1 || box > 19) return {};
    return LabelsForLayer(layerCode)[static_cast<size_t>(box - 1)];
}

const std::array<std::string_view, 7>& HeaderTitles() {
    static const std::array<std::string_view, 7> titles = {
        "Срок", "Слой", "Значение", "Азимут", "Дальность", "Широта", "Долгота"};
    return titles;
}

std::string LayerTitle(int layerCode) {
    if (layerCode == 22) return "Погода";
    if (layerCode == 21) return "Верх.граница";
    if (layerCode == kLayerColumnMax) return "Макс. отражаемость";
    if (layerCode == kLayerVil) return "VIL, кг/м²";
    return "Отр. " + std::to_string(layerCode) + " - " +
           std::to_string(static_cast<long long>(layerCode) + 1) + " км.";
}

std::string LayerShortName(int layerCode) {
    if (layerCode == kLayerColumnMax) return "Макс";
    if (layerCode == kLayerVil) return "VIL";
    return std::to_string(layerCode);
}

}  // namespace kalvera
