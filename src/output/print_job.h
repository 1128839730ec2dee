#pragma once
// Setting up the printer for the page, and the page as a PDF file.

#include <string>

#include "render/viewer_state.h"

class QPrinter;

namespace kalvera {

// Sizes on the page are counted in printer pixels (10-pixel place discs,
// 2-pixel lines), so the page is printed at 300 dots per inch, where they
// come out as intended whatever the printer's own finest resolution.
constexpr int kPrintDotsPerInch = 300;

// A4 portrait, full page (coordinates from the paper's corner) at
// kPrintDotsPerInch. Call before the print dialog, and again after it, since
// choosing a printer there may reset the mode.
void ConfigurePrinterForPage(QPrinter& printer);

// The printed page written as a one-page PDF over `path` through
// ReplaceFileContents. False, with the reason in `error`, on failure.
bool WritePdfPage(const ViewerState& viewer, const std::string& path, std::string& error);

}  // namespace kalvera
