#include "archive/frame_store.h"

namespace kalvera {

void FrameStore::setFrames(std::vector<LoopFrame> frames, const std::string& siteCode,
                           int layerCode) {
    std::vector<FrameGrid> grids(frames.size());
    if (siteCode == siteCode_ && layerCode == layerCode_) {
        for (size_t i = 0; i < frames.size(); ++i) {
            for (size_t old = 0; old < frames_.size(); ++old) {
                if (frames_[old] == frames[i]) grids[i] = std::move(grids_[old]);
            }
        }
    }
    frames_ = std::move(frames);
    grids_ = std::move(grids);
    siteCode_ = siteCode;
    layerCode_ = layerCode;
}

void FrameStore::setLayer(int layerCode) {
    if (layerCode == layerCode_) return;
    layerCode_ = layerCode;
    for (FrameGrid& grid : grids_) grid.status = FrameGrid::Status::Pending;
}

void FrameStore::clear() {
    frames_.clear();
    grids_.clear();
}

void FrameStore::decode(size_t i) {
    const LoopFrame& frame = frames_[i];
    FrameGrid& grid = grids_[i];
    // A state of the frame's own: decoding a frame never moves the view.
    DisplayState state;
    state.siteCode = siteCode_;
    state.dayName = frame.dayName;
    state.termText = frame.termText;
    state.indexPath = frame.indexPath;
    state.basePath = frame.basePath;
    state.layerCode = layerCode_;
    state.recentre = 1;
    const bool ok = loader_ && loader_(state, grid.picture);
    grid.status = ok ? FrameGrid::Status::Ready : FrameGrid::Status::Failed;
    grid.siteLat = state.siteLat;
    grid.siteLon = state.siteLon;
}

const FrameGrid* FrameStore::grid(int i) {
    if (i < 0 || i >= size()) return nullptr;
    const auto at = static_cast<size_t>(i);
    if (grids_[at].status == FrameGrid::Status::Pending) decode(at);
    return grids_[at].status == FrameGrid::Status::Ready ? &grids_[at] : nullptr;
}

int FrameStore::nextShowable(int i, int step) {
    const int n = size();
    for (int k = 0; k < n; ++k) {
        const int at = ((i + step * k) % n + n) % n;
        if (grid(at) != nullptr) return at;
    }
    return -1;
}

bool FrameStore::prepareSome(std::chrono::microseconds budget) {
    const auto start = std::chrono::steady_clock::now();
    int decoded = 0;
    for (size_t i = 0; i < grids_.size(); ++i) {
        if (grids_[i].status != FrameGrid::Status::Pending) continue;
        if (decoded > 0 && std::chrono::steady_clock::now() - start >= budget) return true;
        decode(i);
        ++decoded;
    }
    return false;
}

int FrameStore::pendingCount() const {
    int count = 0;
    for (const FrameGrid& grid : grids_) count += grid.status == FrameGrid::Status::Pending;
    return count;
}

}  // namespace kalvera
