#pragma once
// What the window shows: site, day, term, layer, filter and view. One instance,
// owned by the main window and handed by reference to the archive operations,
// the renderer, the decoders and the export.

#include <cstdint>
#include <string>

namespace kalvera {

struct DisplayState {
    std::string siteCode;         // directory name of the current site under dataRoot
    std::string dayName;          // six digits, YYMMDD
    std::string termText;         // "HH.MM"
    std::string basePath;         // current day's base file
    std::string indexPath;        // current day's index file
    double currentDate = 0.0;     // days since 1899-12-30, fraction = time of day
    int32_t layerCode = 0;        // 21 echo tops, 22 weather, other N: reflectivity N..N+1 km
    int32_t filterThreshold = 0;  // a cell is drawn only when its value is greater
    int32_t messageOffset = 0;    // offset of the drawn message, -1 when none
    int32_t gridCols = 0;
    int32_t gridRows = 0;
    float viewLat = 0.0f;  // centre of the view, degrees
    float viewLon = 0.0f;
    float siteLon = 0.0f;  // radar site of the decoded picture (longitude first)
    float siteLat = 0.0f;
    float viewHalfExtentKm = 0.0f;
    float viewLonMin = 0.0f;
    float viewLonMax = 0.0f;
    float viewLatMin = 0.0f;
    float viewLatMax = 0.0f;
    uint8_t recentre = 0;  // 0: the next decoding centres the view on its site
};

// Once the decoded picture's site is known: centres the view on it when the
// state asks for that, and then stops asking.
inline void CentreOnSiteIfAsked(DisplayState& state) {
    if (state.recentre != 0) return;
    state.viewLat = state.siteLat;
    state.viewLon = state.siteLon;
    state.recentre = 1;
}

}  // namespace kalvera
