#include "archive/day_archive.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "archive/index_records.h"
#include "common/date_time.h"

namespace kalvera {

namespace {

// Decimal text with a "0" in front of a single digit.
void AppendTwoDigits(std::string& text, int value) {
    const std::string digits = std::to_string(value);
    if (digits.size() == 1) text.push_back('0');
    text += digits;
}

bool ParseInt(const char* first, const char* last, int& value) {
    if (first == last) return false;
    const auto [stop, error] = std::from_chars(first, last, value);
    return error == std::errc() && stop == last;
}

// An index file that exists and is not a directory (fopen would accept one).
bool CanOpenIndex(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    std::error_code failure;
    return !std::filesystem::is_directory(path, failure);
}

// The wanted term as the bytes stored in a record; false when the text is
// not a term or names an hour or minute no record can hold.
bool TermBytes(const std::string& termText, int& hour, int& minute) {
    if (!SplitTermText(termText, hour, minute)) return false;
    return hour >= 0 && hour <= 255 && minute >= 0 && minute <= 255;
}

}  // namespace

std::string SiteDirectory(const std::string& dataRoot, const std::string& siteCode) {
    return dataRoot + siteCode + "/";
}

DayArchive DayArchive::Of(const std::string& dataRoot, const std::string& siteCode,
                          const std::string& dayName) {
    DayArchive archive;
    archive.siteCode = siteCode;
    archive.dayName = dayName;
    const std::string stem = SiteDirectory(dataRoot, siteCode) + dayName;
    archive.indexPath = stem + ".ind";
    archive.basePath = stem + ".bas";
    return archive;
}

std::string DayNameOf(double date) {
    const CivilDate civil = DecodeDate(date);
    const std::string year = std::to_string(civil.year);
    std::string name = year.size() >= 4 ? year.substr(2, 2) : year;
    AppendTwoDigits(name, civil.month);
    AppendTwoDigits(name, civil.day);
    return name;
}

bool ParseDayName(const std::string& dayName, CivilDate& date) {
    if (dayName.size() != 6 || dayName.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const auto two = [&](size_t at) { return (dayName[at] - '0') * 10 + (dayName[at + 1] - '0'); };
    const CivilDate parsed{2000 + two(0), two(2), two(4)};
    if (parsed.month < 1 || parsed.month > 12 || parsed.day < 1 ||
        parsed.day > DaysInMonth(parsed.year, parsed.month)) {
        return false;
    }
    date = parsed;
    return true;
}

std::string ShiftedDayName(const std::string& dayName, int days) {
    CivilDate date;
    if (!ParseDayName(dayName, date)) return {};
    return DayNameOf(EncodeDate(date.year, date.month, date.day) + days);
}

int TermMinuteOfDay(const std::string& termText) {
    int hour = 0, minute = 0;
    if (!SplitTermText(termText, hour, minute) || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59) {
        return -1;
    }
    return hour * 60 + minute;
}

std::string TermTextOf(int hour, int minute) {
    std::string text;
    AppendTwoDigits(text, hour);
    text.push_back('.');
    AppendTwoDigits(text, minute);
    return text;
}

bool SplitTermText(const std::string& termText, int& hour, int& minute) {
    const size_t dot = termText.find('.');
    if (dot == std::string::npos) return false;
    const char* text = termText.data();
    int parsedHour = 0;
    int parsedMinute = 0;
    if (!ParseInt(text, text + dot, parsedHour)) return false;
    if (!ParseInt(text + dot + 1, text + termText.size(), parsedMinute)) return false;
    hour = parsedHour;
    minute = parsedMinute;
    return true;
}

bool FindLatestDay(DisplayState& state, const std::string& dataRoot, const Clock& clock) {
    const double savedDate = state.currentDate;
    const double now = clock.now();
    state.currentDate = now;
    for (int attempt = 0;
         attempt < kLatestDaySearchDays && state.currentDate > now - kLatestDaySearchDays;
         ++attempt) {
        DayArchive day = DayArchive::Of(dataRoot, state.siteCode, DayNameOf(state.currentDate));
        if (CanOpenIndex(day.indexPath)) {
            state.dayName = std::move(day.dayName);
            state.indexPath = std::move(day.indexPath);
            state.basePath = std::move(day.basePath);
            return true;
        }
        state.currentDate -= 1.0;
    }
    // Leaving the date 2000 days back would make the window's date and the
    // day buttons disagree with what is shown; the search changes nothing.
    state.currentDate = savedDate;
    return false;
}

int LoadTermList(const std::string& indexPath, std::vector<std::string>& terms) {
    terms.clear();
    std::bitset<256 * 256> seen;
    std::vector<uint16_t> found;
    const bool read = ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        const uint16_t key = static_cast<uint16_t>(record.hour << 8 | record.minute);
        if (!seen.test(key)) {
            seen.set(key);
            found.push_back(key);
        }
        return true;
    });
    if (!read) return 0;
    terms.reserve(found.size());
    for (uint16_t key : found) terms.push_back(TermTextOf(key >> 8, key & 0xFF));
    // Texts, not numbers, set the order; with two-digit fields it is the time order.
    std::sort(terms.begin(), terms.end());
    return static_cast<int>(terms.size());
}

int LoadLayerList(const std::string& indexPath, const std::string& termText,
                  std::vector<int>& layers) {
    int hour = 0;
    int minute = 0;
    const bool validTerm = TermBytes(termText, hour, minute);
    std::array<bool, kMaxLayerCode + 1> present{};
    const bool read = ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        if (validTerm && record.hour == hour && record.minute == minute &&
            record.layerCode <= kMaxLayerCode) {
            present[record.layerCode] = true;
        }
        return true;
    });
    if (!read) return -1;
    layers.clear();
    for (int code = 0; code <= kMaxLayerCode; ++code) {
        if (present[code]) layers.push_back(code);
    }
    return layers.empty() ? 0 : layers.back();
}

int32_t FindMessageOffset(const std::string& indexPath, const std::string& termText,
                          int layerCode) {
    int hour = 0;
    int minute = 0;
    if (!TermBytes(termText, hour, minute) || layerCode < 0 || layerCode > 255) return -1;
    int32_t offset = -1;
    ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        if (record.hour == hour && record.minute == minute && record.layerCode == layerCode) {
            offset = record.offset;
            return false;
        }
        return true;
    });
    return offset;
}

bool RecordStartsWithin(const std::string& indexPath, int64_t after, int64_t upTo) {
    bool found = false;
    ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        found = record.offset > after && record.offset <= upTo;
        return !found;
    });
    return found;
}

}  // namespace kalvera
