#pragma once
// Who made an ODIM_H5 file and from which radar: the identifiers of
// what/source, from the office's setting res/odim.txt. A line is a key and
// the identifiers it stands for, as they go into what/source:
//
//   # the office: its originating centre and country
//   office ORG:247,CTY:643
//   # each radar: its node, place and WMO index
//   27612 NOD:rumsk,PLC:Moscow,WMO:27612
//   # the reflectivity level the echo tops are measured at, dBZ (optional)
//   etop 18
//
// A site's IMAGE carries the office's identifiers and then the site's (ORG
// first, as exchange checkers read it); a composite the office's and a
// comment. Writing refuses a file that would not say where it came from.

#include <map>
#include <optional>
#include <string>

namespace kalvera {

struct OdimIdentifiers {
    std::string path;                          // the file they were read from
    bool found = false;                        // false: no such file, every lookup then fails
    std::string office;                        // "ORG:247,CTY:643"
    std::map<std::string, std::string> sites;  // site code -> "NOD:...,PLC:...,WMO:..."
    std::optional<double> echoTopLevel;        // dBZ
};

// startDir + "/res/odim.txt".
std::string OdimIdentifiersPath(const std::string& startDir);

// Reads the file; a missing file is no fault here (it is when a file is to
// be written). False with "FILE line N: reason" for a line it cannot read:
// an unknown identifier, one with no value, a comma or a character other
// than printable ASCII in a NOD.
bool LoadOdimIdentifiers(const std::string& startDir, OdimIdentifiers& out, std::string& error);

// what/source of a site's IMAGE; false with the reason and the line to add
// when the office has no ORG or the site no NOD.
bool OdimSiteSource(const OdimIdentifiers& ids, const std::string& siteCode, std::string& source,
                    std::string& error);

// what/source of a composite; false when the office has no ORG.
bool OdimCompositeSource(const OdimIdentifiers& ids, std::string& source, std::string& error);

struct OdimObject;

// Gives `object` its what/source (a site's IMAGE when `siteCode` is not
// empty, else a composite) and its echo tops their level; false with the
// reason when an identifier is missing.
bool IdentifyOdimObject(const OdimIdentifiers& ids, const std::string& siteCode, OdimObject& object,
                        std::string& error);

}  // namespace kalvera
