#pragma once
// What a batch run over an archive does, worked out before anything is
// written: the days of the range, the site days split into shards, and the
// name of every file. Machines that are given the same arguments work out
// the same plan, so a shard needs no coordination with the others.
//
// Files are named OUT/SITE/YYMMDD/SITE_YYMMDD_HHMM_PRODUCT.EXT, PRODUCT being
// the layer's name (1..10, 21, 22, max, vil); an ODIM_H5 file holds all the
// products of its term and drops the _PRODUCT part.

#include <string>
#include <vector>

namespace kalvera {

enum class BatchFormat { GeoTiff, OdimH5, Png, Kmz };

// "tif", "h5", "png" or "kmz"; false for anything else.
bool ParseBatchFormat(const std::string& text, BatchFormat& format);
// The suffix of its files, with the dot.
const char* BatchSuffix(BatchFormat format);

// Every day from `from` to `to` (YYMMDD, both included) in order; empty when
// `to` comes before `from` or either is no calendar day.
std::vector<std::string> DaysBetween(const std::string& from, const std::string& to);

// One site's day: the unit of work that one worker takes at a time.
struct SiteDay {
    std::string site;
    std::string day;
    bool operator==(const SiteDay&) const = default;
};

// All site days, day by day and within a day in the sites' order.
std::vector<SiteDay> SiteDaysOf(const std::vector<std::string>& sites,
                                const std::vector<std::string>& days);

// Part `k` of `n` (1 <= k <= n): the site days whose place in the full list
// is k - 1 modulo n. The parts are disjoint, together they are the whole,
// and their sizes differ by one at most, so shards of a long range finish
// together.
std::vector<SiteDay> ShardOf(const std::vector<SiteDay>& all, int k, int n);

// The file of one product of a term ("HH.MM"); for ODIM_H5 `layerCode` is
// not used.
std::string BatchFilePath(const std::string& outDir, const SiteDay& unit,
                          const std::string& termText, int layerCode, BatchFormat format);

}  // namespace kalvera
