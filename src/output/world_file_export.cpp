#include "output/world_file_export.h"

#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include "common/replace_file.h"
#include "output/gdal_session.h"
#include "output/map_georef.h"
#include "output/png_writer.h"

namespace kalvera {

std::string SidecarPath(const std::string& pngPath, const std::string& suffix) {
    const size_t slash = pngPath.rfind('/');
    const size_t dot = pngPath.rfind('.');
    const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasSuffix ? pngPath.substr(0, dot) : pngPath) + "." + suffix;
}

namespace {

struct Sidecars {
    std::optional<std::string> worldFile;
    // GDAL, and the GIS programs built on it, take the coordinate system from
    // here rather than from the .prj.
    std::optional<std::string> auxXml;
};

// The world file and the PNG's auxiliary file, both written by GDAL.
Sidecars SidecarsOf(const std::string& png, const GeoTransform& transform) {
    GdalQuiet quiet;
    MemoryDir memory;
    GeoTransform copy = transform;
    Sidecars sidecars;
    if (GDALWriteWorldFile(memory.path("map").c_str(), "pgw", copy.data())) {
        sidecars.worldFile = memory.read("map.pgw");
    }
    VSILFILE* file = VSIFileFromMemBuffer(memory.path("map.png").c_str(),
                                          reinterpret_cast<GByte*>(const_cast<char*>(png.data())),
                                          png.size(), FALSE);
    if (file) VSIFCloseL(file);
    if (GDALDatasetH dataset = GDALOpen(memory.path("map.png").c_str(), GA_ReadOnly)) {
        OGRSpatialReference srs = Wgs84Srs();
        GDALSetSpatialRef(dataset, OGRSpatialReference::ToHandle(&srs));
        GDALClose(dataset);
        sidecars.auxXml = memory.read("map.png.aux.xml");
    }
    return sidecars;
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
    const std::optional<std::string> png = EncodePng(mapSquare);
    const Sidecars sidecars =
        png ? SidecarsOf(*png, GeoTransformOf(box, mapSquare.width(), mapSquare.height()))
            : Sidecars{};
    if (!png || !sidecars.worldFile || !sidecars.auxXml) {
        error = "Cannot encode " + pngPath;
        return false;
    }
    // The picture last: a program that watches for it finds the files that
    // place it already there.
    const std::string prj = Wgs84Wkt(true);
    return ReplaceFileSet({{SidecarPath(pngPath, "pgw"), *sidecars.worldFile},
                           {SidecarPath(pngPath, "prj"), prj},
                           {pngPath + ".aux.xml", *sidecars.auxXml},
                           {pngPath, *png}},
                          error);
}

}  // namespace kalvera
