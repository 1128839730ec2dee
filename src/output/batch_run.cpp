#include "output/batch_run.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "archive/day_archive.h"
#include "common/replace_file.h"
#include "geo/settings.h"
#include "mosaic/mosaic_grid.h"
#include "output/batch_record.h"
#include "output/map_export.h"
#include "output/odim_products.h"
#include "output/term_products.h"

namespace kalvera {

namespace fs = std::filesystem;

namespace {

// Text drawing goes through Qt's font engine, which the workers share.
std::mutex& DrawingLock() {
    static std::mutex lock;
    return lock;
}

// A record's lines are rewritten at least this often, so that a crash costs
// at most this many terms' files a rebuild.
constexpr int kRecordEveryTerms = 32;

// Files made but not yet on disk: a worker gathers several terms' files and
// puts them in place with one sync (see FlushFiles).
struct MadeFile {
    std::string path;
    std::string bytes;
    std::string sites;  // a composite's, for the record
};

// At most this many terms' files, or this many bytes, wait for their sync.
constexpr int kTermsPerSync = 16;
constexpr size_t kBytesPerSync = size_t{32} << 20;

struct TermResult {
    BatchCounts counts;
    std::vector<std::string> failures;
    std::vector<std::string> incomplete;
    std::vector<MadeFile> made;

    void Fail(const std::string& path, const std::string& reason, int64_t files = 1) {
        counts.failed += files;
        failures.push_back(path + ": " + reason);
    }
};

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ",") + item;
    return text;
}

std::string LayerList(const std::vector<int>& layers) {
    std::string text;
    for (const int code : layers) text += (text.empty() ? "" : ",") + std::to_string(code);
    return text;
}

// What a file of the job is asked to be, as its record line holds it: the
// file's name says the site, term and product; this says the rest.
std::string AskedOf(const BatchJob& job) {
    std::string asked = std::string("v1 ") + (BatchSuffix(job.format) + 1);
    // An ODIM_H5 file holds every product asked, in order.
    if (job.format == BatchFormat::OdimH5) asked += " layers=" + LayerList(job.layers);
    if (job.mosaic) {
        asked += std::string(" method=") + CompositeMethodName(job.mosaic->method) +
                 " tolerance=" + std::to_string(job.mosaic->toleranceMinutes) +
                 " sites=" + Joined(job.mosaic->sites);
    }
    return asked;
}

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}

class TermWriter {
  public:
    TermWriter(const BatchJob& job, const SiteDay& unit, const std::string& termText,
               MosaicLoader& loader, BatchRecord& record, const std::string& asked)
        : job_(job), unit_(unit), loader_(loader), record_(record), asked_(asked) {
        at_.termText = termText;
        if (job.mosaic) {
            at_.siteCode = unit.site;
            at_.dayName = unit.day;
            return;
        }
        const DayArchive archive = DayArchive::Of(job.config->dataRoot, unit.site, unit.day);
        at_.siteCode = archive.siteCode;
        at_.dayName = archive.dayName;
        at_.indexPath = archive.indexPath;
        at_.basePath = archive.basePath;
        at_.termText = termText;
        at_.recentre = 1;
    }

    TermResult Run() {
        std::vector<std::pair<int, std::string>> missing;
        for (const int code : FileLayers()) {
            const std::string path =
                BatchFilePath(job_.outDir, unit_, at_.termText, code, job_.format);
            if (record_.Current(FileName(path)))
                ++result_.counts.skipped;
            else
                missing.emplace_back(code, path);
        }
        if (missing.empty()) return result_;
        std::string error;
        if (job_.mosaic) {
            mosaic_ = loader_.Load(
                MosaicRequestOf(*job_.config, *job_.mosaic, unit_.day, at_.termText), job_.layers);
            if (mosaic_.Present().empty()) {
                result_.Fail(missing.front().second, MosaicSummary(mosaic_),
                             static_cast<int64_t>(missing.size()));
                return result_;
            }
            took_ = Joined(mosaic_.Present());
            KeepUnchanged(missing);
            NoteIncomplete(missing.empty() ? BatchFilePath(job_.outDir, unit_, at_.termText,
                                                           FileLayers().front(), job_.format)
                                           : missing.front().second);
            if (missing.empty()) return result_;
        } else if (!term_.Load(at_, error)) {
            result_.Fail(missing.front().second, error, static_cast<int64_t>(missing.size()));
            return result_;
        }
        if (job_.format == BatchFormat::OdimH5) {
            WriteOdim(missing.front().second);
            return result_;
        }
        for (const auto& [code, path] : missing) EncodeProduct(code, path);
        return result_;
    }

