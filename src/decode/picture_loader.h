#pragma once
// The single entry point that turns the message at an offset of the current
// base file into a filled value grid.

#include <cstdint>

#include "common/display_state.h"
#include "common/radar_picture.h"

namespace kalvera {

// Reads the message at or after `offset` of state.basePath, checks it and runs
// the decoder chosen by its first descriptor (0 01 018 generic, 3 01 001
// fixed layout). False when no valid message was found.
bool loadPicture(int32_t offset, RadarPicture& picture, DisplayState& state);

}  // namespace kalvera
