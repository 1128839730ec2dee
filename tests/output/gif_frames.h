#pragma once
// A GIF file read back frame by frame, for checking what the writer wrote.

#include <gif_lib.h>

#include <QImage>
#include <cstring>
#include <string>
#include <vector>

namespace kalvera::testing {

struct ReadBackGif {
    bool ok = false;
    bool loopsForever = false;
    std::vector<QImage> frames;
    std::vector<int> delaysCs;
};

inline ReadBackGif ReadGif(const std::string& bytes) {
    struct Source {
        const std::string* bytes;
        size_t at = 0;
    } source{&bytes};
    const auto read = [](GifFileType* gif, GifByteType* out, int length) {
        auto* s = static_cast<Source*>(gif->UserData);
        const size_t n = std::min(static_cast<size_t>(length), s->bytes->size() - s->at);
        std::memcpy(out, s->bytes->data() + s->at, n);
        s->at += n;
        return static_cast<int>(n);
    };
    ReadBackGif result;
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (gif == nullptr) return result;
    if (DGifSlurp(gif) == GIF_OK) {
        result.ok = true;
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            const ColorMapObject* map =
                image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
            QImage frame(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
            for (int y = 0; y < gif->SHeight; ++y) {
                for (int x = 0; x < gif->SWidth; ++x) {
                    const GifColorType c = map->Colors[image.RasterBits[y * gif->SWidth + x]];
                    frame.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
                }
            }
            result.frames.push_back(frame);
            GraphicsControlBlock control{};
            DGifSavedExtensionToGCB(gif, i, &control);
            result.delaysCs.push_back(control.DelayTime);
            for (int e = 0; e < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& block = image.ExtensionBlocks[e];
                if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                    std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 &&
                    e + 1 < image.ExtensionBlockCount) {
                    const ExtensionBlock& count = image.ExtensionBlocks[e + 1];
                    result.loopsForever =
                        count.ByteCount == 3 && count.Bytes[1] == 0 && count.Bytes[2] == 0;
                }
            }
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

}  // namespace kalvera::testing
