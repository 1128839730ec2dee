#include "output/map_source.h"

#include <cctype>
#include <chrono>
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

GridValues MapSource::Cells() const {
    return composite ? *composite : GridValues::OfPicture(grid, siteLon, siteLat);
}

std::string IsoTimeOf(const std::string& dayName, const std::string& termText) {
    CivilDate date;
    const int minute = TermMinuteOfDay(termText);
    if (!ParseDayName(dayName, date) || minute < 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00Z", date.year, date.month,
                  date.day, minute / 60, minute % 60);
    return text;
}

std::string ValidTimeOf(const MapSource& source) {
    const std::string base = IsoTimeOf(source.dayName, source.termText);
    if (base.empty() || source.leadMinutes == 0) return base;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    if (std::sscanf(base.c_str(), "%d-%d-%dT%d:%d", &y, &mo, &d, &h, &mi) != 5) return "";
    using namespace std::chrono;
    const sys_time<minutes> valid =
        sys_days{year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}} +
        hours{h} + minutes{mi + source.leadMinutes};
    const sys_days date = floor<days>(valid);
    const year_month_day ymd{date};
    const hh_mm_ss<minutes> clock{valid - date};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:00Z", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()));
    return text;
}

}  // namespace kalvera
