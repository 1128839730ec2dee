#pragma once
// What a batch run asked of each file it wrote, kept beside the files of a
// site day (OUT/SITE/YYMMDD/.batch-record), so that a rerun rebuilds a file
// asked for differently (other layers in an ODIM_H5 file, another method,
// tolerance or choice of sites for a composite) or made without a site that
// can take part now, and keeps the rest.
//
// The record never claims more than the files hold: before a run rewrites a
// file it drops the file's line (written once, up front), and it adds a line
// only after the file is in place. A line lost to a crash costs a rebuild of
// a file that was whole, never a file kept that should not be. A file with no
// line (a crash, or a file from before the record) is rebuilt.
//
// Only one worker writes a site day's files at a time (shards and workers
// share out site days), so the record needs no lock.

#include <map>
#include <string>
#include <vector>

namespace kalvera {

class BatchRecord {
  public:
    // The record of the directory `dir`; `prefix` is how the names of the
    // files of its site day begin ("SITE_YYMMDD_").
    BatchRecord(std::string dir, std::string prefix);

    // Removes what an interrupted run left half-written: the hidden
    // temporary files of this site day's files and of the record. Returns
    // how many it removed.
    int RemoveTemporaries() const;

    // Reads the record; a missing or unreadable one is empty.
    void Load();

    // Drops every line that does not stand for `asked`, or whose file is
    // gone, or (for a composite) whose sites differ from `allSites`; the
    // composite lines dropped for their sites are remembered (see
    // PreviousSites). Writes the record once if anything was dropped.
    // `names` are the file names the run will write.
    bool Prepare(const std::vector<std::string>& names, const std::string& asked,
                 const std::string& allSites, std::string& error);

    // True when `name` stands as asked.
    bool Current(const std::string& name) const;
    // The sites an incomplete composite was made from, before Prepare
    // dropped its line; "-" when it was not such a file.
    std::string PreviousSites(const std::string& name) const;

    // The file is in place as asked, made from `sites` (a composite's; empty
    // for a site's file).
    void Put(const std::string& name, const std::string& asked, const std::string& sites);

    // Writes the record if it changed since it was last written.
    bool Flush(std::string& error);

  private:
    struct Line {
        std::string asked;
        std::string sites;
    };
    bool Write(std::string& error);

    std::string dir_;
    std::string prefix_;
    std::map<std::string, Line> lines_;
    std::map<std::string, std::string> previousSites_;
    bool changed_ = false;
};

// The record's file name inside a site day's directory.
inline constexpr const char* kBatchRecordName = ".batch-record";

}  // namespace kalvera
