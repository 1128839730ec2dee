#pragma once
// Settings file, site table, palette and the list of site directories.

#include <string>

#include "geo/app_config.h"

namespace kalvera {

// Resource paths below the start directory.
std::string SettingsPath(const std::string& startDir);    // startDir + "/settings"
std::string TownsPath(const std::string& startDir);       // startDir + "/res/towns.txt"
std::string PalettePath(const std::string& startDir);     // startDir + "/res/colors.bin"
std::string CountryBinPath(const std::string& startDir);  // startDir + "/res/country.bin"
std::string CountryIndPath(const std::string& startDir);  // startDir + "/res/country.ind"
std::string PlacesPath(const std::string& startDir);      // startDir + "/res/punkt.txt"

// Why the settings could not be loaded, for a caller that words the message in
// its own language; SettingsFailureText words it for the command-line tools.
struct SettingsFailure {
    enum class Kind {
        None,
        NoCurrentDirectory,
        SettingsUnreadable,
        TokenMissing,  // `token` is the first one missing
        TokenTooLong,
        NotWholeNumber,
        NotNumber,
        SiteTableUnreadable,
    };
    Kind kind = Kind::None;
    std::string path;       // the file at fault
    int token = 0;          // 0-based index of the settings token at fault
    std::string tokenText;  // that token as the file has it
    int cause = 0;          // errno of a failed read; 0 when not known
};

// The English message of the tools: names the file and the token at fault.
std::string SettingsFailureText(const SettingsFailure& failure);

// Sets startDir to the current directory, then reads the settings file and the
// site table. On failure returns false and puts into `error` a text that names
// the file and the token at fault; the program must not start then.
bool LoadSettings(AppConfig& config, std::string& error);
bool LoadSettings(AppConfig& config, SettingsFailure& failure);
// The same with an explicit start directory (tools and tests).
bool LoadSettingsFrom(AppConfig& config, const std::string& startDir, std::string& error);
bool LoadSettingsFrom(AppConfig& config, const std::string& startDir, SettingsFailure& failure);

// Reads res/colors.bin; the default palette where the file is missing, and
// default entries beyond a short file.
void LoadPalette(AppConfig& config);
Palette DefaultPalette();
// Writes all 32 entries to res/colors.bin, whole or not at all.
bool SavePalette(const AppConfig& config, std::string& error);

// Fills the site list from the plain directories under dataRoot.
void ListSites(AppConfig& config);

// Display name for a site code; the code itself when the table has none.
std::string SiteDisplayName(const AppConfig& config, const std::string& siteCode);

}  // namespace kalvera
