#pragma once
// What the subcommands that open a term of a start directory share: option
// parsing, JSON texts, and the display state of the chosen term.

#include <map>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/domain_constants.h"
#include "common/path_suffix.h"

namespace kalvera::cli {

bool ParseFloat(const std::string& text, float& value);
bool ParseInt(const std::string& text, int& value);
// A layer as the options name it: an archive layer code, or "max" (column
// maximum) or "vil" for a product derived from layers 1..10.
bool ParseLayer(const std::string& text, int& layerCode);
// "LAT,LON" in degrees.
bool ParseLatLon(const std::string& text, float& lat, float& lon);
// A JSON string literal of a UTF-8 text.
std::string JsonString(const std::string& text);

// "--name value" pairs. Returns 0, or the usage error's exit status when an
// argument is not an option, lacks its value, or a required option is missing.
// "--lang ru|en" is taken out of the pairs into PictureLanguage().
int ParseOptionPairs(const std::vector<std::string>& args, const std::vector<const char*>& required,
                     std::map<std::string, std::string>& options);

// The language of the texts the pictures carry: "ru" (the default) or "en".
std::string& PictureLanguage();

// The term to open, as the viewer would hold it after choosing it.
struct TermChoice {
    std::string startDir, site, day, term;
    int layer = 0;
    bool centred = false;  // false: centre the view on the decoded site
    float centreLat = 0.0f, centreLon = 0.0f;
    float halfExtentKm = kDefaultHalfExtentKm;
};

// The settings' data root as seen from wherever the tool runs.
std::string DataRootOf(const TermChoice& choice, const std::string& dataRoot);

// Archive paths, term, layer and view of the choice; dataRoot is taken as
// the viewer takes it, relative to the start directory.
DisplayState StateForTerm(const TermChoice& choice, const std::string& dataRoot);

}  // namespace kalvera::cli
