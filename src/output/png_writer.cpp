#include "output/png_writer.h"

#include <QBuffer>

#include "common/replace_file.h"

namespace kalvera {

std::optional<std::string> EncodePng(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return buffer.data().toStdString();
}

bool WritePngFile(const QImage& image, const std::string& path, std::string& error) {
    const std::optional<std::string> png = EncodePng(image);
    if (!png) {
        error = "Cannot encode " + path + " as PNG";
        return false;
    }
    return ReplaceFileContents(path, *png, error);
}

}  // namespace kalvera
