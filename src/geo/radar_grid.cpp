#include "geo/radar_grid.h"

#include <algorithm>

namespace kalvera {

namespace {
// trunc() toward zero of a cell coordinate, or -1 when it is no cell: NaN and
// far-off points must not reach an integer conversion.
int CellIndex(float position, int count) {
    if (!(position >= 0.0f) || position >= static_cast<float>(count)) return -1;
    return static_cast<int>(position);
}
}  // namespace

RadarGrid RadarGrid::AroundSite(float siteLon, float siteLat, int rows, int columns) {
    RadarGrid grid;
    grid.rows_ = std::max(1, rows);
    grid.columns_ = std::max(1, columns);
    // Only the bounds of this projection count, so its pixel size is arbitrary.
    const auto side = static_cast<float>(kGridSide);
    const MapProjection square =
        MapProjection::Init(side, side, siteLon, siteLat, kRadarGridHalfExtentKm);
    grid.lonMin_ = square.lonMin;
    grid.latMin_ = square.latMin;
    grid.cellLon_ = square.lonSpan / static_cast<float>(grid.columns_);
    grid.cellLat_ = square.latSpan / static_cast<float>(grid.rows_);
    return grid;
}

RadarGrid RadarGrid::Regular(float lonMin, float latMin, float cellLon, float cellLat, int rows,
                             int columns) {
    RadarGrid grid;
    grid.rows_ = std::max(1, rows);
    grid.columns_ = std::max(1, columns);
    grid.lonMin_ = lonMin;
    grid.latMin_ = latMin;
    grid.cellLon_ = cellLon;
    grid.cellLat_ = cellLat;
    return grid;
}

GridValues GridValues::OfPicture(const RadarPicture& picture, float siteLon, float siteLat) {
    return {RadarGrid::AroundSite(siteLon, siteLat),
            std::vector<int32_t>(picture.values.begin(), picture.values.end())};
}

CellEdges RadarGrid::EdgesOn(const Viewport& viewport) const {
    CellEdges edges;
    edges.x.resize(static_cast<size_t>(columns_) + 1);
    edges.y.resize(static_cast<size_t>(rows_) + 1);
    for (int j = 0; j <= columns_; ++j) edges.x[static_cast<size_t>(j)] = viewport.X(EdgeLon(j));
    for (int i = 0; i <= rows_; ++i) edges.y[static_cast<size_t>(i)] = viewport.Y(EdgeLat(i));
    return edges;
}

GridCell RadarGrid::CellAt(float lat, float lon) const {
    if (!(cellLon_ > 0.0f) || !(cellLat_ > 0.0f)) return {};
    // A point may be written on either side of the antimeridian.
    const float centre = lonMin_ + 0.5f * static_cast<float>(columns_) * cellLon_;
    lon = LonNear(lon, centre);
    const int row = CellIndex((lat - latMin_) / cellLat_, rows_);
    const int column = CellIndex((lon - lonMin_) / cellLon_, columns_);
    if (row < 0 || column < 0) return {};
    return {row, column};
}

GridCell RadarGrid::CellUnder(const Viewport& viewport, int x, int y) const {
    return CellAt(viewport.Lat(y), viewport.Lon(x));
}

}  // namespace kalvera
