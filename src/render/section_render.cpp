#include "render/section_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geo/map_projection.h"
#include "geo/radar_grid.h"
#include "render/cell_layer.h"
#include "render/readout.h"

namespace kalvera {

namespace {

constexpr int kMarginLeft = 56;
constexpr int kMarginRight = 24;
constexpr int kMarginTop = 52;
constexpr int kMarginBottom = 44;
constexpr uint32_t kGridGrey = 0xD0D0D0;

// A reading that is data rather than the mark of a point off the grid.
bool Drawn(const std::optional<int32_t>& value) {
    return value && *value > 0 && *value != kOutsideGrid;
}

// The tick step of the distance axis: about one tick per 80 pixels.
double DistanceStep(double lengthKm, int pixels) {
    const double wanted = lengthKm * 80.0 / std::max(pixels, 1);
    for (const double step : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0}) {
        if (step >= wanted) return step;
    }
    return 2000.0;
}

std::string EndText(const char* name, const SectionEnd& end) {
    return std::string(name) + ": " + DegMinText(end.at.lat) + " " + DegMinText(end.at.lon) +
           ", аз. " + CeilingText(end.azimuthDeg) + "°, " + CeilingText(end.rangeKm) + " км";
}

void DrawBands(Canvas& canvas, const std::vector<SectionSample>& samples, const Palette& palette,
               const SectionFrame& frame) {
    for (const SectionSample& sample : samples) {
        const int x0 = frame.xOfKm(std::max(0.0, sample.distanceKm - 0.5));
        const int x1 = frame.xOfKm(std::min(frame.lengthKm, sample.distanceKm + 0.5));
        for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) {
            const auto& value = sample.layers[static_cast<size_t>(n - kFirstHeightLayer)];
            if (!Drawn(value)) continue;
            const uint32_t colour = palette[static_cast<size_t>(ColourEntry(n, *value))];
            canvas.setBrushColor(colour);
            canvas.setPenColor(colour);
            canvas.rectangle(x0, frame.yOfHeightKm(n + 1), std::max(x1, x0 + 1),
                             frame.yOfHeightKm(n));
        }
    }
}

void DrawTops(Canvas& canvas, const std::vector<SectionSample>& samples,
              const SectionFrame& frame) {
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(2);
    std::vector<CanvasPoint> run;
    const auto flush = [&] {
        if (run.size() > 1) canvas.polyline(run);
        run.clear();
    };
    for (const SectionSample& sample : samples) {
        if (!Drawn(sample.top)) {
            flush();
            continue;
        }
        const double km = std::clamp(*sample.top / 1000.0, 0.0, kSectionTopKm);
        run.push_back({frame.xOfKm(sample.distanceKm), frame.yOfHeightKm(km)});
    }
    flush();
    canvas.setPenWidth(1);
}

void DrawAxes(Canvas& canvas, const SectionFrame& frame, const ColumnAxis& axis) {
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setPenColor(kBlack);
    canvas.rectangle(frame.left, frame.top, frame.right + 1, frame.bottom + 1);
    for (int km = 0; km <= static_cast<int>(kSectionTopKm); ++km) {
        const int y = frame.yOfHeightKm(km);
        canvas.moveTo(frame.left - 4, y);
        canvas.lineTo(frame.left, y);
        const std::string label = std::to_string(km);
        canvas.textOut(frame.left - 8 - canvas.textWidth(label), y - 7, label);
    }
    const double step = DistanceStep(frame.lengthKm, frame.right - frame.left);
    for (double km = 0.0; km <= frame.lengthKm + 1e-9; km += step) {
        const int x = frame.xOfKm(km);
        canvas.moveTo(x, frame.bottom);
        canvas.lineTo(x, frame.bottom + 4);
        const auto index = static_cast<size_t>(std::lround(km));
        const std::string label =
            axis.names.empty() ? std::to_string(index)
                               : (index < axis.names.size() ? axis.names[index] : std::string());
        canvas.textOut(x - canvas.textWidth(label) / 2, frame.bottom + 6, label);
    }
    canvas.textOut((frame.left + frame.right - canvas.textWidth(axis.title)) / 2, frame.bottom + 24,
                   axis.title);
    canvas.textOut(4, frame.top - 18, "Высота, км");
}

void DrawTitles(Canvas& canvas, const Section& section, const SectionFrame& frame) {
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(frame.left, 4,
                   "Срок " + section.term + ", разрез " + CeilingText(section.lengthKm) + " км");
    const std::string from = EndText("A", section.from);
    const std::string to = EndText("B", section.to);
    canvas.textOut(frame.left, 20, from);
    canvas.textOut(frame.right - canvas.textWidth(to), 20, to);
    canvas.textOut(frame.left + 2, frame.top + 2, "A");
    canvas.textOut(frame.right - 2 - canvas.textWidth("B"), frame.top + 2, "B");
}

}  // namespace

SectionFrame SectionFrame::Of(int width, int height, double lengthKm) {
    SectionFrame frame;
    frame.left = kMarginLeft;
    frame.top = kMarginTop;
    frame.right = std::max(frame.left + 1, width - kMarginRight);
    frame.bottom = std::max(frame.top + 1, height - kMarginBottom);
    frame.lengthKm = lengthKm > 0.0 ? lengthKm : 1.0;
    return frame;
}

