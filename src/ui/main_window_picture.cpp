// Mouse readout, pan, legend colour and the filter, scale and layer controls.

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>

#include "common/domain_constants.h"
#include "geo/settings.h"
#include "products/layer_units.h"
#include "render/picture_render.h"
#include "render/readout.h"
#include "ui/main_window.h"

namespace kalvera {

namespace {

constexpr float kMinimumHalfExtentKm = 10.0f;

}  // namespace

void TForm1::FormMouseMove(int x, int y) {
    const LayoutRect& area = viewer_.layout.picture;
    if (!area.contains(x, y)) return;
    const auto [lat, lon] = viewer_.pointAt(x, y);
    const Readout readout = ReadoutAt(viewer_.view, viewer_.picture, viewer_.display, lat, lon,
                                      viewer_.pictureMarksNoData);
    pointer.cursorLat = lat;
    pointer.cursorLon = lon;
    pointer.cursorAzimuth = readout.azimuthDeg;
    pointer.cursorRange = readout.rangeKm;
    WriteHeaderCell(2, QString::fromStdString(readout.value));
    WriteHeaderCell(3, QString::fromStdString(readout.azimuth));
    WriteHeaderCell(4, QString::fromStdString(readout.range));
    WriteHeaderCell(5, QString::fromStdString(readout.lat));
    WriteHeaderCell(6, QString::fromStdString(readout.lon));
}

void TForm1::FormMouseDown(Qt::MouseButton /*button*/, int x, int y) {
    const LayoutRect& area = viewer_.layout.picture;
    if (!area.contains(x, y)) return;
    setCursor(Qt::PointingHandCursor);
    const GeoPoint pressed = viewer_.pointAt(x, y);
    pointer.pressLat = pressed.lat;
    pointer.pressLon = pressed.lon;
}

void TForm1::FormMouseUp(Qt::MouseButton /*button*/, int x, int y) {
    pointer.releaseX = x;
    pointer.releaseY = y;
    if (!viewer_.layout.picture.contains(x, y)) return;
    // The point pressed becomes the centre, wherever the button comes up.
    viewer_.display.viewLat = pointer.pressLat;
    viewer_.display.viewLon = pointer.pressLon;
    RenderPicture();
    unsetCursor();
}

void TForm1::FormDblClick() {
    const LayoutRect& legend = viewer_.layout.legend;
    const int entry =
        LegendEntryAt(legend.left, legend.top, legend.height, pointer.releaseX, pointer.releaseY);
    if (entry < 0) return;
    AppConfig& config = viewer_.config;
    // A colour table's boxes are not the palette's entries: the palette is
    // changed where it is shown.
    if (TableForLayer(config.colours, viewer_.display.layerCode) != nullptr) return;
    const std::optional<uint32_t> colour =
        dialogs_.chooseColour(this, config.palette[static_cast<size_t>(entry)]);
    if (colour) config.palette[static_cast<size_t>(entry)] = *colour;
    DrawLegend(viewer_, viewer_.WindowDC);
    std::string error;
    if (!SavePalette(config, error)) {
        // The colour stays in effect for this run; the operator learns that
        // it will be gone at the next start.
        dialogs_.showMessage(this,
                             tr("Не удалось записать файл %1")
                                 .arg(QString::fromStdString(PalettePath(config.startDir))),
                             QString());
    }
}

void TForm1::filterScrollBarChange() {
    viewer_.display.filterThreshold = filterScrollBar->value();
    // A drawn picture is on the window already; otherwise the layers as they
    // are go there again.
    if (!RenderPicture()) ComposePicture(viewer_);
    showFilterLabel();
}

void TForm1::scaleScrollBarChange() {
    showScaleLabel();
    viewer_.display.viewHalfExtentKm = HalfExtentKmOfScale(scaleScrollBar->value());
    if (viewer_.display.viewHalfExtentKm < kMinimumHalfExtentKm) {
        viewer_.display.viewHalfExtentKm = kMinimumHalfExtentKm;
        return;
    }
    RenderPicture();
}

void TForm1::layerListBoxClick() {
    const QListWidgetItem* item = layerListBox->currentItem();
    if (layerListBox->count() == 0 || item == nullptr) return;
    bool ok = false;
    const int layer = item->data(Qt::UserRole).toInt(&ok);
    if (!ok) return;
    viewer_.display.layerCode = layer;
    showLayerLabel();
    RenderPicture();
}

void TForm1::layerListBoxKeyPress(QChar key) {
    if (layerListBox->count() == 0) return;
    if (key < QLatin1Char('0') || key > QLatin1Char('9')) return;
    layerListBoxClick();
}

}  // namespace kalvera