  private:
    // A composite made without a site that still cannot take part is as it
    // would be made now: it is kept, and its record line comes back.
    void KeepUnchanged(std::vector<std::pair<int, std::string>>& missing) {
        std::vector<std::pair<int, std::string>> rest;
        for (auto& file : missing) {
            const std::string name = FileName(file.second);
            std::error_code failure;
            if (record_.PreviousSites(name) == took_ && fs::exists(file.second, failure)) {
                record_.Put(name, asked_, took_);
                ++result_.counts.skipped;
            } else {
                rest.push_back(std::move(file));
            }
        }
        missing = std::move(rest);
    }

    void NoteIncomplete(const std::string& path) {
        std::string without;
        for (const MosaicSiteTerm& site : mosaic_.sites) {
            if (!site.present)
                without += (without.empty() ? "" : ", ") + site.code + " (" + site.why + ")";
        }
        if (without.empty()) return;
        ++result_.counts.incomplete;
        std::string name = path;
        if (job_.format != BatchFormat::OdimH5) name = name.substr(0, name.rfind('_')) + "_*";
        result_.incomplete.push_back(name + ": made without " + without);
    }

    // ODIM_H5 holds all the products of a term in one file.
    std::vector<int> FileLayers() const {
        return job_.format == BatchFormat::OdimH5 ? std::vector<int>{0} : job_.layers;
    }

    void WriteOdim(const std::string& path) {
        OdimObject object;
        std::string error;
        ProductFound found = ProductFound::Present;
        if (job_.mosaic) {
            object =
                OdimCompositeOf(mosaic_, unit_.day, at_.termText, job_.layers, job_.mosaic->method);
            if (object.datasets.empty()) found = ProductFound::Absent;
        } else {
            found = CollectOdimImage(term_, at_, job_.layers, object, error);
        }
        if (found == ProductFound::Absent) {
            ++result_.counts.absent;
        } else if (found == ProductFound::Broken ||
                   !IdentifyOdimObject(job_.odim, job_.mosaic ? "" : unit_.site, object, error)) {
            result_.Fail(path, error);
        } else if (std::optional<std::string> bytes = EncodeOdimH5(object, error); !bytes) {
            result_.Fail(path, "Cannot make " + path + ": " + error);
        } else {
            Made(path, std::move(*bytes));
        }
    }

    void Made(const std::string& path, std::string bytes) {
        result_.made.push_back({path, std::move(bytes), took_});
    }

    void EncodeProduct(int code, const std::string& path) {
        if (job_.mosaic) {
            EncodeComposite(code, path);
            return;
        }
        GridValues values;
        std::string reason;
        const ProductFound found = term_.Product(code, values, reason);
        if (found == ProductFound::Absent) {
            ++result_.counts.absent;
            return;
        }
        if (found == ProductFound::Broken) {
            result_.Fail(path, reason);
            return;
        }
        std::string error;
        std::optional<std::string> bytes = job_.format == BatchFormat::Png
                                               ? DrawPicture(code, error)
                                               : EncodeMap(code, values, error);
        if (!bytes) {
            result_.Fail(path, error);
            return;
        }
        Made(path, std::move(*bytes));
    }

    void EncodeComposite(int code, const std::string& path) {
        const std::unique_ptr<MapSource> source = MosaicSourceOf(
            *job_.config, mosaic_, unit_.day, at_.termText, code, job_.mosaic->method);
        if (source->compositeSites.empty()) {
            ++result_.counts.absent;
            return;
        }
        std::string error;
        std::optional<std::string> bytes;
        if (job_.format != BatchFormat::Png) {
            bytes = EncodeSource(*source, error);
        } else if (!job_.drawComposite) {
            error = "pictures cannot be drawn here";
        } else {
            const std::lock_guard<std::mutex> drawing(DrawingLock());
            bytes = job_.drawComposite(*source, mosaic_, error);
        }
        if (!bytes) {
            result_.Fail(path, error);
            return;
        }
        Made(path, std::move(*bytes));
    }

    std::optional<std::string> EncodeMap(int code, const GridValues& values, std::string& error) {
        if (values.values.size() != static_cast<size_t>(kGridCells)) {
            error = "the product is not a site's 100 x 100 grid";
            return std::nullopt;
        }
        auto source = std::make_unique<MapSource>();
        std::copy(values.values.begin(), values.values.end(), source->grid.values.begin());
        source->layerCode = code;
        source->siteLat = term_.siteLat();
        source->siteLon = term_.siteLon();
        source->siteCode = unit_.site;
        source->siteName = SiteDisplayName(*job_.config, unit_.site);
        source->dayName = unit_.day;
        source->termText = at_.termText;
        source->palette = job_.config->palette;
        return EncodeSource(*source, error);
    }

