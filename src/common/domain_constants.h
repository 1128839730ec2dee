#pragma once
// Facts of the radar network and of this viewer that more than one part of
// the program relies on. Each is written here once; the decoders, the archive,
// the drawing, the window and the tools take it from here.

#include <numbers>

namespace kalvera {

inline constexpr double kPi = std::numbers::pi;

// Layer codes as the index files store them. A code N other than these two is
// the reflectivity between N and N + 1 km.
inline constexpr int kLayerEchoTops = 21;
inline constexpr int kLayerWeather = 22;
// Layers 1..10 make a term's column, the one the derived products read.
inline constexpr int kFirstHeightLayer = 1;
inline constexpr int kLastHeightLayer = 10;
inline constexpr int kHeightLayers = kLastHeightLayer - kFirstHeightLayer + 1;
// The index holds no code above this one that the viewer lists.
inline constexpr int kMaxLayerCode = 24;

// The site whose generic reflectivity is stored without the usual -64 dB
// reference value.
inline constexpr const char* kNoReferenceSite = "26063";

// Every product is a square grid of 100 x 100 cells centred on its site and
// reaching 200 km from it to each side.
inline constexpr int kGridSide = 100;
inline constexpr int kGridCells = kGridSide * kGridSide;
inline constexpr float kGridHalfExtentKm = 200.0f;

// The scale bar counts kilometres per division; the view's half extent is
// four divisions, so the default shows exactly one product grid.
inline constexpr int kScaleMinimum = 10;
inline constexpr int kScaleMaximum = 100;
inline constexpr int kScaleStep = 10;
inline constexpr int kScaleDefault = 50;
inline constexpr int kScaleDivisionsPerHalfExtent = 4;
constexpr float HalfExtentKmOfScale(int kmPerDivision) {
    return static_cast<float>(kmPerDivision * kScaleDivisionsPerHalfExtent);
}
inline constexpr float kDefaultHalfExtentKm = HalfExtentKmOfScale(kScaleDefault);

// The file the automatic update replaces with the newest weather picture.
// Offices that want it create the directory; a missing file means no export.
inline constexpr const char* kAutoExportPath = "/INBOX/q7/zeb.jpg";

// The program's name (UTF-8): the main window's caption and the first header
// line of every picture.
inline constexpr const char* kWindowTitle = "КАЛВЕРА";

}  // namespace kalvera
