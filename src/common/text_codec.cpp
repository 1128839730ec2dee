#include "common/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace kalvera {

namespace {

// Length of the UTF-8 sequence that starts at `bytes[at]`, or 0 when it is
// malformed (overlong, surrogate, beyond U+10FFFF or cut short).
size_t Utf8SequenceLength(std::string_view bytes, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return length;
}

// Runs iconv over the whole input. An input sequence the target cannot hold
// becomes '?' and conversion goes on after it; `skip` says how many input
// bytes that sequence spans.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view input, Skip skip) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter only ASCII is certain; the rest is marked
        // rather than dropped, so the text keeps its length and shape.
        std::string ascii(input);
        for (char& c : ascii) {
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
        }
        return ascii;
    }
    std::string output;
    output.reserve(input.size() * 2 + 16);
    char buffer[1024];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (result != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: a byte or character without a counterpart.
        const size_t consumed = input.size() - inLeft;
        const size_t span = skip(input, consumed);
        output.push_back('?');
        in += span;
        inLeft -= span;
    }
    iconv_close(converter);
    return output;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    // One Windows-1251 byte (0x98) has no character; it takes one byte.
    return Convert("UTF-8", "CP1251", bytes, [](std::string_view, size_t) { return size_t{1}; });
}

std::string Utf8ToCp1251(std::string_view utf8) {
    return Convert("CP1251", "UTF-8", utf8, [](std::string_view input, size_t at) {
        const size_t length = Utf8SequenceLength(input, at);
        return length == 0 ? size_t{1} : length;
    });
}

}  // namespace kalvera
