#pragma once
// A loop as an animated GIF: every frame is the picture the automatic export
// composes for its term (header band, map, cells, legend), with the legend
// whole below it, and the view, layer, filter and colours of the viewer it is
// made from.

#include <string>
#include <vector>

#include "archive/frame_selection.h"
#include "render/viewer_state.h"

namespace kalvera {

struct AnimationTiming {
    int fps = kLoopFpsDefault;
    double dwellSeconds = kLoopDwellDefault;  // the newest frame's
};

// Renders the frames with `like`'s configuration, view, layer, filter, layout
// and decoder (on bitmaps of its own, so `like` is left alone) and writes
// them over `path` whole or not at all. Terms that cannot be decoded are left
// out; `shown` (if given) receives how many frames went in. False, with
// `error` saying why, when no frame decodes or the file cannot be written.
bool WriteLoopAnimation(const ViewerState& like, const std::vector<LoopFrame>& frames,
                        const AnimationTiming& timing, const std::string& path, std::string& error,
                        int* shown = nullptr);

}  // namespace kalvera
