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

struct TermResult {
    BatchCounts counts;
    std::vector<std::string> failures;

    void Fail(const std::string& path, const std::string& reason, int64_t files = 1) {
        counts.failed += files;
        failures.push_back(path + ": " + reason);
    }
};

class TermWriter {
  public:
    TermWriter(const BatchJob& job, const SiteDay& unit, const std::string& termText,
               MosaicLoader& loader)
        : job_(job), unit_(unit), loader_(loader) {
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
            std::error_code failure;
            if (fs::exists(path, failure))
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
        } else if (!term_.Load(at_, error)) {
            result_.Fail(missing.front().second, error, static_cast<int64_t>(missing.size()));
            return result_;
        }
        if (job_.format == BatchFormat::OdimH5) {
            WriteOdim(missing.front().second);
            return result_;
        }
        for (const auto& [code, path] : missing) EncodeProduct(code, path);
        WritePending();
        return result_;
    }

  private:
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
        } else if (found == ProductFound::Broken || !WriteOdimFile(object, path, error)) {
            result_.Fail(path, error);
        } else {
            ++result_.counts.written;
        }
    }

    // A term's files go to disk as one set, which syncs their directory once
    // rather than once a file; each of them is still whole or absent.
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
        pending_.push_back({path, std::move(*bytes)});
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
        pending_.push_back({path, std::move(*bytes)});
    }

    void WritePending() {
        if (pending_.empty()) return;
        std::vector<FileContent> files;
        for (const auto& [path, bytes] : pending_) files.push_back({path, bytes});
        std::string error;
        if (ReplaceFileSet(files, error))
            result_.counts.written += static_cast<int64_t>(files.size());
        else
            result_.Fail(files.front().path, error, static_cast<int64_t>(files.size()));
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
    DisplayState at_;
    TermProducts term_;
    MosaicTerm mosaic_;
    TermResult result_;
    std::vector<std::pair<std::string, std::string>> pending_;  // path, bytes
};

class Runner {
  public:
    Runner(const BatchJob& job, const BatchHooks& hooks) : job_(job), hooks_(hooks) {}

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
        std::error_code failure;
        fs::create_directories(fs::path(job_.outDir) / unit.site / unit.day, failure);
        for (const std::string& termText : terms) {
            if (Stopped()) break;
            if (failure) {
                const int64_t files = job_.format == BatchFormat::OdimH5
                                          ? 1
                                          : static_cast<int64_t>(job_.layers.size());
                TermResult result;
                result.Fail(job_.outDir + "/" + unit.site + "/" + unit.day,
                            "cannot create the directory: " + failure.message(), files);
                Term(unit, result);
                continue;
            }
            Term(unit, TermWriter(job_, unit, termText, loader).Run());
        }
        Finish(unit, dayResult, false);
    }

    void Merge(BatchCounts& into, const BatchCounts& add) {
        into.written += add.written;
        into.skipped += add.skipped;
        into.absent += add.absent;
        into.failed += add.failed;
    }

    void Keep(const std::vector<std::string>& failures) {
        for (const std::string& failure : failures) {
            if (report_.failures.size() < kBatchFailuresKept) report_.failures.push_back(failure);
        }
    }

    void Term(const SiteDay& unit, const TermResult& result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Merge(report_.totals.counts, result.counts);
        Keep(result.failures);
        BatchDay& day = days_[unit.day];
        Merge(day.counts, result.counts);
        ++day.terms;
        ++report_.totals.termsDone;
        if (hooks_.progress) hooks_.progress(report_.totals);
    }

    void Finish(const SiteDay& unit, const TermResult& result, bool withoutData) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Merge(report_.totals.counts, result.counts);
        Keep(result.failures);
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

}  // namespace kalvera
