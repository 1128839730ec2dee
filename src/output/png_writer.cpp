#include "output/png_writer.h"

#include <QBuffer>
#include <string_view>

#include "common/replace_file.h"

namespace kalvera {

bool WritePngFile(const QImage& image, const std::string& path, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "Cannot encode " + path + " as PNG";
        return false;
    }
    const QByteArray& bytes = buffer.data();
    return ReplaceFileContents(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

}  // namespace kalvera
