#pragma once
// What render and export share: the options that choose a term and a view,
// and the term drawn as the viewer draws it, without a display.

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "cli_options.h"
#include "geo/map_resources.h"
#include "mosaic/mosaic_term.h"
#include "output/map_source.h"
#include "render/viewer_state.h"

namespace kalvera::cli {

struct RenderArgs {
    TermChoice term;
    std::string out;
    int side = 700;
    int year = 0, month = 0, dayOfMonth = 0;
    ColourOptions colours;
    std::vector<std::string> given;  // the options named on the command line
};

// The term options with --out required, and --side, --centre and
// --half-extent; 0 or the usage error's exit status.
int ParseRenderArgs(const std::vector<std::string>& args, RenderArgs& render);

// A format that has no use for some of the options refuses them rather than
// drop them unseen: 0, or the usage error's status naming the first one given.
int RefuseOptions(const RenderArgs& render, const std::vector<std::string>& names,
                  const std::string& format);

// Fonts need an application object; without a display the offscreen
// platform draws them just the same. Null when one exists already.
std::unique_ptr<QGuiApplication> StartGui();

// Loads the settings, palette and chosen colours of the start directory and sets `viewer` up
// for the term at the chosen side and view, without drawing anything yet.
// 0, or 1 with the reason printed.
int PrepareTerm(const RenderArgs& render, ViewerState& viewer);

// Sets `viewer`, its settings and palette loaded, up for the term that
// `state` names, on the day `date`, at `side` pixels, without drawing.
void SetUpTerm(ViewerState& viewer, const DisplayState& state, double date, int side);

// Loads the settings and palette of the start directory and draws the term
// into `viewer` at the chosen side and view. 0, or 1 with the reason printed.
int RenderTerm(const RenderArgs& render, ViewerState& viewer);

// The picture mosaic writes of a composite's layer (`source`, loaded from
// `term`): a header line, the map with the cells and the sites' squares, and
// the legend. `cache` keeps the map's files from one picture to the next.
QImage MosaicPicture(const AppConfig& config, const MapSource& source, const MosaicTerm& term,
                     MapResourceCache& cache);

}  // namespace kalvera::cli