    std::optional<std::string> EncodeSource(const MapSource& source, std::string& error) {
        const MapFormat format =
            job_.format == BatchFormat::Kmz ? MapFormat::Kmz : MapFormat::GeoTiff;
        if (format != MapFormat::Kmz) return EncodeMapFile(source, format, error);
        const std::lock_guard<std::mutex> drawing(DrawingLock());
        return EncodeMapFile(source, format, error);
    }

    std::optional<std::string> DrawPicture(int code, std::string& error) {
        if (!job_.drawPicture) {
            error = "pictures cannot be drawn here";
            return std::nullopt;
        }
        DisplayState at = at_;
        at.layerCode = code;
        const std::lock_guard<std::mutex> drawing(DrawingLock());
        return job_.drawPicture(at, error);
    }

    const BatchJob& job_;
    const SiteDay& unit_;
    MosaicLoader& loader_;
    BatchRecord& record_;
    const std::string& asked_;
    std::string took_;  // the sites a composite was made from
    DisplayState at_;
    TermProducts term_;
    MosaicTerm mosaic_;
    TermResult result_;
};

class Runner {
  public:
    Runner(const BatchJob& job, const BatchHooks& hooks)
        : job_(job), hooks_(hooks), asked_(AskedOf(job)) {}

    int64_t TotalTerms() {
        CountTerms();
        return report_.totals.termsTotal;
    }

    BatchReport Run() {
        CountTerms();
        std::atomic<size_t> next{0};
        // Each worker keeps its own loader, so that the composite's layout is
        // worked out once per worker rather than once a term.
        const auto work = [&] {
            MosaicLoader loader;
            for (size_t u = next++; u < job_.units.size() && !Stopped(); u = next++)
                Unit(u, loader);
        };
        const int jobs = std::max(1, job_.jobs);
        std::vector<std::thread> workers;
        for (int i = 1; i < jobs; ++i) workers.emplace_back(work);
        work();
        for (std::thread& worker : workers) worker.join();
        report_.stopped = stopped_.load();
        return report_;
    }

  private:
    // The total for the progress line, and the days' unit counts for the
    // line per day. Only counts are kept, whatever the range's length.
    void CountTerms() {
        terms_.resize(job_.units.size(), -1);
        for (size_t u = 0; u < job_.units.size(); ++u) {
            const SiteDay& unit = job_.units[u];
            ++unitsLeft_[unit.day];
            std::vector<std::string> terms;
            terms_[u] = TermsOf(unit, terms);
            if (terms_[u] > 0) report_.totals.termsTotal += terms_[u];
        }
    }

    // The unit's terms in order, and their count; -1 when there is no index
    // file: a site that was not working that day, or a composite day none of
    // whose sites was.
    int TermsOf(const SiteDay& unit, std::vector<std::string>& terms) const {
        terms.clear();
        const std::vector<std::string> own = {unit.site};
        const std::vector<std::string>& sites = job_.mosaic ? job_.mosaic->sites : own;
        std::set<std::string> all;
        bool indexed = false;
        for (const std::string& site : sites) {
            const DayArchive archive = DayArchive::Of(job_.config->dataRoot, site, unit.day);
            std::error_code failure;
            if (!fs::exists(archive.indexPath, failure)) continue;
            indexed = true;
            std::vector<std::string> listed;
            LoadTermList(archive.indexPath, listed);
            all.insert(listed.begin(), listed.end());
        }
        if (!indexed) return -1;
        terms.assign(all.begin(), all.end());
        return static_cast<int>(terms.size());
    }

    bool Stopped() {
        if (!stopped_ && hooks_.stop) {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (hooks_.stop()) stopped_ = true;
        }
        return stopped_;
    }

