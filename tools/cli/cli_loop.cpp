// kalvera-cli loop: the newest terms up to a chosen one as an animated GIF,
// each frame the very picture that render draws for its term with the same
// options. The loop an office puts on its web page.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "archive/frame_selection.h"
#include "cli_command.h"
#include "cli_options.h"
#include "cli_term_render.h"
#include "common/date_time.h"
#include "output/loop_animation.h"
#include "render/viewer_state.h"

namespace kalvera::cli {

namespace {

struct LoopArgs {
    int frames = 0;
    AnimationTiming timing;
};

// Takes the loop's own options out of `args`; what is left is render's.
int TakeLoopOptions(std::vector<std::string>& args, LoopArgs& loop) {
    std::vector<std::string> rest;
    bool haveFrames = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        const bool ours = name == "--frames" || name == "--fps" || name == "--dwell";
        if (!ours) {
            rest.push_back(name);
            continue;
        }
        if (i + 1 >= args.size()) return UsageError(name + " needs a value");
        const std::string& value = args[++i];
        if (name == "--frames") {
            if (!ParseInt(value, loop.frames) || loop.frames < kLoopFramesMin ||
                loop.frames > kLoopFramesMax) {
                return UsageError("--frames needs a number from " + std::to_string(kLoopFramesMin) +
                                  " to " + std::to_string(kLoopFramesMax));
            }
            haveFrames = true;
        } else if (name == "--fps") {
            if (!ParseInt(value, loop.timing.fps) || loop.timing.fps < kLoopFpsMin ||
                loop.timing.fps > kLoopFpsMax) {
                return UsageError("--fps needs frames per second from " +
                                  std::to_string(kLoopFpsMin) + " to " +
                                  std::to_string(kLoopFpsMax));
            }
        } else {
            float dwell = 0.0f;
            if (!ParseFloat(value, dwell) || dwell < 0.0f || dwell > kLoopDwellMax) {
                return UsageError("--dwell needs seconds from 0 to " +
                                  std::to_string(static_cast<int>(kLoopDwellMax)));
            }
            loop.timing.dwellSeconds = dwell;
        }
    }
    if (!haveFrames) return UsageError("missing --frames");
    args = std::move(rest);
    return 0;
}

int runLoop(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    LoopArgs loop;
    if (const int usage = TakeLoopOptions(args, loop); usage != 0) return usage;
    RenderArgs render;
    if (const int usage = ParseRenderArgs(args, render); usage != 0) return usage;
    if (!HasSuffix(render.out, ".gif")) return UsageError("--out needs a .gif file");
    const std::unique_ptr<QGuiApplication> app = StartGui();

    auto viewer = std::make_unique<ViewerState>();
    if (const int failed = PrepareTerm(render, *viewer); failed != 0) return failed;
    const TermChoice& term = render.term;
    const std::vector<LoopFrame> frames = SelectLoopFrames(
        DataRootOf(term, viewer->config.dataRoot), term.site,
        EncodeDate(render.year, render.month, render.dayOfMonth), term.term, loop.frames);
    if (frames.empty()) {
        return LoadFailure("no term of site " + term.site + " up to " + term.day + " " + term.term);
    }
    std::string error;
    int shown = 0;
    if (!WriteLoopAnimation(*viewer, frames, loop.timing, render.out, error, &shown)) {
        return LoadFailure(error);
    }
    if (shown < static_cast<int>(frames.size())) {
        std::fprintf(stderr,
                     "kalvera-cli: %d of %zu terms could not be decoded and were left out\n",
                     static_cast<int>(frames.size()) - shown, frames.size());
    }
    return 0;
}

const CliRegistrar registrar({"loop", runLoop});

}  // namespace

}  // namespace kalvera::cli
