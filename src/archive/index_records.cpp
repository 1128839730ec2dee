#include "archive/index_records.h"

#include <cstdio>
#include <cstring>

#include "common/little_endian.h"

namespace kalvera {

IndexRecord DecodeIndexRecord(const unsigned char* bytes) {
    IndexRecord record;
    record.hour = bytes[0];
    record.minute = bytes[1];
    record.layerCode = bytes[2];
    record.spare = bytes[3];
    record.offset = static_cast<int32_t>(ReadLe32(bytes + 4));
    std::memcpy(record.tail, bytes + 8, sizeof record.tail);
    return record;
}

std::array<unsigned char, sizeof(IndexRecord)> EncodeIndexRecord(const IndexRecord& record) {
    std::array<unsigned char, sizeof(IndexRecord)> bytes{};
    bytes[0] = record.hour;
    bytes[1] = record.minute;
    bytes[2] = record.layerCode;
    bytes[3] = record.spare;
    WriteLe32(&bytes[4], static_cast<uint32_t>(record.offset));
    std::memcpy(&bytes[8], record.tail, sizeof record.tail);
    return bytes;
}

namespace detail {

IndexFile::IndexFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

IndexFile::~IndexFile() {
    if (file_ != nullptr) std::fclose(static_cast<std::FILE*>(file_));
}

int IndexFile::nextRecords() {
    auto* file = static_cast<std::FILE*>(file_);
    // A piece left over from the previous read is the start of the next record.
    if (pending_ > 0) std::memmove(buffer_, buffer_ + pendingAt_, pending_);
    size_t filled = pending_;
    // fread stops short only at the end of the file or on an error; either
    // way a trailing piece shorter than a record is kept back, not used.
    filled += std::fread(buffer_ + filled, 1, sizeof buffer_ - filled, file);
    if (std::ferror(file) != 0) return -1;
    const size_t whole = filled / sizeof(IndexRecord);
    pendingAt_ = whole * sizeof(IndexRecord);
    pending_ = filled - pendingAt_;
    return static_cast<int>(whole);
}

}  // namespace detail

}  // namespace kalvera
