#pragma once
// Animated GIF files of rendered frames. Each frame keeps its exact colours
// (no quantising, no dithering): a rendered picture has a few dozen, the
// palette's, the map's and the text's. The animation loops forever.

#include <QImage>
#include <memory>
#include <string>

namespace kalvera {

class GifEncoder {
  public:
    GifEncoder();
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    // Appends a frame shown for `delayMs` (rounded to the format's hundredths
    // of a second). False, with `error` saying why, when the frame differs in
    // size from the first, has more than 256 colours, or cannot be encoded;
    // the encoder then takes no more frames.
    bool addFrame(const QImage& frame, int delayMs, std::string& error);
    int frameCount() const;
    // The whole file. False when no frame was added or encoding failed.
    bool finish(std::string& bytes, std::string& error);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// Writes the finished encoder's file over `path` whole or not at all.
bool WriteGifFile(GifEncoder& encoder, const std::string& path, std::string& error);

}  // namespace kalvera
