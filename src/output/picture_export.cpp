#include "output/picture_export.h"

#include <sys/stat.h>

#include <algorithm>

#include "geo/settings.h"
#include "output/jpeg_writer.h"
#include "products/derived_products.h"
#include "products/layer_units.h"
#include "render/canvas.h"
#include "render/legend_tables.h"
#include "render/picture_render.h"

namespace kalvera {

namespace {

constexpr int kLine2Top = 14;

// A white image `width` wide and as high as the picture plus the header band,
// with the two header lines in the band.
QImage ImageWithHeader(const ViewerState& viewer, int width, HeaderForm form) {
    QImage image(width, viewer.layout.picture.height + kExportHeaderHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    std::string line2 = ExportHeaderLine2(viewer, form);
    // A derived product is not one of the archive's layers, whose pictures
    // the reader knows by their legend: the file says which it is.
    if (IsDerivedLayer(viewer.display.layerCode)) {
        line2 += ", " + LayerTitle(viewer.display.layerCode);
    }
    DrawExportHeader(image, HeaderLine1(), line2);
    return image;
}

}  // namespace

void DrawExportHeader(QImage& image, const std::string& line1, const std::string& line2) {
    CanvasState state;
    Canvas canvas(image, state);
    if (!canvas.isActive()) return;
    // The band would otherwise keep whatever the bitmap held: black on a
    // fresh one in some formats, an older picture on a reused one.
    canvas.setPenColor(kWhite);
    canvas.setBrushColor(kWhite);
    canvas.rectangle(0, 0, image.width(), kExportHeaderHeight);
    canvas.setPenColor(kBlack);
    DrawCentredLines(canvas, 0, image.width(), {{0, line1}, {kLine2Top, line2}});
}

std::string ExportHeaderLine2(const ViewerState& viewer, HeaderForm form) {
    const DisplayState& display = viewer.display;
    return HeaderLine2(form, SiteDisplayName(viewer.config, display.siteCode),
                       ShortDateText(display.currentDate), display.termText);
}

QImage ComposeExportImage(const ViewerState& viewer) {
    std::unique_ptr<ViewerState> redrawn;
    const ViewerState& drawn = DrawnForExport(viewer, redrawn);
    const LayoutRect& area = drawn.layout.picture;
    QImage image = ImageWithHeader(drawn, area.width + kLegendWidth, HeaderForm::Automatic);
    ComposeLayers(image, 0, kExportHeaderHeight, drawn);
    BitBlt(image, area.width, kExportHeaderHeight, kLegendWidth, area.height + kHeaderHeight,
           drawn.LegendLayer.image, 0, 0, RasterOp::SrcCopy);
    return image;
}

QImage ComposeAnimationFrame(const ViewerState& viewer) {
    const QImage exported = ComposeExportImage(viewer);
    const int legendBottom = kExportHeaderHeight + viewer.LegendLayer.image.height();
    QImage frame(exported.width(), std::max(exported.height(), legendBottom), QImage::Format_RGB32);
    frame.fill(Qt::white);
    BitBlt(frame, 0, 0, exported.width(), exported.height(), exported, 0, 0, RasterOp::SrcCopy);
    BitBlt(frame, viewer.layout.picture.width, kExportHeaderHeight, kLegendWidth,
           viewer.LegendLayer.image.height(), viewer.LegendLayer.image, 0, 0, RasterOp::SrcCopy);
    return frame;
}

bool PictureNeedsKey(const AppConfig& config, int layerCode) {
    return TableForLayer(config.colours, layerCode) != nullptr || IsDerivedLayer(layerCode);
}

QImage ComposeWindowImage(const ViewerState& viewer) {
    std::unique_ptr<ViewerState> redrawn;
    const ViewerState& drawn = DrawnForExport(viewer, redrawn);
    const LayoutRect& area = drawn.layout.picture;
    // Colours of another table than the palette, or of a derived product,
    // cannot be read back without their key.
    const bool key = PictureNeedsKey(drawn.config, drawn.display.layerCode);
    QImage image =
        ImageWithHeader(drawn, area.width + (key ? kLegendWidth : 0), HeaderForm::SaveButton);
    BitBlt(image, 0, kExportHeaderHeight, area.width, area.height, drawn.WindowDC.image, area.left,
           area.top, RasterOp::SrcCopy);
    if (key) {
        BitBlt(image, area.width, kExportHeaderHeight, kLegendWidth, area.height,
               drawn.LegendLayer.image, 0, 0, RasterOp::SrcCopy);
    }
    return image;
}

bool ExportPictureFile(const ViewerState& viewer, const std::string& path, std::string* error) {
    if (error) error->clear();
    struct stat info {};
    // No file of that name: no export is wanted, which is no failure.
    if (stat(path.c_str(), &info) != 0) return false;
    std::string reason;
    if (!S_ISREG(info.st_mode)) {
        reason = "Cannot write " + path + ": not a regular file";
    } else if (WriteJpegFile(ComposeExportImage(viewer), path, reason)) {
        return true;
    }
    if (error) *error = reason;
    return false;
}

}  // namespace kalvera