int SectionFrame::xOfKm(double km) const {
    return left + static_cast<int>(std::lround(km / lengthKm * (right - left)));
}

int SectionFrame::yOfHeightKm(double km) const {
    return bottom - static_cast<int>(std::lround(km / kSectionTopKm * (bottom - top)));
}

double SectionFrame::kmOfX(int x) const {
    return static_cast<double>(x - left) * lengthKm / (right - left);
}

double SectionFrame::heightKmOfY(int y) const {
    return static_cast<double>(bottom - y) * kSectionTopKm / (bottom - top);
}

bool SectionFrame::contains(int x, int y) const {
    return x >= left && x <= right && y >= top && y <= bottom;
}

void DrawColumns(Canvas& canvas, const std::vector<SectionSample>& samples, const Palette& palette,
                 const SectionFrame& frame, const ColumnAxis& axis) {
    canvas.setPenColor(kGridGrey);
    for (int km = 1; km < static_cast<int>(kSectionTopKm); ++km) {
        canvas.moveTo(frame.left, frame.yOfHeightKm(km));
        canvas.lineTo(frame.right, frame.yOfHeightKm(km));
    }
    DrawBands(canvas, samples, palette, frame);
    DrawTops(canvas, samples, frame);
    DrawAxes(canvas, frame, axis);
}

void DrawSection(Canvas& canvas, const Section& section, const Palette& palette,
                 const SectionFrame& frame) {
    DrawColumns(canvas, section.samples, palette, frame, ColumnAxis{});
    DrawTitles(canvas, section, frame);
}

namespace {

// A white image of a logical size that carries the device pixel ratio.
QImage WhiteImage(int width, int height, double ratio) {
    QImage image(DevicePixels(std::max(width, 1), ratio), DevicePixels(std::max(height, 1), ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

}  // namespace

QImage DrawSectionImage(const Section& section, const Palette& palette, int width, int height,
                        double ratio) {
    QImage image = WhiteImage(width, height, ratio);
    CanvasState state;
    {
        Canvas canvas(image, state);
        DrawSection(canvas, section, palette, SectionFrame::Of(width, height, section.lengthKm));
    }
    return image;
}

std::vector<SectionSample> HistoryColumns(const std::vector<HistoryRow>& rows) {
    std::vector<SectionSample> columns(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        columns[i].distanceKm = static_cast<double>(i);
        columns[i].layers = rows[i].layers;
        columns[i].top = rows[i].top;
    }
    return columns;
}

ColumnAxis HistoryAxis(const std::vector<HistoryRow>& rows) {
    ColumnAxis axis;
    axis.title = "Срок";
    for (const HistoryRow& row : rows) axis.names.push_back(row.term);
    return axis;
}

QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height, double ratio) {
    QImage image = WhiteImage(width, height, ratio);
    CanvasState state;
    {
        Canvas canvas(image, state);
        const double span = rows.size() > 1 ? static_cast<double>(rows.size() - 1) : 1.0;
        DrawColumns(canvas, HistoryColumns(rows), palette, SectionFrame::Of(width, height, span),
                    HistoryAxis(rows));
    }
    return image;
}

QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height) {
    return DrawHistoryImage(rows, palette, width, height, 1.0);
}

QImage DrawSectionImage(const Section& section, const Palette& palette, int width, int height) {
    return DrawSectionImage(section, palette, width, height, 1.0);
}

namespace {

// The column under x of a plot of `count` columns at 0, 1, 2 ...; false off them.
bool ColumnUnder(double x, size_t count, double heightKm, size_t& index) {
    if (count == 0 || !(x >= -0.5) || !(heightKm >= 0.0)) return false;
    index = static_cast<size_t>(std::lround(std::max(x, 0.0)));
    return index < count;
}

// "высота 3.5 км, слой 3: 40, верх. граница 5000 м" for a column.
std::string ColumnText(const CellColumn& layers, const std::optional<int32_t>& top,
                       double heightKm) {
    char height[32];
    std::snprintf(height, sizeof height, "%.1f", heightKm);
    std::string text = std::string("высота ") + height + " км";
    const int layer = static_cast<int>(std::floor(heightKm));
    if (layer >= kFirstHeightLayer && layer <= kLastHeightLayer) {
        const auto& value = layers[static_cast<size_t>(layer - kFirstHeightLayer)];
        text += ", слой " + std::to_string(layer) + ": " + (value ? std::to_string(*value) : "нет");
    }
    if (top) text += ", верх. граница " + std::to_string(*top) + " м";
    return text;
}

}  // namespace

std::string SectionReadout(const Section& section, double distanceKm, double heightKm) {
    size_t index = 0;
    if (!ColumnUnder(distanceKm, section.samples.size(), heightKm, index)) return {};
    const SectionSample& sample = section.samples[index];
    return std::to_string(index) + " км, " + ColumnText(sample.layers, sample.top, heightKm) +
           ", " + DegMinText(sample.at.lat) + " " + DegMinText(sample.at.lon);
}

std::string HistoryReadout(const std::vector<HistoryRow>& rows, double column, double heightKm) {
    size_t index = 0;
    if (!ColumnUnder(column, rows.size(), heightKm, index)) return {};
    return "Срок " + rows[index].term + ", " +
           ColumnText(rows[index].layers, rows[index].top, heightKm);
}

}  // namespace kalvera
