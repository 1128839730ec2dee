#pragma once
// The composite as a picture, drawn by the same layers as a site's: the map's
// outlines and places, the cells and the legend. Cells no site covers are in
// the no-data style, so that they stand apart from the covered cells where
// nothing was detected (left white); each site's square is a thin outline.

#include <QImage>
#include <string>
#include <vector>

#include "geo/app_config.h"
#include "geo/map_resources.h"
#include "geo/radar_grid.h"
#include "geo/viewport.h"
#include "mosaic/mosaic_term.h"
#include "render/canvas.h"
#include "render/cell_layer.h"
#include "render/layer_style.h"

namespace kalvera {

constexpr uint32_t kSiteSquareColour = 0x00808080;  // grey

// The legend column beside a composite's picture and the header line above
// it, the same in the window and in files.
constexpr int kMosaicLegendWidth = 150;
constexpr int kMosaicHeaderHeight = 28;

struct MosaicScene {
    const GridValues* cells = nullptr;
    std::vector<RadarGrid> squares;  // the sites' squares
    // Per square: its site's own term where it differs from the composite's
    // ("11.58"), else empty.
    std::vector<std::string> squareLabels;
    CellPaint paint;
    const std::vector<Outline>* outlines = nullptr;
    const std::vector<Place>* places = nullptr;
};

// The scene of a loaded term's composite `cells` of `layerCode`: the colour
// table the user chose for the layer and the opacity, the map, and the sites'
// squares labelled with their own terms. The window and the command line
// both build the picture from it.
MosaicScene MosaicSceneOf(const AppConfig& config, const MosaicTerm& term,
                          const std::string& termText, const GridValues& cells, int layerCode,
                          int32_t threshold, MapResourceCache& cache);

// The asked sites' terms where they differ from `termText`, by layout index.
std::vector<std::string> SiteTermLabels(const MosaicTerm& term, const std::string& termText);

// The half extent of a square view about the box's middle that shows the
// whole box of `grid`, with a small margin.
float HalfExtentKmOfGrid(const RadarGrid& grid);
// A square viewport of `side` pixels at (left, top) that shows the whole box
// of `grid`, with a small margin.
Viewport ViewportOfGrid(const RadarGrid& grid, int side, int left = 0, int top = 0);

// The sites' squares as thin outlines, each with its label inside its
// north-west corner.
void DrawSiteSquares(Canvas& canvas, const Viewport& viewport,
                     const std::vector<RadarGrid>& squares,
                     const std::vector<std::string>& labels = {});

// White, the nodata fill, the cells, outlines, places and squares, within the
// viewport's square.
void DrawMosaicScene(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const MosaicScene& scene);

// "3 из 4 станций": how many of the asked sites took part.
std::string SitesCountText(size_t present, size_t total);
// "08.12.2026 12.00 сгв": the day and term (GMT) as the main window's header
// gives them.
std::string MosaicTimeText(const std::string& dayName, const std::string& termText);
// The picture's header: "Сводная карта 08.12.2026 12.00 сгв — <layer> — 3 из 4 станций".
std::string MosaicTitle(const std::string& dayName, const std::string& termText, int layerCode,
                        size_t present, size_t total);

// The header line, the scene in `viewport` and the legend in the column of
// kMosaicLegendWidth from `legendLeft` down to `bottom`.
void DrawMosaicPicture(Canvas& canvas, const Viewport& viewport, const MosaicScene& scene,
                       const std::string& header, int legendLeft, int bottom);

// The picture a file gets: a header line, the scene on a square of `side`
// pixels and the legend to its right, in the screen style.
QImage MosaicPictureImage(const MosaicScene& scene, const std::string& header, int side);

}  // namespace kalvera
