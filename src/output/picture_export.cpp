#include "output/picture_export.h"

#include <sys/stat.h>

#include "geo/settings.h"
#include "output/jpeg_writer.h"
#include "render/canvas.h"

namespace kalvera {

namespace {

constexpr int kLine2Top = 14;

bool RegularFileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
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
    canvas.textOut((image.width() - canvas.textWidth(line1)) / 2, 0, line1);
    canvas.textOut((image.width() - canvas.textWidth(line2)) / 2, kLine2Top, line2);
}

std::string ExportHeaderLine2(const ViewerState& viewer, HeaderForm form) {
    const DisplayState& display = viewer.display;
    return HeaderLine2(form, SiteDisplayName(viewer.config, display.siteCode),
                       ShortDateText(display.currentDate), display.termText);
}

QImage ComposeExportImage(const ViewerState& viewer) {
    const int w = viewer.layout.picture.width;
    const int h = viewer.layout.picture.height;
    QImage image = WhiteImage(w + kLegendWidth, h + kExportHeaderHeight);
    DrawExportHeader(image, HeaderLine1(), ExportHeaderLine2(viewer, HeaderForm::Automatic));
    const int top = kExportHeaderHeight;
    BitBlt(image, 0, top, w, h, viewer.MapLayer.image, 0, 0, RasterOp::SrcCopy);
    BitBlt(image, 0, top, w, h, viewer.PictureLayer.image, 0, 0, RasterOp::SrcAnd);
    BitBlt(image, w, top, kLegendWidth, h + kHeaderHeight, viewer.LegendLayer.image, 0, 0,
           RasterOp::SrcCopy);
    return image;
}

QImage ComposeWindowImage(const ViewerState& viewer) {
    const LayoutRect& area = viewer.layout.picture;
    QImage image = WhiteImage(area.width, area.height + kExportHeaderHeight);
    DrawExportHeader(image, HeaderLine1(), ExportHeaderLine2(viewer, HeaderForm::SaveButton));
    BitBlt(image, 0, kExportHeaderHeight, area.width, area.height, viewer.WindowDC.image, area.left,
           area.top, RasterOp::SrcCopy);
    return image;
}

bool ExportPictureFile(const ViewerState& viewer, const std::string& path, std::string* error) {
    if (error) error->clear();
    if (!RegularFileExists(path)) return false;
    std::string reason;
    if (WriteJpegFile(ComposeExportImage(viewer), path, reason)) return true;
    if (error) *error = reason;
    return false;
}

}  // namespace kalvera
