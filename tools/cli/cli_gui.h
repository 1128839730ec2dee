#pragma once
// What the subcommands that draw share: an application object for fonts
// without a display, and PNG writing.

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

namespace kalvera::cli {

// Fonts need an application object; without a display the offscreen
// platform draws them just the same. Null when one exists already.
std::unique_ptr<QGuiApplication> StartGui();

// Encodes the image as PNG and replaces the file with it whole.
bool WritePngFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace kalvera::cli
