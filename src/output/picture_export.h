#pragma once
// The picture as a JPEG file: the save button's copy of the window and the
// automatic export that the update timer writes over a fixed file.

#include <QImage>
#include <string>

#include "output/header_lines.h"
#include "render/viewer_state.h"

namespace kalvera {

// Height of the white band with the two header lines above the picture.
constexpr int kExportHeaderHeight = 40;

// Paints the band white across the image and writes the two lines centred in
// it, at y = 0 and y = 14, in the bitmap's default font.
void DrawExportHeader(QImage& image, const std::string& line1, const std::string& line2);

// The header line 2 of the current term, site and day.
std::string ExportHeaderLine2(const ViewerState& viewer, HeaderForm form);

// (W + 100) x (H + 40): the header band, MapLayer with PictureLayer ANDed over
// it at (0, 40), LegendLayer at (W, 40) cut at the bottom edge.
QImage ComposeExportImage(const ViewerState& viewer);

// (W + 100) x (H + 70): ComposeExportImage with the rest of the legend below
// it, so that a frame of an animation shows every legend box, box 1 too.
QImage ComposeAnimationFrame(const ViewerState& viewer);

// Whether a picture of the layer must carry its key: drawn with a colour
// table other than the palette, or a derived product.
bool PictureNeedsKey(const AppConfig& config, int layerCode);

// W x (H + 40): the header band and the picture area exactly as the window
// shows it now; where PictureNeedsKey, (W + 100) x (H + 40) with the legend
// at the right, cut at the bottom edge.
QImage ComposeWindowImage(const ViewerState& viewer);

// Writes ComposeExportImage as a JPEG over `path`, through a temporary file
// beside it, so a reader never sees half a picture. Returns false when no file
// of that name exists (nothing is created, `error` stays empty), when the name
// is something other than a regular file, and when the write fails (the old
// file stays as it was); in those two cases `error` says why. Throws nothing.
bool ExportPictureFile(const ViewerState& viewer, const std::string& path,
                       std::string* error = nullptr);

}  // namespace kalvera
