#include "output/odim_products.h"

#include "output/layer_quantity.h"
#include "output/map_source.h"
#include "products/derived_products.h"
#include "products/layer_units.h"

namespace kalvera {

namespace {

constexpr int kLegendClasses = 19;
constexpr double kMetresPerKm = 1000.0;

// Keys for machines rather than people: the same in every UI language, so a
// partner's reader can match them; the picture's legend keeps the words.
constexpr const char* kWeatherKeys[kLegendClasses] = {"cirrus_altostratus",
                                                      "nimbostratus",
                                                      "precipitation_light",
                                                      "precipitation_moderate",
                                                      "precipitation_heavy",
                                                      "cumulus_congestus",
                                                      "shower_light",
                                                      "shower_moderate",
                                                      "shower_heavy",
                                                      "thunderstorm_light",
                                                      "thunderstorm_moderate",
                                                      "thunderstorm_heavy",
                                                      "hail_light",
                                                      "hail_moderate",
                                                      "hail_heavy",
                                                      "squall_light",
                                                      "squall_moderate",
                                                      "squall_heavy",
                                                      "tornado"};

std::vector<OdimLegendEntry> WeatherLegend() {
    std::vector<OdimLegendEntry> legend;
    for (int code = 1; code <= kLegendClasses; ++code)
        legend.push_back({kWeatherKeys[code - 1], std::to_string(code)});
    return legend;
}

}  // namespace

OdimDataset OdimDatasetOf(int layerCode, GridValues values) {
    OdimDataset dataset;
    dataset.values = std::move(values);
    dataset.nodata = kNoDataCell;
    dataset.undetect = 0.0;
    // The raw values go in as they are; the gain makes them the quantity's
    // SI unit (dBZ, m, kg/m2), as a GeoTIFF of the layer holds them.
    dataset.gain = 1.0 / RawStepsPerUnit(layerCode);
    if (layerCode == kLayerEchoTops) {
        dataset.product = "ETOP";
        // Metres, as the archive holds them: the model's SI unit since 2.4.
        dataset.quantity = "HGHT";
    } else if (layerCode == kLayerWeather) {
        dataset.product = "SURF";
        dataset.quantity = "CLASS";
        dataset.legend = WeatherLegend();
    } else if (layerCode == kLayerVil) {
        dataset.product = "VIL";
        dataset.quantity = "VIL";
        dataset.prodpar = {1.0 * kMetresPerKm, 11.0 * kMetresPerKm};
    } else if (layerCode == kLayerColumnMax) {
        dataset.product = "MAX";
        dataset.quantity = "DBZH";
    } else {
        dataset.product = "CAPPI";
        dataset.quantity = "DBZH";
        dataset.prodpar = {(layerCode + 0.5) * kMetresPerKm};
    }
    return dataset;
}

OdimObject OdimImageOf(const std::string& dayName, const std::string& termText) {
    OdimObject object;
    object.object = "IMAGE";
    const std::string iso = IsoTimeOf(dayName, termText);  // 2026-12-07T12:00:00Z
    if (iso.size() >= 19) {
        object.date = iso.substr(0, 4) + iso.substr(5, 2) + iso.substr(8, 2);
        object.time = iso.substr(11, 2) + iso.substr(14, 2) + iso.substr(17, 2);
    }
    return object;
}

ProductFound CollectOdimImage(const TermProducts& term, const DisplayState& at,
                              const std::vector<int>& layerCodes, OdimObject& out,
                              std::string& reason) {
    out = OdimImageOf(at.dayName, at.termText);
    for (const int code : layerCodes) {
        GridValues values;
        const ProductFound found = term.Product(code, values, reason);
        if (found == ProductFound::Broken) return found;
        if (found == ProductFound::Present)
            out.datasets.push_back(OdimDatasetOf(code, std::move(values)));
    }
    return out.datasets.empty() ? ProductFound::Absent : ProductFound::Present;
}

bool LoadOdimImage(const DisplayState& at, const std::vector<int>& layerCodes, OdimObject& out,
                   std::string& error) {
    TermProducts term;
    if (!term.Load(at, error)) return false;
    const ProductFound found = CollectOdimImage(term, at, layerCodes, out, error);
    if (found == ProductFound::Absent)
        error = "term " + at.termText + " holds none of the products in " + at.indexPath;
    return found == ProductFound::Present;
}

}  // namespace kalvera
