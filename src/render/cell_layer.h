#pragma once
// The radar cells as a layer: each cell above the threshold filled with its
// palette colour on any canvas, through the cell edges that the grid gives on
// the viewport. Any decoded grid can be drawn this way, the current picture
// and a loop's older terms alike.

#include <cstdint>

#include "common/radar_picture.h"
#include "geo/app_config.h"
#include "geo/colour_table.h"
#include "geo/radar_grid.h"
#include "geo/viewport.h"
#include "render/canvas.h"
#include "render/layer_style.h"

namespace kalvera {

constexpr int kLegendBoxes = 19;

// The one no-data style, wherever cells hold no data (kOutsideGrid): a light
// grey fill hatched in a darker grey. No colour table draws a texture, so it
// cannot be read as echo under any of them, nor echo as it.
constexpr uint32_t kNoDataFill = 0x00DCDCDC;
constexpr uint32_t kNoDataHatch = 0x00909090;
constexpr int kPaletteEntries = 32;

// Palette entry of a cell value on a layer, always within 0..31: weather codes
// index the palette directly (above 31: entry 31), heights take one entry per
// 1000 m up to 19, reflectivity one per 10 units from entry 1 up to 19.
// Negative values are coloured as 0.
int ColourEntry(int layerCode, int32_t value);

// What the cells show: the layer decides the colours, and only values above
// the threshold are drawn. A colour table, when given, colours them in place
// of the palette (a value below its first stop stays undrawn); below 100 %
// opacity the cells are laid over what the canvas holds, blended with it.
struct CellPaint {
    int layerCode = 0;
    int32_t threshold = 0;
    const Palette* palette = nullptr;
    const ColourTable* table = nullptr;
    int opacity = 100;  // percent
};

// The colour of a value through the table or the palette; false where the
// table leaves the value undrawn.
bool CellColour(const CellPaint& paint, int32_t value, uint32_t& colour);

// Fills every cell of `values` above the threshold, clipped to the square.
// The canvas is left with a white brush and a black pen.
void DrawCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
               const RadarGrid& grid, const RadarPicture& values, const CellPaint& paint);
// The same on cell edges given in pixels, unclipped: for a picture whose cells
// must be whole blocks of pixels, which edges projected from degrees can miss
// by one where a float lands just below a whole pixel.
void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const RadarPicture& values, const CellPaint& paint);

// The same for a grid of any size (the composite's).
void DrawCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
               const GridValues& values, const CellPaint& paint);
void DrawCellsOnEdges(Canvas& canvas, const CellEdges& edges, const LayerStyle& style,
                      const GridValues& values, const CellPaint& paint);
// Draws the cells that no data covers (kOutsideGrid) in the no-data style
// (`colour` under the hatching), so that they stand apart from the covered
// cells where nothing was detected.
void DrawNoDataCells(Canvas& canvas, const Viewport& viewport, const LayerStyle& style,
                     const GridValues& values, uint32_t colour = kNoDataFill);

// The highest value of a grid, negatives counted as 0: the filter bar's maximum.
int32_t HighestValue(const RadarPicture& values);

}  // namespace kalvera
