#pragma once
// PNG files of the subcommands that draw.

#include <QImage>
#include <string>

namespace kalvera::cli {

// Encodes the image as PNG and replaces the file with it whole.
bool WritePngFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace kalvera::cli
