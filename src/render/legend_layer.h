#pragma once
// The colour legend as a layer: nineteen palette boxes from box 1 at the
// bottom to box 19 at the top, each labelled with the layer's text.

#include <string>
#include <vector>

#include "geo/app_config.h"
#include "geo/colour_table.h"
#include "render/canvas.h"

namespace kalvera {

// Boxes fill the `width` x `height` area at (left, top) exactly: box k spans
// height - k * height / 19 to height - (k - 1) * height / 19, truncated.
// The labels are smoothed for the window (`onScreen`); elsewhere they are
// whole pixels of black and white, so that an export keeps exact colours.
// With a colour table the boxes are its classes, bottom up: of 19 classes
// under the layer's own labels, of any other number under their bounds in
// the table's units.
void DrawLegendBoxes(Canvas& canvas, int left, int top, int width, int height,
                     const Palette& palette, int layerCode, bool onScreen = false,
                     const ColourTable* table = nullptr);

// Below full opacity the legend says so, in a note within its top box and
// under that box's label, so that faint cells are never read as weak echo
// unawares. Nothing is drawn at 100 %. `boxes` is the legend's box count.
void DrawOpacityNote(Canvas& canvas, int left, int top, int width, int height, int boxes,
                     int opacity, bool onScreen = false);
std::string OpacityNoteText(int opacity);

// A legend box: its colour (0x00BBGGRR) and label.
struct LegendBox {
    uint32_t colour = 0;
    std::string label;
};
// The boxes of a layer's legend from the bottom up: palette entries 1..19, or
// the table's classes.
std::vector<LegendBox> LegendBoxesOf(const Palette& palette, int layerCode,
                                     const ColourTable* table);
// The label of a table class: "5-10", ">=60", a phenomenon's name where the
// class holds one code.
std::string TableClassLabel(int layerCode, const ColourClass& cls);

// The colour of a label on a box of colour `box` (0x00BBGGRR): black, or white
// where white stands out more (by APCA lightness contrast).
// Either is in every picture already, so a picture keeps its few exact colours.
uint32_t LabelColourOn(uint32_t box);

}  // namespace kalvera
