#pragma once
// The fixed-layout radar product (first descriptor 3 01 001).

#include <cstdint>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "decode/bit_cursor.h"

namespace kalvera {

// Fills the grid from element 0 and sets the site position; returns how many
// cells were written (at most 10000).
int32_t decodeRadarImage(BitCursor& cursor, RadarPicture& picture, DisplayState& state);

}  // namespace kalvera
