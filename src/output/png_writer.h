#pragma once
// PNG files: sections and the command-line pictures.

#include <QImage>
#include <string>

namespace kalvera {

// Encodes the image as PNG and replaces the file with it whole.
bool WritePngFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace kalvera
