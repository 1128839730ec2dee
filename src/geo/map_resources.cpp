#include "geo/map_resources.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/file_bytes.h"
#include "common/little_endian.h"
#include "common/text_codec.h"

namespace kalvera {

namespace {

constexpr size_t kIndexRecordSize = 32;
constexpr size_t kPointSize = 8;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& path, const char* mode) {
    return File(std::fopen(path.c_str(), mode));
}

// The points of one outline that lie inside the point bytes.
Outline PointsOf(std::string_view points, int32_t count, int32_t offset) {
    Outline outline;
    const auto size = static_cast<long long>(points.size());
    if (count <= 0 || offset < 0 || offset >= size) return outline;
    const long long available = (size - offset) / static_cast<long long>(kPointSize);
    const auto n = static_cast<size_t>(std::min<long long>(count, available));
    outline.resize(n);
    const auto* bytes = reinterpret_cast<const unsigned char*>(points.data()) + offset;
    for (size_t i = 0; i < n; ++i) {
        outline[i].lat = std::bit_cast<float>(ReadLe32(bytes + i * kPointSize));
        outline[i].lon = std::bit_cast<float>(ReadLe32(bytes + i * kPointSize + 4));
    }
    return outline;
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A reader with the habits of "%s %f %f" on a stream: white space is skipped
// before each field, and a number takes the longest prefix that reads as one.
class PlaceScanner {
  public:
    explicit PlaceScanner(std::string text) : text_(std::move(text)) {}

    bool atEnd() const { return pos_ >= text_.size(); }

    // False when the end came first.
    bool token(std::string& out) {
        skipBlanks();
        if (atEnd()) return false;
        const size_t start = pos_;
        while (!atEnd() && !IsBlank(text_[pos_])) ++pos_;
        out.assign(text_, start, pos_ - start);
        return true;
    }

    enum class Result { Read, NoMatch, End };
    Result number(float& out) {
        skipBlanks();
        if (atEnd()) return Result::End;
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        const char* p = begin;
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        float value = 0.0f;
        const auto [next, error] = std::from_chars(p, end, value);
        if (next == p) return Result::NoMatch;
        if (error == std::errc()) out = negative ? -value : value;
        pos_ += static_cast<size_t>(next - begin);
        return Result::Read;
    }

  private:
    void skipBlanks() {
        while (!atEnd() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string text_;
    size_t pos_ = 0;
};

bool ReadWholeFile(const std::string& path, std::string& out) {
    int error = 0;
    return ReadFileBytes(path, out, error);
}

}  // namespace

void ParseOutlines(std::string_view index, std::string_view points,
                   std::vector<Outline>& outlines) {
    outlines.clear();
    const auto* record = reinterpret_cast<const unsigned char*>(index.data());
    // A partial record at the end is not one.
    for (size_t at = 0; at + kIndexRecordSize <= index.size(); at += kIndexRecordSize) {
        const auto count = static_cast<int32_t>(ReadLe32(record + at + 8));
        const auto offset = static_cast<int32_t>(ReadLe32(record + at + 12));
        outlines.push_back(PointsOf(points, count, offset));
    }
}

bool ReadOutlines(const std::string& binPath, const std::string& indPath,
                  std::vector<Outline>& outlines) {
    outlines.clear();
    std::string points, index;
    if (!ReadWholeFile(binPath, points) || !ReadWholeFile(indPath, index)) return false;
    ParseOutlines(index, points, outlines);
    return true;
}

bool ReadPlaces(const std::string& path, std::vector<Place>& places) {
    places.clear();
    std::string text;
    if (!ReadWholeFile(path, text)) return false;
    ParsePlaces(std::move(text), places);
    return true;
}

void ParsePlaces(std::string text, std::vector<Place>& places) {
    places.clear();
    PlaceScanner scan(std::move(text));
    Place current;
    bool anyRead = false;
    // Each round reads what it can and then shows the place as it stands; the
    // end is tested after showing it.
    while (true) {
        std::string name;
        if (scan.token(name)) {
            current.name = Cp1251ToUtf8(name);
            anyRead = true;
            PlaceScanner::Result r = scan.number(current.lat);
            if (r == PlaceScanner::Result::Read) scan.number(current.lon);
        }
        if (anyRead) places.push_back(current);
        if (scan.atEnd()) break;
    }
}

bool MapResourceCache::StampOf(const std::string& path, Stamp& stamp) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return false;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) return false;
    if (!Open(path, "rb")) return false;
    stamp.path = path;
    stamp.size = static_cast<int64_t>(size);
    stamp.mtime = static_cast<int64_t>(time.time_since_epoch().count());
    return true;
}

const std::vector<Outline>* MapResourceCache::outlines(const std::string& binPath,
                                                       const std::string& indPath) {
    Stamp bin, ind;
    if (!StampOf(binPath, bin) || !StampOf(indPath, ind)) return nullptr;
    if (haveOutlines_ && bin == binStamp_ && ind == indStamp_) return &outlines_;
    haveOutlines_ = false;
    ++reads_;
    if (!ReadOutlines(binPath, indPath, outlines_)) return nullptr;
    binStamp_ = bin;
    indStamp_ = ind;
    haveOutlines_ = true;
    return &outlines_;
}

const std::vector<Place>* MapResourceCache::places(const std::string& path) {
    Stamp stamp;
    if (!StampOf(path, stamp)) return nullptr;
    if (havePlaces_ && stamp == placeStamp_) return &places_;
    havePlaces_ = false;
    ++reads_;
    if (!ReadPlaces(path, places_)) return nullptr;
    placeStamp_ = stamp;
    havePlaces_ = true;
    return &places_;
}

}  // namespace kalvera
