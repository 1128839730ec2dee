#include "output/loop_animation.h"

#include <memory>

#include "output/gif_writer.h"
#include "output/picture_export.h"
#include "render/picture_render.h"

namespace kalvera {

namespace {

// A viewer of its own with `like`'s settings and sizes: about 10 MB of
// bitmaps at a large side, so it lives on the heap.
std::unique_ptr<ViewerState> ViewerLike(const ViewerState& like) {
    auto viewer = std::make_unique<ViewerState>();
    viewer->config = like.config;
    viewer->display = like.display;
    viewer->layout = like.layout;
    viewer->windowColor = like.windowColor;
    viewer->decoder = like.decoder;
    viewer->MapLayer.setSize(like.side(), like.side());
    viewer->PictureLayer.setSize(like.side(), like.side());
    viewer->WindowDC.setSize(like.WindowDC.width(), like.WindowDC.height(), kWhite);
    return viewer;
}

}  // namespace

bool WriteLoopAnimation(const ViewerState& like, const std::vector<LoopFrame>& frames,
                        const AnimationTiming& timing, const std::string& path, std::string& error,
                        int* shown) {
    const std::unique_ptr<ViewerState> viewer = ViewerLike(like);
    DisplayState& d = viewer->display;
    GifEncoder encoder;
    // A frame goes in once the next one is drawn: only then is it known
    // whether it is the newest that decodes, which gets the dwell.
    QImage waiting;
    for (const LoopFrame& frame : frames) {
        // Each frame starts as a picture of its own would: from `like`'s
        // state and the pens and brushes its bitmaps had.
        d = like.display;
        viewer->MapLayer.state = like.MapLayer.state;
        viewer->PictureLayer.state = like.PictureLayer.state;
        viewer->LegendLayer.state = like.LegendLayer.state;
        viewer->WindowDC.state = like.WindowDC.state;
        d.dayName = frame.dayName;
        d.termText = frame.termText;
        d.indexPath = frame.indexPath;
        d.basePath = frame.basePath;
        d.currentDate = frame.date;
        if (!RenderPicture(*viewer)) continue;
        if (!waiting.isNull() &&
            !encoder.addFrame(waiting, FrameDelayMs(false, timing.fps, timing.dwellSeconds),
                              error)) {
            return false;
        }
        waiting = ComposeAnimationFrame(*viewer);
    }
    if (waiting.isNull()) {
        error = "No term of the loop could be decoded";
        return false;
    }
    if (!encoder.addFrame(waiting, FrameDelayMs(true, timing.fps, timing.dwellSeconds), error)) {
        return false;
    }
    if (shown != nullptr) *shown = encoder.frameCount();
    return WriteGifFile(encoder, path, error);
}

}  // namespace kalvera
