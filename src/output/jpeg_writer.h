#pragma once
// JPEG encoding through libjpeg's IJG interface: baseline, 24-bit RGB, the
// encoder's standard settings. Every libjpeg error comes back as a failed
// result with the library's message; nothing aborts and nothing is thrown.

#include <string>
#include <vector>

class QImage;

namespace kalvera {

constexpr int kJpegQuality = 90;

// Encodes the image into `jpeg`. False, with the reason in `error`, when the
// image is empty or libjpeg reports an error.
bool EncodeJpeg(const QImage& image, int quality, std::vector<unsigned char>& jpeg,
                std::string& error);

// Encodes at kJpegQuality and replaces `path` with the result through
// ReplaceFileContents (common/replace_file.h).
bool WriteJpegFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace kalvera
