#pragma once
// What the subcommands that open a term of a start directory share: option
// parsing, JSON texts, and the display state of the chosen term.

#include <map>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/domain_constants.h"
#include "common/path_suffix.h"
#include "geo/app_config.h"
#include "output/mosaic_source.h"

namespace kalvera::cli {

inline constexpr const char* kLayerUsage = "--layer needs a code from 0 to 255, max or vil";
inline constexpr const char* kDayUsage = "--day needs a date as YYMMDD";
inline constexpr const char* kLatUsage = "--lat needs degrees from -90 to 90";
inline constexpr const char* kLonUsage = "--lon needs degrees from -360 to 360";

// A finite number.
bool ParseFloat(const std::string& text, float& value);
bool ParseInt(const std::string& text, int& value);
// A layer as the options name it: an archive layer code (0..255, what an
// index record can hold), or "max" (column maximum) or "vil" for a product
// derived from layers 1..10; their own codes, which no record holds, are not
// taken in their place.
bool ParseLayer(const std::string& text, int& layerCode);
// "all" or a comma-separated list of the products a term file can hold
// (1..10, 21, 22, max, vil), each named once; the codes in that order.
bool ParseLayerList(const std::string& text, std::vector<int>& layerCodes);
inline constexpr const char* kLayersUsage =
    "--layers needs all or a comma-separated list of 1..10, 21, 22, max and vil";
// Degrees of latitude (-90..90) and longitude (-360..360).
bool ParseLatitude(const std::string& text, float& lat);
bool ParseLongitude(const std::string& text, float& lon);
// "LAT,LON" in degrees, each within the range above.
bool ParseLatLon(const std::string& text, float& lat, float& lon);
// YYMMDD of a real calendar day in 2000..2099.
bool ParseDay(const std::string& text, int& year, int& month, int& dayOfMonth);
// The same for the options that only pass the day on.
bool IsDayName(const std::string& text);
// A JSON string literal of a UTF-8 text.
std::string JsonString(const std::string& text);

// "--name value" pairs. Returns 0, or the usage error's exit status when an
// argument is not an option, lacks its value, or a required option is missing.
// "--lang ru|en" is taken out of the pairs into PictureLanguage().
int ParseOptionPairs(const std::vector<std::string>& args, const std::vector<const char*>& required,
                     std::map<std::string, std::string>& options);

// The language of the texts the pictures carry: "ru" (the default) or "en".
std::string& PictureLanguage();

inline constexpr const char* kOpacityUsage =
    "--opacity needs a percentage from 20 to 100 in steps of 5";

// The colours a picture is drawn in: "--colors FILE|PRESET" and
// "--opacity PERCENT", as the viewer's picture menu chooses them.
struct ColourOptions {
    std::string table;  // empty: the palette
    int opacity = 100;
};
// Takes "--colors" and "--opacity" (and their values); false for another
// name, and a usage error's status in `status` for a bad opacity.
bool ParseColourOption(const std::string& name, const std::string& value, ColourOptions& colours,
                       int& status);
// Puts the chosen table (for the kind of `layerCode`) and opacity into
// `config`, looking a preset up beside the start directory's resources, among
// those shipped with the program and in the user's folder. 0, or the load
// failure's status with the reason printed; warnings are printed too.
int ApplyColourOptions(const ColourOptions& colours, int layerCode, AppConfig& config);

// The term to open, as the viewer would hold it after choosing it.
struct TermChoice {
    std::string startDir, site, day, term;
    int layer = 0;
    bool centred = false;  // false: centre the view on the decoded site
    float centreLat = 0.0f, centreLon = 0.0f;
    float halfExtentKm = kDefaultHalfExtentKm;
};

// The composite's own options: --sites A,B,..., --method max|nearest and
// --tolerance MINUTES. Returns -1 when `name` is none of them, 0 when it was
// taken, or the usage error's exit status.
int ParseMosaicOption(const std::string& name, const std::string& value, MosaicChoice& choice);

// The settings' data root as seen from wherever the tool runs.
std::string DataRootOf(const TermChoice& choice, const std::string& dataRoot);

// Archive paths, term, layer and view of the choice; dataRoot is taken as
// the viewer takes it, relative to the start directory.
DisplayState StateForTerm(const TermChoice& choice, const std::string& dataRoot);

// A CSV with its columns padded for reading on a terminal; its comment lines
// are left out.
std::string AlignedTable(const std::string& csv);

}  // namespace kalvera::cli
