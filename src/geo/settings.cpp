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

bool Fail(SettingsFailure& failure, SettingsFailure::Kind kind, const std::string& path,
          int token = 0, std::string_view tokenText = {}) {
    failure.kind = kind;
    failure.path = path;
    failure.token = token;
    failure.tokenText = std::string(tokenText);
    return false;
}

bool ReadSettingsFile(AppConfig& config, const std::string& path, SettingsFailure& failure) {
    using Kind = SettingsFailure::Kind;
    std::string bytes;
    if (!ReadFileBytes(path, bytes, failure.cause))
        return Fail(failure, Kind::SettingsUnreadable, path);
    const std::vector<std::string_view> tokens = Tokens(bytes, kSettingsTokens);
    if (tokens.size() < kSettingsTokens) {
        return Fail(failure, Kind::TokenMissing, path, static_cast<int>(tokens.size()));
    }
    for (int i : {0, 2, 3}) {
        if (tokens[i].size() > kMaxTextToken) return Fail(failure, Kind::TokenTooLong, path, i);
    }
    AppConfig read = config;
    read.dataRoot = std::string(tokens[0]);
    read.defaultSite = std::string(tokens[2]);
    read.spareText = std::string(tokens[3]);
    if (!ParseWhole(tokens[1], read.updatePeriod)) {
        return Fail(failure, Kind::NotWholeNumber, path, 1, tokens[1]);
    }
    if (!ParseReal(tokens[4], read.centreLat)) {
        return Fail(failure, Kind::NotNumber, path, 4, tokens[4]);
    }
    if (!ParseReal(tokens[5], read.centreLon)) {
        return Fail(failure, Kind::NotNumber, path, 5, tokens[5]);
    }
    config = std::move(read);
    return true;
}

// Code and name pairs; a code left without a name at the end adds nothing,
// so the site simply shows its code.
bool ReadSiteTable(SiteTable& table, const std::string& path, SettingsFailure& failure) {
    table = SiteTable{};
    std::string bytes;
    if (!ReadFileBytes(path, bytes, failure.cause)) {
        if (failure.cause == ENOENT) {
            failure.cause = 0;
            return true;
        }
        return Fail(failure, SettingsFailure::Kind::SiteTableUnreadable, path);
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

std::string SettingsFailureText(const SettingsFailure& failure) {
    using Kind = SettingsFailure::Kind;
    const std::string reason = ErrorText(failure.cause);
    const std::string prefix = "Cannot read settings file " + Quoted(failure.path) + ": ";
    const std::string token = failure.token >= 0 && failure.token < kSettingsTokens
                                  ? TokenLabel(failure.token)
                                  : std::string("a token");
    switch (failure.kind) {
        case Kind::None:
            return {};
        case Kind::NoCurrentDirectory:
            return "Cannot determine the current directory: " + reason + ".";
        case Kind::SettingsUnreadable:
            return prefix + reason + ".";
        case Kind::TokenMissing:
            return prefix + token + " is missing; the file holds " + std::to_string(failure.token) +
                   " of the 6 tokens.";
        case Kind::TokenTooLong:
            return prefix + token + " is longer than 255 bytes.";
        case Kind::NotWholeNumber:
            return prefix + token + " " + Quoted(failure.tokenText) + " is not a whole number.";
        case Kind::NotNumber:
            return prefix + token + " " + Quoted(failure.tokenText) + " is not a number.";
        case Kind::SiteTableUnreadable:
            return "Cannot read site table " + Quoted(failure.path) + ": " + reason + ".";
    }
    return {};
}

bool LoadSettings(AppConfig& config, SettingsFailure& failure) {
    std::error_code cause;
    const std::filesystem::path current = std::filesystem::current_path(cause);
    if (cause) {
        failure = SettingsFailure{};
        failure.kind = SettingsFailure::Kind::NoCurrentDirectory;
        failure.cause = cause.value();  // current_path reports errno values
        return false;
    }
    return LoadSettingsFrom(config, current.string(), failure);
}

bool LoadSettingsFrom(AppConfig& config, const std::string& startDir, SettingsFailure& failure) {
    failure = SettingsFailure{};
    config.startDir = startDir;
    if (!ReadSettingsFile(config, SettingsPath(startDir), failure)) return false;
    return ReadSiteTable(config.siteTable, TownsPath(startDir), failure);
}

bool LoadSettings(AppConfig& config, std::string& error) {
    SettingsFailure failure;
    const bool loaded = LoadSettings(config, failure);
    error = SettingsFailureText(failure);
    return loaded;
}

bool LoadSettingsFrom(AppConfig& config, const std::string& startDir, std::string& error) {
    SettingsFailure failure;
    const bool loaded = LoadSettingsFrom(config, startDir, failure);
    error = SettingsFailureText(failure);
    return loaded;
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
