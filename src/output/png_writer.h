#pragma once
// PNG files: sections, the command-line pictures and the map exports' images.

#include <QImage>
#include <optional>
#include <string>

namespace kalvera {

// The image encoded as PNG; nothing when it cannot be encoded.
std::optional<std::string> EncodePng(const QImage& image);

// Encodes the image as PNG and replaces the file with it whole.
bool WritePngFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace kalvera
