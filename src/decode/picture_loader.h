#pragma once
// The single entry point that turns the message at an offset of the current
// base file into a filled value grid.

#include <cstdint>
#include <span>

#include "common/display_state.h"
#include "common/radar_picture.h"
#include "decode/bufr_message.h"

namespace kalvera {

// Reads the message at or after `offset` of state.basePath, checks it and runs
// the decoder chosen by its first descriptor (0 01 018 generic, 3 01 001
// fixed layout). False when no valid message was found, and when the search
// ran past the start of another record of state.indexPath (when it is set):
// what it found there is another message, not this one.
bool loadPicture(int32_t offset, RadarPicture& picture, DisplayState& state);

// What a load did, for tools that show more than success.
struct PictureLoadReport {
    bool loaded = false;
    bool hasFirstDescriptor = false;
    DescriptorTriple firstDescriptor;
    int32_t count = 0;                // values written by the decoder, 0 when none ran
    bool foundAnotherRecord = false;  // the search reached another record's message
};

// As loadPicture, and fills `report`.
bool loadPicture(int32_t offset, RadarPicture& picture, DisplayState& state,
                 PictureLoadReport& report);

// Checks and decodes one message already in memory (its bytes, "BUFR" to
// "7777"), exactly as loadPicture does after reading it.
bool decodeMessage(std::span<const uint8_t> message, RadarPicture& picture, DisplayState& state,
                   PictureLoadReport* report = nullptr);

}  // namespace kalvera
