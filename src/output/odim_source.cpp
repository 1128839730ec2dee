#include "output/odim_source.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <vector>

#include "output/odim_h5.h"

namespace kalvera {

namespace {

// The source type identifiers of the information model.
const std::set<std::string>& KnownIdentifiers() {
    static const std::set<std::string> known = {"WMO", "RAD", "NOD", "PLC",
                                                "ORG", "CTY", "CMT", "WIGOS"};
    return known;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "ORG:247,CTY:643" checked item by item; empty when it is sound.
std::string CheckIdentifiers(const std::string& list) {
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        const size_t colon = item.find(':');
        if (colon == std::string::npos || colon + 1 == item.size())
            return "\"" + item + "\" is not an identifier with its value (as NOD:rumsk)";
        const std::string key = item.substr(0, colon);
        if (KnownIdentifiers().count(key) == 0)
            return "\"" + key + "\" is none of WMO, RAD, NOD, PLC, ORG, CTY, CMT, WIGOS";
        if (key == "NOD" || key == "WMO" || key == "RAD" || key == "ORG" || key == "CTY") {
            for (const unsigned char c : item) {
                if (c < 0x21 || c > 0x7e) return key + " takes printable ASCII only";
            }
        }
        start = comma + 1;
    }
    return {};
}

bool HasIdentifier(const std::string& list, const std::string& key) {
    return list.rfind(key + ":", 0) == 0 || list.find("," + key + ":") != std::string::npos;
}

}  // namespace

std::string OdimIdentifiersPath(const std::string& startDir) {
    return startDir + "/res/odim.txt";
}

bool LoadOdimIdentifiers(const std::string& startDir, OdimIdentifiers& out, std::string& error) {
    out = OdimIdentifiers{};
    out.path = OdimIdentifiersPath(startDir);
    std::ifstream in(out.path, std::ios::binary);
    if (!in) return true;
    out.found = true;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const size_t space = line.find_first_of(" \t");
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : Trim(line.substr(space));
        const std::string where = out.path + " line " + std::to_string(number) + ": ";
        if (value.empty()) {
            error = where + "\"" + key + "\" has nothing after it";
            return false;
        }
        if (key == "etop") {
            char* end = nullptr;
            const double level = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0') {
                error = where + "etop needs the reflectivity level in dBZ";
                return false;
            }
            out.echoTopLevel = level;
            continue;
        }
        if (const std::string why = CheckIdentifiers(value); !why.empty()) {
            error = where + why;
            return false;
        }
        (key == "office" ? out.office : out.sites[key]) = value;
    }
    return true;
}

namespace {

bool OfficeReady(const OdimIdentifiers& ids, std::string& error) {
    if (!ids.found) {
        error = "there is no " + ids.path +
                " to say who made the file (what/source): see \"ODIM_H5 identifiers\" in "
                "docs/exchange.md";
        return false;
    }
    if (!HasIdentifier(ids.office, "ORG")) {
        error = ids.path + " gives no ORG: for the office (a line \"office ORG:nnn,CTY:nnn\")";
        return false;
    }
    return true;
}

}  // namespace

bool OdimSiteSource(const OdimIdentifiers& ids, const std::string& siteCode, std::string& source,
                    std::string& error) {
    if (!OfficeReady(ids, error)) return false;
    const auto site = ids.sites.find(siteCode);
    if (site == ids.sites.end() || !HasIdentifier(site->second, "NOD")) {
        error = ids.path + " gives no NOD: for site " + siteCode + " (a line \"" + siteCode +
                " NOD:ccxxx,PLC:Place,WMO:nnnnn\")";
        return false;
    }
    source = ids.office + "," + site->second;
    return true;
}

bool OdimCompositeSource(const OdimIdentifiers& ids, std::string& source, std::string& error) {
    if (!OfficeReady(ids, error)) return false;
    source = ids.office + ",CMT:Kalvera composite";
    return true;
}

bool IdentifyOdimObject(const OdimIdentifiers& ids, const std::string& siteCode, OdimObject& object,
                        std::string& error) {
    const bool ok = siteCode.empty() ? OdimCompositeSource(ids, object.source, error)
                                     : OdimSiteSource(ids, siteCode, object.source, error);
    if (!ok) return false;
    for (OdimDataset& dataset : object.datasets) {
        if (dataset.product == "ETOP" && ids.echoTopLevel) dataset.prodpar = {*ids.echoTopLevel};
    }
    return true;
}

}  // namespace kalvera
