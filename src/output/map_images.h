#pragma once
// The pictures inside a Google Earth file, drawn by the same layers as the
// window: the cells alone on a transparent square that is exactly the grid
// square, and the legend under the layer's title.

#include <string>

#include "output/map_source.h"

namespace kalvera {

// Pixels per cell of the overlay: enough that Google Earth, which smooths an
// overlay when it scales it, keeps the cells square.
constexpr int kOverlayCellPixels = 8;
// The longer side of a composite's overlay is kept to about this many pixels.
constexpr int kOverlayLongSide = 3200;

struct MapImages {
    std::string overlayPng;  // empty when it could not be drawn
    std::string legendPng;
};

MapImages DrawMapImages(const MapSource& source);

}  // namespace kalvera
