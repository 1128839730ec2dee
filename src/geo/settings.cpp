#include "geo/settings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/error_text.h"
#include "common/file_bytes.h"
#include "common/text_codec.h"

namespace kalvera {

namespace {

// A text token of the settings file had to fit a 256-byte buffer.
constexpr size_t kMaxTextToken = 255;
constexpr int kSettingsTokens = 6;

const char* const kTokenNames[kSettingsTokens] = {"data root",       "update period",
                                                  "default site",    "spare text",
                                                  "centre latitude", "centre longitude"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Splits at any run of white space, as successive "%s" conversions would.
std::vector<std::string_view> Tokens(std::string_view text, size_t limit) {
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < text.size() && tokens.size() < limit) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        const size_t start = at;
        while (at < text.size() && !IsBlank(text[at])) ++at;
        if (at > start) tokens.push_back(text.substr(start, at - start));
    }
    return tokens;
}

// A leading '+' is allowed as scanf allows it; the whole token must convert.
std::string_view WithoutPlus(std::string_view token) {
    if (token.size() > 1 && token[0] == '+' && token[1] != '-') token.remove_prefix(1);
    return token;
}

bool ParseWhole(std::string_view token, int32_t& value) {
    token = WithoutPlus(token);
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    return error == std::errc() && stop == end;
}

bool ParseReal(std::string_view token, float& value) {
    token = WithoutPlus(token);
    const char* end = token.data() + token.size();
    float parsed = 0.0f;
    const auto [stop, error] = std::from_chars(token.data(), end, parsed);
    if (error != std::errc() || stop != end || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

std::string Quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 warns of a false overlap (-Wrestrict)
    // in the inlined operator+ chain.
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string TokenLabel(int index) {
    return "token " + std::to_string(index + 1) + " (" + kTokenNames[index] + ")";
}

bool ReadSettingsFile(AppConfig& config, const std::string& path, std::string& error) {
    std::string bytes;
    int cause = 0;
    const std::string prefix = "Cannot read settings file " + Quoted(path) + ": ";
    if (!ReadFileBytes(path, bytes, cause)) {
        error = prefix + ErrorText(cause) + ".";
        return false;
    }
    const std::vector<std::string_view> tokens = Tokens(bytes, kSettingsTokens);
    if (tokens.size() < kSettingsTokens) {
        const int missing = static_cast<int>(tokens.size());
        error = prefix + TokenLabel(missing) + " is missing; the file holds " +
                std::to_string(tokens.size()) + " of the 6 tokens.";
        return false;
    }
    for (int i : {0, 2, 3}) {
        if (tokens[i].size() > kMaxTextToken) {
            error = prefix + TokenLabel(i) + " is longer than 255 bytes.";
            return false;
        }
    }
    AppConfig read = config;
    read.dataRoot = std::string(tokens[0]);
    read.defaultSite = std::string(tokens[2]);
    read.spareText = std::string(tokens[3]);
    if (!ParseWhole(tokens[1], read.updatePeriod)) {
        error = prefix + TokenLabel(1) + " " + Quoted(tokens[1]) + " is not a whole number.";
        return false;
    }
    if (!ParseReal(tokens[4], read.centreLat)) {
        error = prefix + TokenLabel(4) + " " + Quoted(tokens[4]) + " is not a number.";
        return false;
    }
    if (!ParseReal(tokens[5], read.centreLon)) {
        error = prefix + TokenLabel(5) + " " + Quoted(tokens[5]) + " is not a number.";
        return false;
    }
    config = std::move(read);
    return true;
}

// Code and name pairs; a code left without a name at the end adds nothing,
// so the site simply shows its code.
bool ReadSiteTable(SiteTable& table, const std::string& path, std::string& error) {
    table = SiteTable{};
    std::string bytes;
    int cause = 0;
    if (!ReadFileBytes(path, bytes, cause)) {
        if (cause == ENOENT) return true;
        error = "Cannot read site table " + Quoted(path) + ": " + ErrorText(cause) + ".";
        return false;
    }
    // The file is decoded as a whole so that one word that happens to look
    // like UTF-8 cannot switch the encoding of a single name.
    const std::string text = Cp1251ToUtf8(bytes);
    const std::vector<std::string_view> tokens = Tokens(text, text.size());
    for (size_t i = 0; i + 1 < tokens.size(); i += 2) {
        table.codes.emplace_back(tokens[i]);
        table.names.emplace_back(tokens[i + 1]);
    }
    return true;
}

}  // namespace

std::string SettingsPath(const std::string& startDir) {
    return startDir + "/settings";
}
std::string TownsPath(const std::string& startDir) {
    return startDir + "/res/towns.txt";
}
std::string PalettePath(const std::string& startDir) {
    return startDir + "/res/colors.bin";
}
std::string CountryBinPath(const std::string& startDir) {
    return startDir + "/res/country.bin";
}
std::string CountryIndPath(const std::string& startDir) {
    return startDir + "/res/country.ind";
}
std::string PlacesPath(const std::string& startDir) {
    return startDir + "/res/punkt.txt";
}

bool LoadSettings(AppConfig& config, std::string& error) {
    std::error_code failure;
    const std::filesystem::path current = std::filesystem::current_path(failure);
    if (failure) {
        error = "Cannot determine the current directory: " + failure.message() + ".";
        return false;
    }
    return LoadSettingsFrom(config, current.string(), error);
}

bool LoadSettingsFrom(AppConfig& config, const std::string& startDir, std::string& error) {
    error.clear();
    config.startDir = startDir;
    if (!ReadSettingsFile(config, SettingsPath(startDir), error)) return false;
    return ReadSiteTable(config.siteTable, TownsPath(startDir), error);
}

std::string SiteDisplayName(const AppConfig& config, const std::string& siteCode) {
    const SiteTable& table = config.siteTable;
    const size_t count = std::min(table.codes.size(), table.names.size());
    for (size_t i = 0; i < count; ++i) {
        if (table.codes[i] == siteCode) return table.names[i];
    }
    return siteCode;
}

}  // namespace kalvera
