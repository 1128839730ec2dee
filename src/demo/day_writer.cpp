#include "demo/day_writer.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "archive/index_records.h"
#include "common/error_text.h"
#include "common/little_endian.h"

namespace kalvera::demo {

namespace {

constexpr size_t kRecordSize = sizeof(IndexRecord);
using RecordBytes = std::array<unsigned char, kRecordSize>;

RecordBytes StoredRecord(int hour, int minute, int layerCode, uint32_t offset, uint32_t length) {
    IndexRecord record;
    record.hour = static_cast<uint8_t>(hour);
    record.minute = static_cast<uint8_t>(minute);
    record.layerCode = static_cast<uint8_t>(layerCode);
    record.offset = static_cast<int32_t>(offset);
    // The length of the message, for tools that walk the base file.
    WriteLe32(record.tail, length);
    return EncodeIndexRecord(record);
}

bool Fail(std::string& error, const std::string& path, int code) {
    error = "Cannot write " + path + ": " + ErrorText(code);
    return false;
}

bool WriteAll(std::FILE* f, const unsigned char* data, size_t size) {
    return std::fwrite(data, 1, size, f) == size && std::fflush(f) == 0;
}

// A record left half written (the writer was killed in its pause) would
// shift every record appended after it; cut it off first.
bool DropTornRecord(const std::string& indexPath) {
    std::error_code failure;
    const auto size = std::filesystem::file_size(indexPath, failure);
    if (failure) return true;  // no index yet
    if (size % kRecordSize == 0) return true;
    std::filesystem::resize_file(indexPath, size - size % kRecordSize, failure);
    return !failure;
}

}  // namespace

std::set<int> TermsInIndex(const std::string& indexPath) {
    std::set<int> terms;
    const bool read = ForEachIndexRecord(indexPath, [&](const IndexRecord& record) {
        terms.insert(record.hour * 60 + record.minute);
        return true;
    });
    if (!read) terms.clear();
    return terms;
}

bool AppendTerm(const DayArchive& day, int hour, int minute,
                const std::vector<TermMessage>& messages, const RecordSplitter* splitter,
                std::string& error) {
    const std::string& basePath = day.basePath;
    const std::string& indexPath = day.indexPath;

    std::FILE* base = std::fopen(basePath.c_str(), "ab");
    if (base == nullptr) return Fail(error, basePath, errno);
    std::fseek(base, 0, SEEK_END);
    const long start = std::ftell(base);
    std::vector<RecordBytes> records;
    auto offset = static_cast<uint32_t>(start < 0 ? 0 : start);
    bool ok = start >= 0;
    for (const TermMessage& m : messages) {
        if (!ok) break;
        ok = WriteAll(base, m.bytes.data(), m.bytes.size());
        const auto length = static_cast<uint32_t>(m.bytes.size());
        records.push_back(StoredRecord(hour, minute, m.layerCode, offset, length));
        offset += length;
    }
    const int baseErrno = errno;
    if (std::fclose(base) != 0) ok = false;
    if (!ok) return Fail(error, basePath, baseErrno);

    if (!DropTornRecord(indexPath)) return Fail(error, indexPath, errno);
    std::FILE* index = std::fopen(indexPath.c_str(), "ab");
    if (index == nullptr) return Fail(error, indexPath, errno);
    for (size_t n = 0; n < records.size() && ok; ++n) {
        const int split =
            splitter != nullptr && splitter->splitAt ? splitter->splitAt(static_cast<int>(n)) : 0;
        if (split > 0 && split < static_cast<int>(kRecordSize)) {
            ok = WriteAll(index, records[n].data(), static_cast<size_t>(split));
            if (ok && splitter->pause) splitter->pause();
            ok = ok && WriteAll(index, records[n].data() + split, kRecordSize - split);
        } else {
            ok = WriteAll(index, records[n].data(), kRecordSize);
        }
    }
    const int indexErrno = errno;
    if (std::fclose(index) != 0) ok = false;
    if (!ok) return Fail(error, indexPath, indexErrno);
    return true;
}

}  // namespace kalvera::demo
