#pragma once
// Reading an index file record by record. The archiver may be appending while
// we read, so only whole 16-byte records are ever handed on; a piece at the
// end is a record still being written.

#include <array>
#include <cstdint>
#include <string>

#include "archive/day_archive.h"

namespace kalvera {

// The 16 bytes of one stored record, and back.
IndexRecord DecodeIndexRecord(const unsigned char* bytes);
std::array<unsigned char, sizeof(IndexRecord)> EncodeIndexRecord(const IndexRecord& record);

// Calls `visit(record)` for each complete record in file order until it
// returns false. Returns false when the file cannot be opened or read.
template <typename Visit>
bool ForEachIndexRecord(const std::string& indexPath, Visit visit);

namespace detail {

class IndexFile {
  public:
    explicit IndexFile(const std::string& path);
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Fills the buffer with the next complete records; 0 at the end of the
    // file, -1 on a read error.
    int nextRecords();
    const unsigned char* record(int index) const { return buffer_ + index * sizeof(IndexRecord); }

  private:
    static constexpr size_t kRecordsPerRead = 1024;
    void* file_ = nullptr;
    unsigned char buffer_[kRecordsPerRead * sizeof(IndexRecord)];
    size_t pending_ = 0;    // bytes of a record begun by the previous read
    size_t pendingAt_ = 0;  // where they stand in the buffer
};

}  // namespace detail

template <typename Visit>
bool ForEachIndexRecord(const std::string& indexPath, Visit visit) {
    detail::IndexFile file(indexPath);
    if (!file.isOpen()) return false;
    for (;;) {
        const int count = file.nextRecords();
        if (count < 0) return false;
        if (count == 0) return true;
        for (int i = 0; i < count; ++i) {
            if (!visit(DecodeIndexRecord(file.record(i)))) return true;
        }
    }
}

}  // namespace kalvera
