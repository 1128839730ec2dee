#pragma once
// The map's resource files: country outlines (res/country.ind with 32-byte
// records, res/country.bin with float latitude/longitude pairs) and named
// places (res/punkt.txt: name, latitude, longitude, over and over).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvera {

struct GeoPoint {
    float lat = 0.0f;
    float lon = 0.0f;
};

using Outline = std::vector<GeoPoint>;

struct Place {
    std::string name;  // UTF-8
    float lat = 0.0f;
    float lon = 0.0f;
};

// Reads every outline in index order. An outline whose points run past the end
// of the point file keeps the points that are there; a record with a negative
// count or offset yields an empty outline. False (and no outlines) when either
// file cannot be opened.
bool ReadOutlines(const std::string& binPath, const std::string& indPath,
                  std::vector<Outline>& outlines);

// The same over the two files' bytes.
void ParseOutlines(std::string_view index, std::string_view points, std::vector<Outline>& outlines);

// Reads the places in file order. A token that is not a number leaves that
// field (and the rest of the place) as the previous place had them and is read
// again as the next name; a file ending in white space repeats its last place,
// which draws the same pixels. Names are converted from Windows-1251. False
// when the file cannot be opened.
bool ReadPlaces(const std::string& path, std::vector<Place>& places);
// The same over the file's text.
void ParsePlaces(std::string text, std::vector<Place>& places);

// Keeps the three files in memory between renders. A file is read again when
// its size or modification time changed, so the drawing is the same as if it
// were read at every render.
class MapResourceCache {
  public:
    // Null when either outline file cannot be opened now.
    const std::vector<Outline>* outlines(const std::string& binPath, const std::string& indPath);
    // Null when the place file cannot be opened now.
    const std::vector<Place>* places(const std::string& path);
    // How many times files were actually read (tests).
    int reads() const { return reads_; }

  private:
    struct Stamp {
        std::string path;
        int64_t size = -1;
        int64_t mtime = 0;
        bool operator==(const Stamp&) const = default;
    };
    static bool StampOf(const std::string& path, Stamp& stamp);

    Stamp binStamp_, indStamp_, placeStamp_;
    bool haveOutlines_ = false, havePlaces_ = false;
    std::vector<Outline> outlines_;
    std::vector<Place> places_;
    int reads_ = 0;
};

}  // namespace kalvera
