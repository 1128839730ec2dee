// The text form of a colour table: "Key: arguments" lines, ";" to the end of
// a line is a comment, keys in any case.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>

#include "common/error_text.h"
#include "common/file_bytes.h"
#include "common/replace_file.h"
#include "geo/colour_table.h"

namespace kalvera {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == ',')) ++i;
        size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',')
            ++end;
        if (end > i) words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

bool Number(std::string_view word, double& value) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

bool Channel(std::string_view word, uint8_t& value) {
    int v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < 0 || v > 255) return false;
    value = static_cast<uint8_t>(v);
    return true;
}

// `count` channels (3 or 4) from words[first...]; alpha stays opaque for 3.
bool ColourOf(const std::vector<std::string_view>& words, size_t first, size_t count, Rgba& c) {
    if (words.size() < first + count) return false;
    uint8_t* channels[] = {&c.r, &c.g, &c.b, &c.a};
    for (size_t k = 0; k < count; ++k) {
        if (!Channel(words[first + k], *channels[k])) return false;
    }
    return true;
}

std::string Formatted(double value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string("0");
}

void WriteColour(std::ostringstream& out, const Rgba& c, bool alpha) {
    out << ' ' << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b);
    if (alpha) out << ' ' << int(c.a);
}

struct LineReader {
    const std::string& file;
    int line = 0;
    std::string& error;

    bool fail(const std::string& why) {
        error = file + ":" + std::to_string(line) + ": " + why;
        return false;
    }
};

// A Color/Color4/SolidColor/SolidColor4 line's arguments.
bool ReadStop(LineReader& at, const std::vector<std::string_view>& words, bool alpha, bool solid,
              ColourTable& table) {
    const size_t channels = alpha ? 4 : 3;
    ColourStop stop;
    stop.alpha = alpha;
    stop.solid = solid;
    const bool oneColour = words.size() == 1 + channels;
    const bool twoColours = !solid && words.size() == 1 + 2 * channels;
    if (!oneColour && !twoColours) {
        return at.fail("a colour needs a value and " + std::to_string(channels) +
                       (solid ? "" : " or " + std::to_string(2 * channels)) + " channels");
    }
    if (!Number(words[0], stop.value)) return at.fail("not a number: " + std::string(words[0]));
    if (!ColourOf(words, 1, channels, stop.colour)) return at.fail("channels run from 0 to 255");
    if (twoColours) {
        Rgba to;
        if (!ColourOf(words, 1 + channels, channels, to)) {
            return at.fail("channels run from 0 to 255");
        }
        stop.to = to;
    }
    table.stops.push_back(stop);
    return true;
}

bool ReadNumber(LineReader& at, const std::vector<std::string_view>& words, double& value) {
    if (words.size() != 1 || !Number(words[0], value)) return at.fail("needs one number");
    return true;
}

bool ReadLine(LineReader& at, std::string_view key, std::string_view rest, ColourTable& table,
              std::vector<std::string>& warnings) {
    const std::string k = Lower(key);
    const std::vector<std::string_view> words = Words(rest);
    if (k == "product") {
        table.product = std::string(rest);
    } else if (k == "units") {
        table.units = std::string(rest);
    } else if (k == "scale") {
        if (!ReadNumber(at, words, table.scale)) return false;
        if (table.scale == 0.0) return at.fail("a scale of 0 maps every value onto one");
    } else if (k == "offset") {
        return ReadNumber(at, words, table.offset);
    } else if (k == "step") {
        double step = 0.0;
        if (!ReadNumber(at, words, step)) return false;
        table.step = step;
    } else if (k == "rf") {
        Rgba c;
        if (words.size() != 3 || !ColourOf(words, 0, 3, c)) return at.fail("RF needs R G B");
        table.rangeFolded = c;
    } else if (k == "color" || k == "colour" || k == "color4" || k == "colour4" ||
               k == "solidcolor" || k == "solidcolour" || k == "solidcolor4" ||
               k == "solidcolour4") {
        return ReadStop(at, words, k.back() == '4', k.rfind("solid", 0) == 0, table);
    } else {
        warnings.push_back(at.file + ":" + std::to_string(at.line) + ": unknown key \"" +
                           std::string(key) + "\" left out");
    }
    return true;
}

}  // namespace

bool ParseColourTable(std::string_view text, const std::string& fileName, ColourTable& table,
                      std::string& error, std::vector<std::string>& warnings) {
    ColourTable read;
    LineReader at{fileName, 0, error};
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        ++at.line;
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        line = Trim(line.substr(0, line.find(';')));
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return at.fail("a line needs \"Key: value\"");
        if (!ReadLine(at, Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)), read,
                      warnings)) {
            return false;
        }
    }
    if (read.stops.empty()) {
        error = fileName + ": no Color or SolidColor line";
        return false;
    }
    // Other viewers' tables are not always in order; bands run upwards.
    std::stable_sort(read.stops.begin(), read.stops.end(),
                     [](const ColourStop& a, const ColourStop& b) { return a.value < b.value; });
    table = std::move(read);
    error.clear();
    return true;
}

std::string WriteColourTable(const ColourTable& table) {
    std::ostringstream out;
    if (!table.product.empty()) out << "Product: " << table.product << '\n';
    if (!table.units.empty()) out << "Units: " << table.units << '\n';
    if (table.scale != 1.0) out << "Scale: " << Formatted(table.scale) << '\n';
    if (table.offset != 0.0) out << "Offset: " << Formatted(table.offset) << '\n';
    if (table.step) out << "Step: " << Formatted(*table.step) << '\n';
    if (table.rangeFolded) {
        out << "RF:";
        WriteColour(out, *table.rangeFolded, false);
        out << '\n';
    }
    for (const ColourStop& stop : table.stops) {
        out << (stop.solid ? "SolidColor" : "Color") << (stop.alpha ? "4" : "") << ": "
            << Formatted(stop.value);
        WriteColour(out, stop.colour, stop.alpha);
        if (stop.to) WriteColour(out, *stop.to, stop.alpha);
        out << '\n';
    }
    return out.str();
}

bool LoadColourTable(const std::string& path, ColourTable& table, std::string& error,
                     std::vector<std::string>& warnings) {
    std::string bytes;
    int cause = 0;
    if (!ReadFileBytes(path, bytes, cause)) {
        error = "Cannot read colour table \"" + path + "\": " + ErrorText(cause) + ".";
        return false;
    }
    return ParseColourTable(bytes, path, table, error, warnings);
}

bool SaveColourTable(const std::string& path, const ColourTable& table, std::string& error) {
    return ReplaceFileContents(path, WriteColourTable(table), error);
}

}  // namespace kalvera
