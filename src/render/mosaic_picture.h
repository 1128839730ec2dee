#pragma once
// The composite as a picture, drawn by the same layers as a site's: the map's
// outlines and places, the cells and the legend. Cells no site covers are
// filled grey, so that they stand apart from the covered cells where nothing
// was detected (left white); each site's square is a thin outline.

#include <QImage>
#include <string>
#include <vector>

#include "geo/map_resources.h"
#include "geo/radar_grid.h"
#include "geo/viewport.h"
#include "render/canvas.h"
#include "render/cell_layer.h"
#include "render/layer_style.h"

namespace kalvera {

constexpr uint32_t kNoDataFill = 0x00DCDCDC;     // light grey
constexpr uint32_t kSiteSquareColour = 0x00808080;  // grey

struct MosaicScene {
    const GridValues* cells = nullptr;
    std::vector<RadarGrid> squares;  // the sites' squares
    CellPaint paint;
    const std::vector<Outline>* outlines = nullptr;
    const std::vector<Place>* places = nullptr;
};

// The half extent of a square view about the box's middle that shows the
// whole box of `grid`, with a small margin.
float HalfExtentKmOfGrid(const RadarGrid& grid);
// A square viewport of `side` pixels at (left, top) that shows the whole box
// of `grid`, with a small margin.
Viewport ViewportOfGrid(const RadarGrid& grid, int side, int left = 0, int top = 0);

// The sites' squares as thin outlines.
void DrawSiteSquares(Canvas& canvas, const Viewport& viewport, const std::vector<RadarGrid>& squares);

// White, the nodata fill, the cells, outlines, places and squares, within the
// viewport's square.
void DrawMosaicScene(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const MosaicScene& scene);

// "3 из 4 станций": how many of the asked sites took part.
std::string SitesCountText(size_t present, size_t total);
// The picture's header: "Сводная карта 08.12.2026 12.00 сгв — <layer> — 3 из 4 станций".
std::string MosaicTitle(const std::string& dayName, const std::string& termText, int layerCode,
                        size_t present, size_t total);

// The picture a file gets: a header line, the scene on a square of `side`
// pixels and the legend to its right, in the screen style.
QImage MosaicPictureImage(const MosaicScene& scene, const std::string& header, int side);

}  // namespace kalvera
