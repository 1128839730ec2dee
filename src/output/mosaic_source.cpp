#include "output/mosaic_source.h"

#include <QCoreApplication>

#include "geo/colour_choice.h"
#include "products/layer_units.h"
#include "geo/settings.h"

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
    auto source = std::make_unique<MapSource>();
    Composite composite = term.Product(layerCode, method);
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
    source->dayName = request.dayName;
    source->termText = request.termText;
    source->palette = config.palette;
    source->table = config.colours.tables[static_cast<size_t>(LayerKindOf(layerCode))];
    return source;
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
