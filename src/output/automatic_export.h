#pragma once
// What the update tick writes once the newest term's weather layer is drawn:
// the JPEG over the fixed export file (only when that file exists) and the
// products that res/publish.txt lists. Nothing here blocks or stops the
// timer; what went wrong comes back as a short text for the window's title.

#include <set>
#include <string>

#include "mosaic/mosaic_term.h"
#include "render/viewer_state.h"

namespace kalvera {

class AutomaticExport {
  public:
    // Runs both exports for the term the viewer shows. Empty when nothing
    // failed; otherwise " — не удалось записать <paths>", and, the first time
    // a line of the list is found unreadable, " — publish.txt: пропущена
    // строка <numbers>". The list is read afresh at every run, so an edit
    // takes effect at the next tick.
    std::string run(const ViewerState& viewer, const std::string& jpegPath);

  private:
    std::set<std::string> reportedLines_;
    // Kept from tick to tick: the composite's layout is made once.
    MosaicLoader mosaicLoader_;
};

}  // namespace kalvera
