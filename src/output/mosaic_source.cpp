#include "output/mosaic_source.h"

#include <QCoreApplication>

#include "geo/colour_choice.h"
#include "geo/settings.h"
#include "output/odim_products.h"
#include "products/layer_units.h"

namespace kalvera {

MosaicRequest MosaicRequestOf(const AppConfig& config, const MosaicChoice& choice,
                              const std::string& dayName, const std::string& termText) {
    MosaicRequest request;
    request.dataRoot = config.dataRoot;
    request.siteCodes = choice.sites.empty() ? config.siteList.names : choice.sites;
    request.dayName = dayName;
    request.termText = termText;
    request.toleranceMinutes = choice.toleranceMinutes;
    return request;
}

std::unique_ptr<MapSource> LoadMosaicSource(const AppConfig& config, MosaicLoader& loader,
                                            const MosaicRequest& request, int layerCode,
                                            CompositeMethod method, MosaicTerm& term,
                                            std::string& error) {
    term = loader.Load(request, {layerCode});
    if (term.Present().empty()) {
        error = "No site took part in the composite of " + request.dayName + " " +
                request.termText + ": " + MosaicSummary(term);
        return nullptr;
    }
    return MosaicSourceOf(config, term, request.dayName, request.termText, layerCode, method);
}

std::unique_ptr<MapSource> MosaicSourceOf(const AppConfig& config, const MosaicTerm& term,
                                          const std::string& dayName, const std::string& termText,
                                          int layerCode, CompositeMethod method) {
    Composite composite = term.Product(layerCode, method);
    auto source = std::make_unique<MapSource>();
    source->layerCode = layerCode;
    source->composite = std::move(composite.values);
    for (size_t s = 0; s < term.layout->sites().size(); ++s) {
        if (s < composite.present.size() && composite.present[s]) {
            source->compositeSites.push_back(term.layout->sites()[s]);
        }
    }
    source->compositeMethod = CompositeMethodName(method);
    source->siteCode = "mosaic";
    source->siteName =
        QCoreApplication::translate("kalvera::Mosaic", "Сводная карта").toStdString();
    const RadarGrid& grid = term.layout->grid();
    source->siteLat = grid.latMin() + grid.cellLat() * static_cast<float>(grid.rows()) / 2.0f;
    source->siteLon = grid.lonMin() + grid.cellLon() * static_cast<float>(grid.columns()) / 2.0f;
    source->dayName = dayName;
    source->termText = termText;
    source->palette = config.palette;
    source->table = config.colours.tables[static_cast<size_t>(LayerKindOf(layerCode))];
    return source;
}

OdimObject OdimCompositeOf(const MosaicTerm& term, const std::string& dayName,
                           const std::string& termText, const std::vector<int>& layerCodes,
                           CompositeMethod method) {
    // The nominal date and time as a site's IMAGE carries them.
    OdimObject object = OdimImageOf(dayName, termText);
    object.object = "COMP";
    object.camethod = method == CompositeMethod::Maximum ? "MAXIMUM" : "NEAREST";
    if (!term.layout) return object;
    std::vector<bool> took(term.layout->sites().size(), false);
    // One call, so that max and VIL share the composed layers 1..10.
    std::vector<Composite> products = term.Products(layerCodes, method);
    for (size_t n = 0; n < products.size(); ++n) {
        const int code = layerCodes[n];
        Composite& composite = products[n];
        if (composite.presentCount() == 0) continue;
        for (size_t s = 0; s < took.size() && s < composite.present.size(); ++s)
            took[s] = took[s] || composite.present[s];
        object.datasets.push_back(OdimDatasetOf(code, std::move(composite.values)));
    }
    for (size_t s = 0; s < took.size(); ++s) {
        if (took[s]) object.nodes.push_back(term.layout->sites()[s].code);
    }
    return object;
}

std::string MosaicSummary(const MosaicTerm& term) {
    std::string present, missing;
    for (const MosaicSiteTerm& site : term.sites) {
        if (site.present) {
            present += (present.empty() ? "" : ", ") + site.code;
            if (!site.termText.empty()) present += " " + site.termText;
        } else {
            missing += (missing.empty() ? "" : ", ") + site.code + " (" + site.why + ")";
        }
    }
    return "sites " + (present.empty() ? std::string("none") : present) +
           (missing.empty() ? "" : "; missing " + missing);
}

}  // namespace kalvera
