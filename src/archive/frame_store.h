#pragma once
// The decoded grids of a loop's frames. A loop keeps grids (40 KB each), never
// pictures: a frame is drawn from its grid when it is shown, so changes of
// scale, filter, centre or colour reach the next frame without decoding again.
// Grids are decoded a few at a time between frames (prepareSome) or when a
// frame is due before its turn came (grid).

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/frame_selection.h"
#include "common/display_state.h"
#include "common/radar_picture.h"

namespace kalvera {

// Loads state.layerCode of state.termText into a grid, as the window loads a
// picture (an archive layer or a product derived from the term's layers), or a
// stand-in in tests. False when nothing decoded.
using GridLoader = std::function<bool(DisplayState&, RadarPicture&)>;

struct FrameGrid {
    enum class Status { Pending, Ready, Failed };
    Status status = Status::Pending;
    RadarPicture picture;
    float siteLat = 0.0f;
    float siteLon = 0.0f;
};

class FrameStore {
  public:
    explicit FrameStore(GridLoader loader) : loader_(std::move(loader)) {}

    // The frames to show and the layer and site they are decoded for. Grids
    // already decoded for the same term and layer are kept; the rest wait.
    void setFrames(std::vector<LoopFrame> frames, const std::string& siteCode, int layerCode);
    // Another layer: every grid is decoded again when its frame comes.
    void setLayer(int layerCode);
    void clear();

    int size() const { return static_cast<int>(frames_.size()); }
    bool empty() const { return frames_.empty(); }
    const std::vector<LoopFrame>& frames() const { return frames_; }
    const LoopFrame& frame(int i) const { return frames_[static_cast<size_t>(i)]; }
    const std::string& siteCode() const { return siteCode_; }
    int layerCode() const { return layerCode_; }

    // The grid of frame i, decoded now if it was still waiting; nullptr when
    // the term cannot be decoded (or i is out of range).
    const FrameGrid* grid(int i);
    // The first frame from i on, stepping by `step` (+1 or -1) and wrapping
    // around, whose grid decodes; -1 when none does.
    int nextShowable(int i, int step);
    // Decodes waiting grids until `budget` has passed (at least one is
    // decoded). True while some still wait.
    bool prepareSome(std::chrono::microseconds budget);
    int pendingCount() const;

  private:
    void decode(size_t i);

    GridLoader loader_;
    std::vector<LoopFrame> frames_;
    std::vector<FrameGrid> grids_;
    std::string siteCode_;
    int layerCode_ = 0;
};

}  // namespace kalvera
