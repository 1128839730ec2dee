#include "output/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "common/replace_file.h"

namespace kalvera {

namespace {

constexpr int kMaxColours = 256;

// One frame as indices into its own table of colours (0xRRGGBB).
struct IndexedFrame {
    std::vector<GifByteType> pixels;
    std::vector<uint32_t> colours;
};

bool Index(const QImage& source, IndexedFrame& out) {
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    out.colours.clear();
    std::unordered_map<uint32_t, GifByteType> index;
    // Pictures run in long stretches of one colour: the last lookup is kept.
    uint32_t last = 0xFFFFFFFFu;
    GifByteType lastIndex = 0;
    size_t at = 0;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x, ++at) {
            const uint32_t rgb = row[x] & 0xFFFFFFu;
            if (rgb != last) {
                auto [it, added] = index.try_emplace(rgb, static_cast<GifByteType>(0));
                if (added) {
                    if (out.colours.size() == kMaxColours) return false;
                    it->second = static_cast<GifByteType>(out.colours.size());
                    out.colours.push_back(rgb);
                }
                last = rgb;
                lastIndex = it->second;
            }
            out.pixels[at] = lastIndex;
        }
    }
    return true;
}

// giflib wants a power of two entries; the unused ones stay black.
ColorMapObject* MakeMap(const std::vector<uint32_t>& colours) {
    int size = 2;
    while (size < static_cast<int>(colours.size())) size *= 2;
    std::vector<GifColorType> entries(static_cast<size_t>(size), GifColorType{0, 0, 0});
    for (size_t i = 0; i < colours.size(); ++i) {
        entries[i] = {static_cast<GifByteType>(colours[i] >> 16),
                      static_cast<GifByteType>(colours[i] >> 8),
                      static_cast<GifByteType>(colours[i])};
    }
    return GifMakeMapObject(size, entries.data());
}

int AppendBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    return length;
}

std::string GifError(const char* step, int code) {
    const char* text = GifErrorString(code);
    return std::string("Cannot encode the animation (") + step +
           "): " + (text ? text : "unknown error");
}

}  // namespace

struct GifEncoder::State {
    std::string bytes;
    GifFileType* gif = nullptr;
    std::vector<uint32_t> globalColours;
    int width = 0, height = 0;
    int frames = 0;
    bool failed = false;

    ~State() {
        if (gif != nullptr) EGifCloseFile(gif, nullptr);
    }

    bool fail(std::string& error, const std::string& why) {
        failed = true;
        error = why;
        return false;
    }

    bool open(const IndexedFrame& first, std::string& error) {
        int code = 0;
        gif = EGifOpen(&bytes, AppendBytes, &code);
        if (gif == nullptr) return fail(error, GifError("open", code));
        EGifSetGifVersion(gif, true);
        globalColours = first.colours;
        ColorMapObject* map = MakeMap(globalColours);
        const int put = EGifPutScreenDesc(gif, width, height, 8, 0, map);
        GifFreeMapObject(map);
        if (put == GIF_ERROR) return fail(error, GifError("screen", gif->Error));
        // The application block that tells viewers to start again at the end,
        // forever (a count of 0).
        static const GifByteType kLoopName[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                                'P', 'E', '2', '.', '0'};
        static const GifByteType kForever[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(gif, sizeof kLoopName, kLoopName) == GIF_ERROR ||
            EGifPutExtensionBlock(gif, sizeof kForever, kForever) == GIF_ERROR ||
            EGifPutExtensionTrailer(gif) == GIF_ERROR) {
            return fail(error, GifError("loop", gif->Error));
        }
        return true;
    }

    bool put(const IndexedFrame& frame, int delayMs, std::string& error) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.DelayTime = std::max(1, (delayMs + 5) / 10);
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_ERROR) {
            return fail(error, GifError("delay", gif->Error));
        }
        // A frame whose colours are the first frame's uses its table; one
        // with colours of its own brings its own.
        IndexedFrame remapped;
        const IndexedFrame* shown = &frame;
        ColorMapObject* local = nullptr;
        if (!remap(frame, remapped)) {
            local = MakeMap(frame.colours);
        } else {
            shown = &remapped;
        }
        const int put = EGifPutImageDesc(gif, 0, 0, width, height, false, local);
        if (local != nullptr) GifFreeMapObject(local);
        if (put == GIF_ERROR || EGifPutLine(gif, const_cast<GifPixelType*>(shown->pixels.data()),
                                            static_cast<int>(shown->pixels.size())) == GIF_ERROR) {
            return fail(error, GifError("frame", gif->Error));
        }
        ++frames;
        return true;
    }

    // The frame in the first frame's table, when all its colours are there.
    bool remap(const IndexedFrame& frame, IndexedFrame& out) const {
        std::array<GifByteType, kMaxColours> to{};
        for (size_t i = 0; i < frame.colours.size(); ++i) {
            const auto it = std::find(globalColours.begin(), globalColours.end(), frame.colours[i]);
            if (it == globalColours.end()) return false;
            to[i] = static_cast<GifByteType>(it - globalColours.begin());
        }
        out.pixels.resize(frame.pixels.size());
        for (size_t i = 0; i < frame.pixels.size(); ++i) out.pixels[i] = to[frame.pixels[i]];
        return true;
    }
};

GifEncoder::GifEncoder() : state_(std::make_unique<State>()) {}
GifEncoder::~GifEncoder() = default;

int GifEncoder::frameCount() const {
    return state_->frames;
}

bool GifEncoder::addFrame(const QImage& frame, int delayMs, std::string& error) {
    State& s = *state_;
    if (s.failed) return s.fail(error, "The animation could not be encoded");
    if (frame.isNull()) return s.fail(error, "A frame of the animation is empty");
    if (s.gif != nullptr && (frame.width() != s.width || frame.height() != s.height)) {
        return s.fail(error, "The frames of the animation differ in size");
    }
    IndexedFrame indexed;
    if (!Index(frame, indexed)) {
        return s.fail(error, "Frame " + std::to_string(s.frames + 1) +
                                 " has more than 256 colours, which a GIF cannot hold exactly");
    }
    if (s.gif == nullptr) {
        s.width = frame.width();
        s.height = frame.height();
        if (!s.open(indexed, error)) return false;
    }
    return s.put(indexed, delayMs, error);
}

bool GifEncoder::finish(std::string& bytes, std::string& error) {
    State& s = *state_;
    if (s.failed || s.gif == nullptr) {
        error = s.failed ? "The animation could not be encoded" : "The animation has no frames";
        return false;
    }
    int code = 0;
    const int closed = EGifCloseFile(s.gif, &code);
    s.gif = nullptr;
    if (closed == GIF_ERROR) return s.fail(error, GifError("close", code));
    bytes = std::move(s.bytes);
    s.failed = true;  // the file is handed out once
    return true;
}

bool WriteGifFile(GifEncoder& encoder, const std::string& path, std::string& error) {
    std::string bytes;
    if (!encoder.finish(bytes, error)) return false;
    return ReplaceFileContents(path, bytes, error);
}

}  // namespace kalvera
