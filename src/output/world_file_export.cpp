#include "output/world_file_export.h"

#include <gdal.h>

#include <QBuffer>

#include "output/gdal_session.h"
#include "output/map_georef.h"
#include "output/replace_file.h"

namespace kalvera {

std::string SidecarPath(const std::string& pngPath, const std::string& suffix) {
    const size_t slash = pngPath.rfind('/');
    const size_t dot = pngPath.rfind('.');
    const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasSuffix ? pngPath.substr(0, dot) : pngPath) + "." + suffix;
}

namespace {

// The six lines of the world file, written by GDAL.
std::optional<std::string> WorldFileText(const GeoTransform& transform) {
    GdalQuiet quiet;
    MemoryDir memory;
    GeoTransform copy = transform;
    if (!GDALWriteWorldFile(memory.path("map").c_str(), "pgw", copy.data())) return std::nullopt;
    return memory.read("map.pgw");
}

std::optional<std::string> PngBytes(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return buffer.data().toStdString();
}

}  // namespace

bool WriteWorldFilePng(const QImage& mapSquare, const MapProjection& view,
                       const std::string& pngPath, std::string& error) {
    error.clear();
    const GeoBox box = ViewSquareOf(view);
    if (!IsPlaceable(box) || mapSquare.isNull()) {
        error = "Cannot write " + pngPath + ": the view lies nowhere on the earth";
        return false;
    }
    const std::optional<std::string> png = PngBytes(mapSquare);
    const std::optional<std::string> world =
        WorldFileText(GeoTransformOf(box, mapSquare.width(), mapSquare.height()));
    if (!png || !world) {
        error = "Cannot encode " + pngPath;
        return false;
    }
    return ReplaceFileContents(pngPath, *png, error) &&
           ReplaceFileContents(SidecarPath(pngPath, "pgw"), *world, error) &&
           ReplaceFileContents(SidecarPath(pngPath, "prj"), Wgs84Wkt(true), error);
}

}  // namespace kalvera
