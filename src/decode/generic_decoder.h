#pragma once
// The generic radar product (first descriptor 0 01 018): walks the descriptor
// list and hands the first replication to the run-length image reader.

#include <cstdint>
#include <span>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "decode/bit_cursor.h"
#include "decode/bufr_message.h"

namespace kalvera {

// Always true. `written`, when given, receives the value count of the last
// image read (0 when no replication was met).
bool decodeDescriptors(BitCursor& cursor, std::span<const DescriptorTriple> list,
                       RadarPicture& picture, DisplayState& state, int32_t* written = nullptr);

// Reads the image that the replication descriptor at `position` of `list`
// introduces; returns how many cells were written (at most 10000).
int32_t decodeReplicatedImage(BitCursor& cursor, std::span<const DescriptorTriple> list,
                              int32_t position, RadarPicture& picture, const DisplayState& state);

}  // namespace kalvera
