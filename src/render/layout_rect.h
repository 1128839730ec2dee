#pragma once
// A rectangle in device pixels (client pixels of the main window for the
// window's layout), held in the order the layout stores it.

#include <cstdint>

namespace kalvera {

struct LayoutRect {
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t right() const { return left + width; }
    int32_t bottom() const { return top + height; }
    // Both far edges belong to the rectangle: the picture's right and bottom
    // edges still read out.
    bool contains(int x, int y) const {
        return x >= left && x <= right() && y >= top && y <= bottom();
    }
};

}  // namespace kalvera
