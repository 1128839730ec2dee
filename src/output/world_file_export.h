#pragma once
// The map square as a picture that GIS programs place by themselves: a PNG
// with a world file (.pgw) and a projection file (.prj) beside it, and the
// auxiliary file (.png.aux.xml) in which GDAL-based programs look for the
// coordinate system.

#include <QImage>
#include <string>

#include "geo/map_projection.h"

namespace kalvera {

// "dir/name.pgw" and "dir/name.prj" for "dir/name.png".
std::string SidecarPath(const std::string& pngPath, const std::string& suffix);

// Writes `mapSquare`, drawn with `view`, as `pngPath` with its sidecar
// files, the four replaced together or not at all. False, with a reason
// naming the file, when the view lies nowhere on the earth or a file cannot
// be written; then every file is left as it was.
bool WriteWorldFilePng(const QImage& mapSquare, const MapProjection& view,
                       const std::string& pngPath, std::string& error);

}  // namespace kalvera
