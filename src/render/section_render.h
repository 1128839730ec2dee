#pragma once
// The picture of a vertical section: distance along the line (x) against
// height 0..11 km (y), each layer N a band from N to N + 1 km in its palette
// colour, the echo tops as a line, labelled axes and the two ends with their
// position and their azimuth and range from the site. The section window and
// `kalvera-cli section` draw it the same way.

#include <QImage>
#include <string>
#include <vector>

#include "geo/app_config.h"
#include "products/point_history.h"
#include "products/section.h"
#include "render/canvas.h"

namespace kalvera {

constexpr double kSectionTopKm = 11.0;

// Where the plot lies on an image, and its scales.
struct SectionFrame {
    int left = 0, top = 0, right = 0, bottom = 0;  // plot area, pixels
    double lengthKm = 0.0;

    static SectionFrame Of(int width, int height, double lengthKm);
    int xOfKm(double km) const;
    int yOfHeightKm(double km) const;
    double kmOfX(int x) const;
    double heightKmOfY(int y) const;
    bool contains(int x, int y) const;
};

// How the x axis reads: kilometres along a line, or a name per sample (the
// terms of a point's history).
struct ColumnAxis {
    std::string title = "Расстояние, км";
    std::vector<std::string> names;
};

// Bands, echo-top line and axes of columns placed at sample.distanceKm.
void DrawColumns(Canvas& canvas, const std::vector<SectionSample>& samples, const Palette& palette,
                 const SectionFrame& frame, const ColumnAxis& axis);

// The columns with the line's term, length and ends above them.
void DrawSection(Canvas& canvas, const Section& section, const Palette& palette,
                 const SectionFrame& frame);

// The section on a white image of that size.
QImage DrawSectionImage(const Section& section, const Palette& palette, int width, int height);

// A point's history as columns: one per term at 0, 1, 2 ..., the terms
// naming the time axis.
std::vector<SectionSample> HistoryColumns(const std::vector<HistoryRow>& rows);
ColumnAxis HistoryAxis(const std::vector<HistoryRow>& rows);

// The history's time-height picture on a white image of that size.
QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height);

// What lies under a point of the history's picture: the term, the height,
// the layer's value there and the echo tops. Empty outside the columns.
std::string HistoryReadout(const std::vector<HistoryRow>& rows, double column, double heightKm);

// What lies under a point of the plot: distance, height, the layer's value
// there and the echo tops of that sample. Empty outside the samples.
std::string SectionReadout(const Section& section, double distanceKm, double heightKm);

// The section's and the history's pictures for a screen: the same drawing
// on a white image of that logical size that carries the screen's device
// pixel ratio (files are drawn at 1).
QImage DrawSectionImage(const Section& section, const Palette& palette, int width, int height,
                        double ratio);
QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height, double ratio);

}  // namespace kalvera
