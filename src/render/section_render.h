#pragma once
// The picture of a vertical section: distance along the line (x) against
// height 0..11 km (y), each layer N a band from N to N + 1 km in its palette
// colour, the echo tops as a line, labelled axes, the colour key and the two
// ends with their position and their azimuth and range from the site. The
// section window and `kalvera-cli section` draw it the same way.

#include <QImage>
#include <QPointF>
#include <string>
#include <vector>

#include "geo/app_config.h"
#include "products/point_history.h"
#include "products/section.h"
#include "render/canvas.h"

class QPainter;

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

// How the x axis reads: kilometres along a line, or the hours of a day (a
// point's history). A sample's distanceKm is its place on the axis counted
// from `origin`, which the plot's left edge shows.
struct ColumnAxis {
    std::string title = "Расстояние, км";
    double origin = 0.0;
    double columnWidth = kSectionStepKm;  // one sample's column, in axis units
    double tickStep = 0.0;                // 0: whole kilometres, about one tick per 80 pixels
};

// Bands, echo-top line and axes of columns placed at sample.distanceKm.
// A colour table, when given, colours the bands and the key in place of the
// palette, as the picture draws the height layers with it.
void DrawColumns(Canvas& canvas, const std::vector<SectionSample>& samples, const Palette& palette,
                 const SectionFrame& frame, const ColumnAxis& axis,
                 const ColourTable* table = nullptr);

// The columns with the line's term, length and ends above them.
void DrawSection(Canvas& canvas, const Section& section, const Palette& palette,
                 const SectionFrame& frame, const ColourTable* table = nullptr);

// The section on a white image of that logical size, at the device pixel
// ratio of a screen (files are drawn at 1). The image carries what it is
// in its "Title" (the picture's title line) and "Description" (the
// section's subject) texts, which a PNG keeps.
QImage DrawSectionImage(const Section& section, const Palette& palette, int width, int height,
                        double ratio = 1.0, const ColourTable* table = nullptr);

// The line of a section over the map at window positions `from` and `to`,
// its ends marked "A" and "B" as the section's picture names them.
void DrawSectionLine(QPainter& painter, QPointF from, QPointF to);

// Hours of the day of a term "HH.MM"; false for a text that is none.
bool TermHours(const std::string& term, double& hours);

// The whole hours a point's history spans: from the hour at or before its
// first term to the hour at or after its last, at least one; the whole day
// without terms. The time-height picture and the charts share it, so that
// their times line up.
struct HourSpan {
    int first = 0;
    int last = 24;
    int hours() const { return last - first; }
};
HourSpan HistoryHours(const std::vector<HistoryRow>& rows);
// Whole hours between time ticks across `pixels`: about one tick per 60.
int HourTickStep(int hours, int pixels);

// A point's history as columns placed at their terms' time on the span's
// hours, each as wide as the shortest step between terms, so that a term
// missing from the day leaves a gap.
std::vector<SectionSample> HistoryColumns(const std::vector<HistoryRow>& rows);
ColumnAxis HistoryAxis(const std::vector<HistoryRow>& rows, int pixels);

// The history's time-height picture on a white image of that logical size,
// at a screen's device pixel ratio (files are drawn at 1).
QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height, double ratio = 1.0, const ColourTable* table = nullptr);

// What lies under a point of the history's picture at `hours` of the day:
// the term, the height, the layer's value there and the echo tops. Empty
// outside the columns.
std::string HistoryReadout(const std::vector<HistoryRow>& rows, double hours, double heightKm);

// What lies under a point of the plot: distance, height, the layer's value
// there and the echo tops of that sample. Empty outside the samples.
std::string SectionReadout(const Section& section, double distanceKm, double heightKm);

}  // namespace kalvera
