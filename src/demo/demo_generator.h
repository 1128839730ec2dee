#pragma once
// Writes a ready start directory for the viewer: the settings file, the
// resources under res/, and a day archive per demo site under archive/, and
// keeps the archive growing in live mode.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "demo/day_writer.h"

namespace kalvera::demo {

struct DemoOptions {
    std::string dir;      // the start directory
    std::string dataDir;  // shipped resources copied into dir/res
    int days = 3;         // days of history up to now, today included
    int stepMinutes = 10;
    double liveSeconds = 0.0;  // period of live mode; 0 runs no live mode
    uint32_t seed = 20240611;
    int siteCount = 0;  // the first sites of DemoSites(); 0 for all of them
    // When above 0, that many made-up sites (SyntheticSites) instead.
    int syntheticSites = 0;
    int updatePeriodSeconds = 30;
};

// Creates dir, dir/res and dir/archive, writes dir/settings and copies the
// resources that dir/res does not hold yet.
bool PrepareStartDirectory(const DemoOptions& options, std::string& error);

// The shipped resources: where an installation puts them relative to the
// running program, so that any install prefix works; else the source tree's
// data/ that the program was built from.
std::string ShippedDataDir();

// The archive root written into the settings: absolute, ending in "/".
std::string DataRootOf(const DemoOptions& options);

// Appends every missing term of the history up to `now` (date-time value);
// terms already in a day's index are kept. Stops between two terms once
// `stop` is set. Returns the number of site terms written, or -1 with the
// reason. `progress` hears the share of the history written so far (0 to 1)
// after each term.
int WriteHistory(const DemoOptions& options, double now, std::string& error,
                 const std::atomic<bool>* stop = nullptr,
                 const std::function<void(double)>& progress = {});

// Appends the term of one moment (stamped with its minute) at every site that
// lacks it. Returns the number of sites written, or -1.
int AppendLiveTerm(const DemoOptions& options, double now, const RecordSplitter* splitter,
                   std::string& error);

struct LiveHooks {
    std::function<double()> now;                // GMT date-time value
    std::function<void(double seconds)> sleep;  // must return early enough to see `stop`
    const RecordSplitter* splitter = nullptr;   // nullptr: records are written whole
};

// Runs until `stop` is set, appending a term every options.liveSeconds.
// Stops between terms, never inside a record. False when writing failed.
bool RunLive(const DemoOptions& options, const std::atomic<bool>& stop, const LiveHooks& hooks,
             std::string& error);

}  // namespace kalvera::demo
