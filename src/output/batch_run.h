#pragma once
// A batch run: every term of every site day of a plan, each product written
// to its own file (see batch_plan.h) by a pool of worker threads. A file that
// exists is complete, since every file is written whole through the one
// file-replacement routine. A rerun keeps a file that its site day's record
// (batch_record.h) says was made as now asked and rebuilds the others, so an
// interrupted run resumes where it stopped and a run with other options
// redoes what they change. Failures are counted with their reasons and the
// run goes on with the rest.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/app_config.h"
#include "output/batch_plan.h"
#include "output/mosaic_source.h"
#include "output/odim_source.h"

namespace kalvera {

struct BatchJob {
    const AppConfig* config = nullptr;  // data root, site names, palette
    std::vector<SiteDay> units;         // this run's share of the plan
    // The composite of the chosen sites (mosaic->sites) rather than each
    // site: every unit is then a day of the composite, its site kMosaicUnit,
    // and its terms are those that any chosen site has that day.
    std::optional<MosaicChoice> mosaic;
    std::vector<int> layers;  // products, see TermProductCodes
    BatchFormat format = BatchFormat::GeoTiff;
    std::string outDir;
    // what/source of the ODIM_H5 files; the caller checks beforehand that
    // every site of the run has its identifiers.
    OdimIdentifiers odim;
    int jobs = 1;
    // Draws the picture of `at` (its term and layer) as PNG bytes. The
    // drawing is the caller's, which holds the window's layout; calls come
    // one at a time.
    std::function<std::optional<std::string>(const DisplayState& at, std::string& error)>
        drawPicture;
    // Draws the picture of a composite's layer as PNG bytes; the same terms.
    std::function<std::optional<std::string>(const MapSource& source, const MosaicTerm& term,
                                             std::string& error)>
        drawComposite;
};

// The unit's site, and so the folder and file names, of the composite's days:
// OUT/mosaic/YYMMDD/mosaic_YYMMDD_HHMM_PRODUCT.EXT.
inline constexpr const char* kMosaicUnit = "mosaic";

struct BatchCounts {
    int64_t written = 0;
    int64_t skipped = 0;  // already there from an earlier run
    int64_t absent = 0;   // the term holds no such product
    int64_t failed = 0;
    // Composite terms made (or kept) without a site that was asked for.
    int64_t incomplete = 0;
};

struct BatchProgress {
    int64_t termsDone = 0;
    int64_t termsTotal = 0;
    BatchCounts counts;
};

// A day all of whose site days are done, with what they came to.
struct BatchDay {
    std::string day;
    int64_t terms = 0;
    int siteDaysWithoutData = 0;
    BatchCounts counts;
};

struct BatchHooks {
    std::function<void(const BatchProgress&)> progress;  // after every term
    std::function<void(const BatchDay&)> dayDone;
    // Tests stop a run part way: asked before each term, true stops it.
    std::function<bool()> stop;
};

struct BatchReport {
    BatchProgress totals;
    int siteDaysWithoutData = 0;  // no index file: the site was not working that day
    // The first failures with their reasons ("FILE: reason"); the count of
    // all is in totals.counts.failed.
    std::vector<std::string> failures;
    // The first composite terms made without an asked site ("FILE: made
    // without SITE (why)"); the count is in totals.counts.incomplete.
    std::vector<std::string> incomplete;
    bool stopped = false;
};

// Keeps this many failure reasons; the count goes on.
inline constexpr size_t kBatchFailuresKept = 100;

BatchReport RunBatch(const BatchJob& job, const BatchHooks& hooks = {});

// The terms the job's site days hold, as the progress counts them.
int64_t CountBatchTerms(const BatchJob& job);

}  // namespace kalvera