    void Unit(size_t u, MosaicLoader& loader) {
        const SiteDay& unit = job_.units[u];
        if (terms_[u] < 0) {
            Finish(unit, {}, true);
            return;
        }
        std::vector<std::string> terms;
        TermResult dayResult;
        if (TermsOf(unit, terms) <= 0) {
            const std::string where =
                job_.mosaic ? "the sites' index files of " + unit.day
                            : DayArchive::Of(job_.config->dataRoot, unit.site, unit.day).indexPath;
            dayResult.Fail(where, "the index file lists no term that can be read");
            Finish(unit, dayResult, false);
            return;
        }
        const std::string dir = job_.outDir + "/" + unit.site + "/" + unit.day;
        std::error_code failure;
        fs::create_directories(dir, failure);
        std::string why = failure ? "cannot create the directory: " + failure.message() : "";
        BatchRecord record(dir, unit.site + "_" + unit.day + "_");
        if (why.empty()) {
            record.RemoveTemporaries();
            record.Load();
            std::vector<std::string> names;
            const std::vector<int> layers =
                job_.format == BatchFormat::OdimH5 ? std::vector<int>{0} : job_.layers;
            for (const std::string& termText : terms) {
                for (const int code : layers)
                    names.push_back(
                        FileName(BatchFilePath(job_.outDir, unit, termText, code, job_.format)));
            }
            const std::string allSites = job_.mosaic ? Joined(job_.mosaic->sites) : "";
            std::string error;
            if (!record.Prepare(names, asked_, allSites, error)) why = error;
        }
        int sinceRecorded = 0;
        Waiting waiting;
        for (const std::string& termText : terms) {
            if (Stopped()) break;
            if (!why.empty()) {
                const int64_t files = job_.format == BatchFormat::OdimH5
                                          ? 1
                                          : static_cast<int64_t>(job_.layers.size());
                TermResult result;
                result.Fail(dir, why, files);
                Term(unit, result);
                continue;
            }
            TermResult result = TermWriter(job_, unit, termText, loader, record, asked_).Run();
            for (MadeFile& file : result.made) {
                waiting.bytes += file.bytes.size();
                waiting.files.push_back(std::move(file));
            }
            result.made.clear();
            Term(unit, result);
            if (++waiting.terms >= kTermsPerSync || waiting.bytes >= kBytesPerSync)
                FlushFiles(unit, waiting, record);
            std::string error;
            if (++sinceRecorded >= kRecordEveryTerms) {
                sinceRecorded = 0;
                if (!record.Flush(error)) dayResult.Fail(dir, error);
            }
        }
        FlushFiles(unit, waiting, record);
        std::string error;
        if (why.empty() && !record.Flush(error)) dayResult.Fail(dir, error);
        Finish(unit, dayResult, false);
    }

    struct Waiting {
        std::vector<MadeFile> files;
        size_t bytes = 0;
        int terms = 0;
    };

    // Puts the waiting files in place with one sync for all of them; each
    // is still whole or absent, and only then recorded.
    void FlushFiles(const SiteDay& unit, Waiting& waiting, BatchRecord& record) {
        TermResult result;
        if (!waiting.files.empty()) {
            std::vector<FileContent> files;
            for (const MadeFile& file : waiting.files) files.push_back({file.path, file.bytes});
            std::string error;
            if (ReplaceFileSet(files, error, SetSync::Together)) {
                result.counts.written = static_cast<int64_t>(files.size());
                for (const MadeFile& file : waiting.files)
                    record.Put(FileName(file.path), asked_, file.sites);
            } else {
                result.Fail(files.front().path, error, static_cast<int64_t>(files.size()));
            }
            Counts(unit, result);
        }
        waiting = Waiting{};
    }

    void Counts(const SiteDay& unit, const TermResult& result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Merge(report_.totals.counts, result.counts);
        Keep(result);
        Merge(days_[unit.day].counts, result.counts);
    }

    void Merge(BatchCounts& into, const BatchCounts& add) {
        into.written += add.written;
        into.skipped += add.skipped;
        into.absent += add.absent;
        into.failed += add.failed;
        into.incomplete += add.incomplete;
    }

    void Keep(const TermResult& result) {
        for (const std::string& failure : result.failures) {
            if (report_.failures.size() < kBatchFailuresKept) report_.failures.push_back(failure);
        }
        for (const std::string& line : result.incomplete) {
            if (report_.incomplete.size() < kBatchFailuresKept) report_.incomplete.push_back(line);
        }
    }

    void Term(const SiteDay& unit, const TermResult& result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Merge(report_.totals.counts, result.counts);
        Keep(result);
        BatchDay& day = days_[unit.day];
        Merge(day.counts, result.counts);
        ++day.terms;
        ++report_.totals.termsDone;
        if (hooks_.progress) hooks_.progress(report_.totals);
    }

    void Finish(const SiteDay& unit, const TermResult& result, bool withoutData) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Merge(report_.totals.counts, result.counts);
        Keep(result);
        BatchDay& day = days_[unit.day];
        day.day = unit.day;
        Merge(day.counts, result.counts);
        if (withoutData) {
            ++day.siteDaysWithoutData;
            ++report_.siteDaysWithoutData;
        }
        if (--unitsLeft_[unit.day] > 0 || stopped_) return;
        if (hooks_.dayDone) hooks_.dayDone(day);
        days_.erase(unit.day);
        unitsLeft_.erase(unit.day);
    }

    const BatchJob& job_;
    const BatchHooks& hooks_;
    const std::string asked_;
    BatchReport report_;
    std::vector<int> terms_;
    std::map<std::string, int> unitsLeft_;
    std::map<std::string, BatchDay> days_;
    std::mutex mutex_;
    std::atomic<bool> stopped_{false};
};

}  // namespace

BatchReport RunBatch(const BatchJob& job, const BatchHooks& hooks) {
    return Runner(job, hooks).Run();
}

int64_t CountBatchTerms(const BatchJob& job) {
    const BatchHooks none;
    return Runner(job, none).TotalTerms();
}

}  // namespace kalvera
