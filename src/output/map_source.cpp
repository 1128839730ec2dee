#include "output/map_source.h"

#include <cctype>
#include <cstdio>

#include "archive/day_archive.h"
#include "geo/settings.h"
#include "products/layer_units.h"
#include "products/term_layers.h"

namespace kalvera {

std::unique_ptr<MapSource> LoadMapSource(const AppConfig& config, const DisplayState& at,
                                         int layerCode, std::string& error) {
    auto source = std::make_unique<MapSource>();
    // The decoder moves the view of the state it is given; the viewer's own
    // view stays where the operator put it.
    DisplayState scratch = at;
    scratch.layerCode = layerCode;
    scratch.recentre = 1;
    if (!LoadLayerPicture(scratch, source->grid)) {
        scratch = at;
        scratch.layerCode = layerCode;
        error = WhyNotLoaded(scratch);
        // A sentence of its own in the export's messages.
        error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error[0])));
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
    source->table = config.colours.tables[static_cast<size_t>(LayerKindOf(layerCode))];
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
