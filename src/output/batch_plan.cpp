#include "output/batch_plan.h"

#include <cmath>
#include <cstdio>

#include "archive/day_archive.h"
#include "common/date_time.h"
#include "products/derived_products.h"

namespace kalvera {

namespace {

bool DateOf(const std::string& name, double& date) {
    CivilDate civil;
    if (!ParseDayName(name, civil)) return false;
    date = EncodeDate(civil.year, civil.month, civil.day);
    return true;
}

}  // namespace

bool ParseBatchFormat(const std::string& text, BatchFormat& format) {
    if (text == "tif") {
        format = BatchFormat::GeoTiff;
    } else if (text == "h5") {
        format = BatchFormat::OdimH5;
    } else if (text == "png") {
        format = BatchFormat::Png;
    } else if (text == "kmz") {
        format = BatchFormat::Kmz;
    } else {
        return false;
    }
    return true;
}

const char* BatchSuffix(BatchFormat format) {
    switch (format) {
        case BatchFormat::GeoTiff:
            return ".tif";
        case BatchFormat::OdimH5:
            return ".h5";
        case BatchFormat::Png:
            return ".png";
        case BatchFormat::Kmz:
            return ".kmz";
    }
    return "";
}

std::vector<std::string> DaysBetween(const std::string& from, const std::string& to) {
    double first = 0.0, last = 0.0;
    std::vector<std::string> days;
    if (!DateOf(from, first) || !DateOf(to, last)) return days;
    for (double day = first; day <= last + 0.5; day += 1.0) days.push_back(DayNameOf(day));
    return days;
}

std::vector<SiteDay> SiteDaysOf(const std::vector<std::string>& sites,
                                const std::vector<std::string>& days) {
    std::vector<SiteDay> all;
    all.reserve(sites.size() * days.size());
    for (const std::string& day : days) {
        for (const std::string& site : sites) all.push_back({site, day});
    }
    return all;
}

std::vector<SiteDay> ShardOf(const std::vector<SiteDay>& all, int k, int n) {
    std::vector<SiteDay> part;
    if (n < 1 || k < 1 || k > n) return part;
    for (size_t i = static_cast<size_t>(k - 1); i < all.size(); i += static_cast<size_t>(n))
        part.push_back(all[i]);
    return part;
}

std::string BatchFilePath(const std::string& outDir, const SiteDay& unit,
                          const std::string& termText, int layerCode, BatchFormat format) {
    int hour = 0, minute = 0;
    SplitTermText(termText, hour, minute);
    char hhmm[8];
    std::snprintf(hhmm, sizeof hhmm, "%02d%02d", hour % 100, minute % 100);
    std::string name = unit.site + "_" + unit.day + "_" + hhmm;
    if (format != BatchFormat::OdimH5) name += "_" + LayerName(layerCode);
    return outDir + "/" + unit.site + "/" + unit.day + "/" + name + BatchSuffix(format);
}

}  // namespace kalvera
