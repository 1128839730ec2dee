#include "output/batch_record.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "common/replace_file.h"

namespace kalvera {

namespace fs = std::filesystem;

namespace {

// The file-replacement routine's temporary name: "." + name + "." and six
// characters.
constexpr size_t kTemporaryTail = 7;

bool IsTemporaryOf(const std::string& entry, const std::string& prefix) {
    if (entry.size() <= kTemporaryTail + 1 || entry[0] != '.' ||
        entry[entry.size() - kTemporaryTail] != '.')
        return false;
    const std::string name = entry.substr(1, entry.size() - 1 - kTemporaryTail);
    return name == kBatchRecordName || name.rfind(prefix, 0) == 0;
}

}  // namespace

BatchRecord::BatchRecord(std::string dir, std::string prefix)
    : dir_(std::move(dir)), prefix_(std::move(prefix)) {}

int BatchRecord::RemoveTemporaries() const {
    int removed = 0;
    std::error_code failure;
    for (fs::directory_iterator it(dir_, failure), end; !failure && it != end;
         it.increment(failure)) {
        std::error_code gone;
        if (IsTemporaryOf(it->path().filename().string(), prefix_) && it->is_regular_file(gone) &&
            fs::remove(it->path(), gone))
            ++removed;
    }
    return removed;
}

void BatchRecord::Load() {
    lines_.clear();
    std::ifstream in(dir_ + "/" + kBatchRecordName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t first = line.find('\t');
        const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos) continue;
        lines_[line.substr(0, first)] = {line.substr(first + 1, second - first - 1),
                                         line.substr(second + 1)};
    }
    changed_ = false;
}

bool BatchRecord::Prepare(const std::vector<std::string>& names, const std::string& asked,
                          const std::string& allSites, std::string& error) {
    bool dropped = false;
    for (const std::string& name : names) {
        const auto line = lines_.find(name);
        if (line == lines_.end()) continue;
        std::error_code failure;
        const bool stands = line->second.asked == asked && fs::exists(dir_ + "/" + name, failure);
        const bool allThere = allSites.empty() || line->second.sites == allSites;
        if (stands && allThere) continue;
        if (stands) previousSites_[name] = line->second.sites;
        lines_.erase(line);
        dropped = true;
    }
    if (!dropped) return true;
    // Before any of those files is touched.
    return Write(error);
}

bool BatchRecord::Current(const std::string& name) const {
    return lines_.count(name) != 0;
}

std::string BatchRecord::PreviousSites(const std::string& name) const {
    const auto found = previousSites_.find(name);
    return found == previousSites_.end() ? "-" : found->second;
}

void BatchRecord::Put(const std::string& name, const std::string& asked, const std::string& sites) {
    lines_[name] = {asked, sites};
    previousSites_.erase(name);
    changed_ = true;
}

bool BatchRecord::Flush(std::string& error) {
    return !changed_ || Write(error);
}

bool BatchRecord::Write(std::string& error) {
    std::ostringstream text;
    for (const auto& [name, line] : lines_)
        text << name << '\t' << line.asked << '\t' << line.sites << '\n';
    if (!ReplaceFileContents(dir_ + "/" + kBatchRecordName, text.str(), error)) return false;
    changed_ = false;
    return true;
}

}  // namespace kalvera
