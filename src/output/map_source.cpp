#include "output/map_source.h"

#include <cstdio>
#include <vector>

#include "archive/day_archive.h"
#include "products/term_layers.h"
#include "geo/settings.h"

namespace kalvera {

std::unique_ptr<MapSource> LoadMapSource(const AppConfig& config, const DisplayState& at,
                                         int layerCode, std::string& error) {
    const std::string what = "term " + at.termText + ", layer " + std::to_string(layerCode);
    std::vector<std::string> terms;
    if (LoadTermList(at.indexPath, terms) == 0) {
        error = "Cannot read the index file " + at.indexPath;
        return nullptr;
    }
    const bool derived = IsDerivedLayer(layerCode);
    if (!derived && FindMessageOffset(at.indexPath, at.termText, layerCode) < 0) {
        error = "No message for " + what + " in " + at.indexPath;
        return nullptr;
    }
    auto source = std::make_unique<MapSource>();
    // The decoder moves the view of the state it is given; the viewer's own
    // view stays where the operator put it.
    DisplayState scratch = at;
    scratch.layerCode = layerCode;
    scratch.recentre = 1;
    if (!LoadLayerPicture(scratch, source->grid)) {
        error = derived ? "No layer 1..10 of term " + at.termText + " decodes from " + at.basePath
                        : "The message for " + what + " in " + at.basePath + " does not decode";
        return nullptr;
    }
    source->layerCode = layerCode;
    source->siteLat = scratch.siteLat;
    source->siteLon = scratch.siteLon;
    source->siteCode = at.siteCode;
    source->siteName = SiteDisplayName(config, at.siteCode);
    source->dayName = at.dayName;
    source->termText = at.termText;
    source->palette = config.palette;
    return source;
}

std::string IsoTimeOf(const std::string& dayName, const std::string& termText) {
    int hour = 0, minute = 0;
    if (dayName.size() != 6 || dayName.find_first_not_of("0123456789") != std::string::npos ||
        !SplitTermText(termText, hour, minute) || hour > 23 || minute > 59 || hour < 0 ||
        minute < 0) {
        return "";
    }
    char text[32];
    std::snprintf(text, sizeof text, "20%s-%s-%sT%02d:%02d:00Z", dayName.substr(0, 2).c_str(),
                  dayName.substr(2, 2).c_str(), dayName.substr(4, 2).c_str(), hour, minute);
    return text;
}

}  // namespace kalvera
