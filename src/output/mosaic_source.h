#pragma once
// The composite of a term as the exports need it: the same MapSource a site's
// layer gives, holding the composite grid and the sites that made it. The
// command line, the publishing tick and the composite window load it here.

#include <memory>
#include <string>

#include "geo/app_config.h"
#include "mosaic/mosaic_term.h"
#include "output/map_source.h"
#include "output/odim_h5.h"

namespace kalvera {

struct MosaicChoice {
    std::vector<std::string> sites;  // empty: every site of the settings
    CompositeMethod method = CompositeMethod::Maximum;
    int toleranceMinutes = kDefaultToleranceMinutes;
};

// The composite's request for a day and term of the start directory.
MosaicRequest MosaicRequestOf(const AppConfig& config, const MosaicChoice& choice,
                              const std::string& dayName, const std::string& termText);

// The composite of `layerCode` as a map source, the loaded term in `term`.
// Null, with the reason and every site's, when no site takes part.
std::unique_ptr<MapSource> LoadMosaicSource(const AppConfig& config, MosaicLoader& loader,
                                            const MosaicRequest& request, int layerCode,
                                            CompositeMethod method, MosaicTerm& term,
                                            std::string& error);

// The composite of `layerCode` of a loaded term as a map source; its
// compositeSites are empty when no site gives that layer.
std::unique_ptr<MapSource> MosaicSourceOf(const AppConfig& config, const MosaicTerm& term,
                                          const std::string& dayName, const std::string& termText,
                                          int layerCode, CompositeMethod method);

// The products `layerCodes` of a loaded term that some site gives, as an
// ODIM_H5 COMP: the sites that took part in any of them as its nodes, and
// the method as its camethod. No datasets when no site gives any; no
// source (see odim_source.h).
OdimObject OdimCompositeOf(const MosaicTerm& term, const std::string& dayName,
                           const std::string& termText, const std::vector<int>& layerCodes,
                           CompositeMethod method);

// "sites 27612, 34122; missing 27595 (no term within 5 min of 12.00)".
std::string MosaicSummary(const MosaicTerm& term);

}  // namespace kalvera
