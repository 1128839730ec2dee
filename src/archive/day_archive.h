#pragma once
// A site's day archive: index file (16-byte records) and base file (BUFR
// messages back to back), written by the archiver while the viewer reads.

#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/date_time.h"
#include "common/display_state.h"
#include "common/domain_constants.h"

namespace kalvera {

constexpr int kLatestDaySearchDays = 2000;

// One 16-byte index record as stored (little-endian offset).
struct IndexRecord {
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t layerCode = 0;
    uint8_t spare = 0;
    int32_t offset = 0;
    uint8_t tail[8] = {};
};
static_assert(sizeof(IndexRecord) == 16);

// A site's directory: dataRoot + site + "/". dataRoot is a plain prefix that
// ends in a separator, as the settings file gives it.
std::string SiteDirectory(const std::string& dataRoot, const std::string& siteCode);

// The pair of files of one site and one day. Every archive path of the
// program is made here.
struct DayArchive {
    std::string siteCode;
    std::string dayName;
    std::string indexPath;  // dataRoot + site + "/" + day + ".ind"
    std::string basePath;   // dataRoot + site + "/" + day + ".bas"

    static DayArchive Of(const std::string& dataRoot, const std::string& siteCode,
                         const std::string& dayName);
};

// Six-digit day name YYMMDD of a date-time value.
std::string DayNameOf(double date);
// The date of a day name: six digits YYMMDD of a calendar day of 2000-2099;
// false for anything else. Every reader of day names goes through here.
bool ParseDayName(const std::string& dayName, CivilDate& date);
// The name of the day `days` days after `dayName`; empty when it is no day.
std::string ShiftedDayName(const std::string& dayName, int days);
// "HH.MM" with two digits each.
std::string TermTextOf(int hour, int minute);
// Splits "HH.MM" at the first '.'; false when either part is not a number.
bool SplitTermText(const std::string& termText, int& hour, int& minute);
// Minutes since midnight of a term "HH.MM" (00.00 to 23.59); -1 otherwise.
int TermMinuteOfDay(const std::string& termText);

// Sets currentDate, dayName, indexPath and basePath of `state` to the newest
// day, from now backwards over at most 2000 days, whose index file for
// state.siteCode can be opened. On failure the four fields are put back as
// they were before the search. Day files are named by their GMT date and the
// clock gives GMT, so an office west of Greenwich reaches the new day's file
// in its evening, and one east of it never looks for a day not yet begun.
bool FindLatestDay(DisplayState& state, const std::string& dataRoot,
                   const Clock& clock = systemClock());

// Distinct terms of the day in ascending order; 0 when the file cannot be read.
int LoadTermList(const std::string& indexPath, std::vector<std::string>& terms);

// Layer codes 0..24 present for the term, ascending. Returns -1 (and leaves
// `layers` unchanged) when the index cannot be opened, else the highest code
// present or 0 when none is.
int LoadLayerList(const std::string& indexPath, const std::string& termText,
                  std::vector<int>& layers);

// Offset of the first record in file order for the term and layer; -1 if none.
int32_t FindMessageOffset(const std::string& indexPath, const std::string& termText, int layerCode);

// Whether a record of the index points into (after, upTo]: a message search
// that began at `after` and found its "BUFR" at `upTo` has then run into the
// message of another record. False when the index cannot be read.
bool RecordStartsWithin(const std::string& indexPath, int64_t after, int64_t upTo);

}  // namespace kalvera
