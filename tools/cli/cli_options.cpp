#include "cli_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "archive/day_archive.h"
#include "cli_command.h"
#include "common/date_time.h"
#include "demo/demo_generator.h"
#include "geo/colour_choice.h"
#include "output/term_products.h"
#include "products/derived_products.h"
#include "products/layer_units.h"

namespace kalvera::cli {

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < -1000000 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseLayer(const std::string& text, int& layerCode) {
    if (DerivedLayerNamed(text, layerCode)) return true;
    int code = 0;
    if (!ParseInt(text, code) || code < 0 || code > 255) return false;
    layerCode = code;
    return true;
}

bool ParseLayerList(const std::string& text, std::vector<int>& layerCodes) {
    const std::vector<int>& known = TermProductCodes();
    if (text == "all") {
        layerCodes = known;
        return true;
    }
    std::vector<bool> chosen(known.size(), false);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        int code = 0;
        if (!ParseLayer(text.substr(start, comma - start), code)) return false;
        const auto at = std::find(known.begin(), known.end(), code);
        if (at == known.end() || chosen[static_cast<size_t>(at - known.begin())]) return false;
        chosen[static_cast<size_t>(at - known.begin())] = true;
        start = comma + 1;
    }
    layerCodes.clear();
    for (size_t i = 0; i < known.size(); ++i) {
        if (chosen[i]) layerCodes.push_back(known[i]);
    }
    return true;
}

bool ParseLatitude(const std::string& text, float& lat) {
    return ParseFloat(text, lat) && lat >= -90.0f && lat <= 90.0f;
}

bool ParseLongitude(const std::string& text, float& lon) {
    return ParseFloat(text, lon) && lon >= -360.0f && lon <= 360.0f;
}

bool ParseLatLon(const std::string& text, float& lat, float& lon) {
    const size_t comma = text.find(',');
    return comma != std::string::npos && ParseLatitude(text.substr(0, comma), lat) &&
           ParseLongitude(text.substr(comma + 1), lon);
}

bool ParseDay(const std::string& text, int& year, int& month, int& dayOfMonth) {
    CivilDate date;
    if (!ParseDayName(text, date)) return false;
    year = date.year;
    month = date.month;
    dayOfMonth = date.day;
    return true;
}

bool IsDayName(const std::string& text) {
    int year = 0, month = 0, dayOfMonth = 0;
    return ParseDay(text, year, month, dayOfMonth);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int ParseOptionPairs(const std::vector<std::string>& args, const std::vector<const char*>& required,
                     std::map<std::string, std::string>& options) {
    for (size_t i = 0; i < args.size(); i += 2) {
        if (args[i].rfind("--", 0) != 0) return UsageError("unexpected argument: " + args[i]);
        if (i + 1 >= args.size()) return UsageError(args[i] + " needs a value");
        options[args[i]] = args[i + 1];
    }
    for (const char* name : required) {
        if (options.count(name) == 0) return UsageError(std::string("missing ") + name);
    }
    if (const auto lang = options.find("--lang"); lang != options.end()) {
        if (lang->second != "ru" && lang->second != "en")
            return UsageError("--lang needs ru or en");
        PictureLanguage() = lang->second;
        options.erase(lang);
    }
    return 0;
}

int ParseMosaicOption(const std::string& name, const std::string& value, MosaicChoice& choice) {
    if (name == "--sites") {
        choice.sites.clear();
        size_t start = 0;
        while (start <= value.size()) {
            const size_t comma = std::min(value.find(',', start), value.size());
            if (comma == start) return UsageError("--sites needs site codes separated by commas");
            choice.sites.push_back(value.substr(start, comma - start));
            start = comma + 1;
        }
        return 0;
    }
    if (name == "--method") {
        if (!CompositeMethodNamed(value, choice.method)) {
            return UsageError("--method needs max or nearest");
        }
        return 0;
    }
    if (name == "--tolerance") {
        if (!ParseInt(value, choice.toleranceMinutes) || choice.toleranceMinutes < 0 ||
            choice.toleranceMinutes > 720) {
            return UsageError("--tolerance needs minutes from 0 to 720");
        }
        return 0;
    }
    return -1;
}

bool ParseColourOption(const std::string& name, const std::string& value, ColourOptions& colours,
                       int& status) {
    status = 0;
    if (name == "--colors") {
        colours.table = value;
    } else if (name == "--opacity") {
        int percent = 0;
        if (!ParseInt(value, percent) || percent < kMinCellOpacity || percent > 100 ||
            percent % 5 != 0) {
            status = UsageError(kOpacityUsage);
        }
        colours.opacity = percent;
    } else {
        return false;
    }
    return true;
}

int ApplyColourOptions(const ColourOptions& colours, int layerCode, AppConfig& config) {
    config.colours.cellOpacity = colours.opacity;
    if (colours.table.empty()) return 0;
    std::shared_ptr<const ColourTable> table;
    std::string error;
    std::vector<std::string> warnings;
    const bool read = ResolveColourTable(
        colours.table, ColourTableFolders(config.startDir, demo::ShippedDataDir()), table, error,
        warnings);
    for (const std::string& warning : warnings) {
        std::fprintf(stderr, "kalvera-cli: %s\n", warning.c_str());
    }
    if (!read) return LoadFailure(error);
    config.colours.tables[static_cast<size_t>(LayerKindOf(layerCode))] = table;
    return 0;
}

std::string& PictureLanguage() {
    static std::string language = "ru";
    return language;
}

std::string DataRootOf(const TermChoice& choice, const std::string& dataRoot) {
    // The viewer runs in its start directory, so a relative data root is
    // relative to it; a tool runs anywhere.
    return dataRoot.empty() || dataRoot.front() == '/' ? dataRoot
                                                       : choice.startDir + "/" + dataRoot;
}

DisplayState StateForTerm(const TermChoice& choice, const std::string& dataRoot) {
    const DayArchive day = DayArchive::Of(DataRootOf(choice, dataRoot), choice.site, choice.day);
    DisplayState state;
    state.siteCode = day.siteCode;
    state.dayName = day.dayName;
    state.indexPath = day.indexPath;
    state.basePath = day.basePath;
    state.termText = choice.term;
    state.layerCode = choice.layer;
    state.viewHalfExtentKm = choice.halfExtentKm;
    // Without a given centre the decoder centres the view on its site, as
    // after a change of site in the viewer.
    state.recentre = choice.centred ? 1 : 0;
    state.viewLat = choice.centreLat;
    state.viewLon = choice.centreLon;
    return state;
}

std::string AlignedTable(const std::string& csv) {
    std::vector<std::vector<std::string>> cells;
    std::vector<size_t> widths;
    size_t start = 0;
    while (start < csv.size()) {
        const size_t end = csv.find('\n', start);
        const std::string line = csv.substr(start, end - start);
        start = end == std::string::npos ? csv.size() : end + 1;
        if (line.starts_with('#')) continue;
        auto& row = cells.emplace_back();
        size_t from = 0;
        for (;;) {
            const size_t comma = line.find(',', from);
            row.push_back(line.substr(from, comma - from));
            if (row.size() > widths.size()) widths.push_back(0);
            widths[row.size() - 1] = std::max(widths[row.size() - 1], row.back().size());
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
    }
    std::string table;
    for (const auto& row : cells) {
        for (size_t i = 0; i < row.size(); ++i) {
            table += std::string(widths[i] - row[i].size() + (i ? 1 : 0), ' ') + row[i];
        }
        table += '\n';
    }
    return table;
}

}  // namespace kalvera::cli
