#include "render/section_render.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "archive/day_archive.h"
#include "geo/map_projection.h"
#include "geo/radar_grid.h"
#include "render/cell_layer.h"
#include "render/legend_layer.h"
#include "render/readout.h"
#include "render/translated_text.h"

namespace kalvera {

namespace {

constexpr int kMarginLeft = 56;
// The colour key stands right of the plot.
constexpr int kKeyGap = 14;
constexpr int kKeyWidth = 56;
constexpr int kMarginRight = kKeyGap + kKeyWidth + 10;
constexpr int kMarginTop = 52;
constexpr int kMarginBottom = 44;
constexpr uint32_t kGridGrey = 0xD0D0D0;

// The axis titles a ColumnAxis holds, for the catalogue.
[[maybe_unused]] constexpr const char* kAxisTitles[] = {
    QT_TRANSLATE_NOOP("kalvera::Section", "Расстояние, км"),
    QT_TRANSLATE_NOOP("kalvera::Section", "Срок, ч")};

std::string Tr(const QString& text) {
    return text.toStdString();
}

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
    return Tr(QCoreApplication::translate("kalvera::Section", "%1: %2 %3, аз. %4°, %5 км")
                  .arg(QString::fromUtf8(name), QString::fromStdString(DegMinText(end.at.lat)),
                       QString::fromStdString(DegMinText(end.at.lon)),
                       QString::fromStdString(CeilingText(end.azimuthDeg)),
                       QString::fromStdString(CeilingText(end.rangeKm))));
}

void DrawBands(Canvas& canvas, const std::vector<SectionSample>& samples, const Palette& palette,
               const ColourTable* table, const SectionFrame& frame, double columnWidth) {
    for (const SectionSample& sample : samples) {
        const int x0 = frame.xOfKm(std::max(0.0, sample.distanceKm - columnWidth / 2));
        const int x1 = frame.xOfKm(std::min(frame.lengthKm, sample.distanceKm + columnWidth / 2));
        for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) {
            const auto& value = sample.layers[static_cast<size_t>(n - kFirstHeightLayer)];
            if (!Drawn(value)) continue;
            // The layer's colours, as the picture draws that layer.
            uint32_t colour = 0;
            if (!CellColour({n, 0, &palette, table, 100}, *value, colour)) continue;
            canvas.setBrushColor(colour);
            canvas.setPenColor(colour);
            canvas.rectangle(x0, frame.yOfHeightKm(n + 1), std::max(x1, x0 + 1),
                             frame.yOfHeightKm(n));
        }
    }
}

// The tops of neighbouring columns are joined; a gap of a column or more
// (a term missing from the day) breaks the line.
void DrawTops(Canvas& canvas, const std::vector<SectionSample>& samples, const SectionFrame& frame,
              double columnWidth) {
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(2);
    std::vector<CanvasPoint> run;
    const auto flush = [&] {
        if (run.size() > 1) canvas.polyline(run);
        run.clear();
    };
    double last = 0.0;
    for (const SectionSample& sample : samples) {
        if (!run.empty() && sample.distanceKm - last > 1.5 * columnWidth) flush();
        last = sample.distanceKm;
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
    const double step = axis.tickStep > 0.0
                            ? axis.tickStep
                            : DistanceStep(frame.lengthKm, frame.right - frame.left);
    for (double km = 0.0; km <= frame.lengthKm + 1e-9; km += step) {
        const int x = frame.xOfKm(km);
        canvas.moveTo(x, frame.bottom);
        canvas.lineTo(x, frame.bottom + 4);
        const std::string label = std::to_string(std::lround(axis.origin + km));
        canvas.textOut(x - canvas.textWidth(label) / 2, frame.bottom + 6, label);
    }
    const std::string title = TranslatedText("kalvera::Section", axis.title);
    canvas.textOut((frame.left + frame.right - canvas.textWidth(title)) / 2, frame.bottom + 24,
                   title);
    canvas.textOut(4, frame.top - 18,
                   Tr(QCoreApplication::translate("kalvera::Section", "Высота, км")));
}

// The key of the band colours (the reflectivity legend) and of the echo-top
// line, right of the plot.
void DrawKey(Canvas& canvas, const Palette& palette, const ColourTable* table,
             const SectionFrame& frame) {
    const int left = frame.right + kKeyGap;
    const int lineY = frame.bottom - 20;
    DrawLegendBoxes(canvas, left, frame.top, kKeyWidth,
                    std::max(kLegendBoxes, lineY - 8 - frame.top), palette, kFirstHeightLayer,
                    false, table);
    canvas.setPenColor(kBlack);
    canvas.setPenWidth(2);
    canvas.moveTo(left, lineY);
    canvas.lineTo(left + 24, lineY);
    canvas.setPenWidth(1);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(left, lineY + 5,
                   Tr(QCoreApplication::translate("kalvera::Section", "верх. гр.")));
}

// "07.12.2026" for "261207", in the short date format of the chosen language.
std::string DayText(const std::string& dayName) {
    int year = 0, month = 0, day = 0;
    if (dayName.size() != 6 || std::sscanf(dayName.c_str(), "%2d%2d%2d", &year, &month, &day) != 3)
        return dayName;
    const QDate date(2000 + year, month, day);
    if (!date.isValid()) return dayName;
    return QLocale().toString(date, QLocale::ShortFormat).toStdString();
}

std::string SectionTitle(const Section& section) {
    return Tr(QCoreApplication::translate(
                  "kalvera::Section",
                  "Станция %1, %2, срок %3. Разрез %4 км: слои 1–10 и верхняя граница")
                  .arg(QString::fromStdString(section.site),
                       QString::fromStdString(DayText(section.day)),
                       QString::fromStdString(section.term),
                       QString::fromStdString(CeilingText(section.lengthKm))));
}

void DrawTitles(Canvas& canvas, const Section& section, const SectionFrame& frame) {
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(frame.left, 4, SectionTitle(section));
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
                 const SectionFrame& frame, const ColumnAxis& axis, const ColourTable* table) {
    canvas.setPenColor(kGridGrey);
    for (int km = 1; km < static_cast<int>(kSectionTopKm); ++km) {
        canvas.moveTo(frame.left, frame.yOfHeightKm(km));
        canvas.lineTo(frame.right, frame.yOfHeightKm(km));
    }
    DrawBands(canvas, samples, palette, table, frame, axis.columnWidth);
    DrawTops(canvas, samples, frame, axis.columnWidth);
    DrawAxes(canvas, frame, axis);
    DrawKey(canvas, palette, table, frame);
}

void DrawSection(Canvas& canvas, const Section& section, const Palette& palette,
                 const SectionFrame& frame, const ColourTable* table) {
    DrawColumns(canvas, section.samples, palette, frame, ColumnAxis{}, table);
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
                        double ratio, const ColourTable* table) {
    QImage image = WhiteImage(width, height, ratio);
    CanvasState state;
    {
        Canvas canvas(image, state);
        DrawSection(canvas, section, palette, SectionFrame::Of(width, height, section.lengthKm),
                    table);
    }
    image.setText(QStringLiteral("Title"), QString::fromStdString(SectionTitle(section)));
    image.setText(QStringLiteral("Description"), QString::fromStdString(SectionSubject(section)));
    return image;
}

void DrawSectionLine(QPainter& painter, QPointF from, QPointF to) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // White under black keeps the line visible on any cell colour.
    painter.setPen(QPen(Qt::white, 4));
    painter.drawLine(from, to);
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawLine(from, to);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const auto mark = [&](QPointF at, const QString& name) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(at, 4.0, 4.0);
        const QRectF box = QRectF(metrics.boundingRect(name)).adjusted(-2, -1, 2, 1);
        const QRectF label = box.translated(at + QPointF(6, -6) - box.bottomLeft());
        painter.drawRect(label);
        painter.drawText(label, Qt::AlignCenter, name);
    };
    mark(from, QStringLiteral("A"));
    mark(to, QStringLiteral("B"));
    painter.restore();
}

bool TermHours(const std::string& term, double& hours) {
    int hour = 0, minute = 0;
    if (!SplitTermText(term, hour, minute)) return false;
    hours = hour + minute / 60.0;
    return true;
}

HourSpan HistoryHours(const std::vector<HistoryRow>& rows) {
    double first = 24.0, last = 0.0;
    for (const HistoryRow& row : rows) {
        double hours = 0.0;
        if (!TermHours(row.term, hours)) continue;
        first = std::min(first, hours);
        last = std::max(last, hours);
    }
    if (first > last) return {};
    HourSpan span;
    span.first = static_cast<int>(std::floor(first));
    span.last = std::max(span.first + 1, static_cast<int>(std::ceil(last)));
    return span;
}

int HourTickStep(int hours, int pixels) {
    const double wanted = hours * 60.0 / std::max(pixels, 1);
    for (const int step : {1, 2, 3, 4, 6, 12}) {
        if (step >= wanted) return step;
    }
    return 24;
}

namespace {

// Each row's time of day, empty for a term that is no time.
std::vector<std::optional<double>> RowHours(const std::vector<HistoryRow>& rows) {
    std::vector<std::optional<double>> times;
    for (const HistoryRow& row : rows) {
        double hours = 0.0;
        times.push_back(TermHours(row.term, hours) ? std::optional<double>(hours) : std::nullopt);
    }
    return times;
}

// The shortest step between terms, in hours; ten minutes for a lone term.
double TermStepHours(const std::vector<std::optional<double>>& times) {
    double step = 0.0;
    std::optional<double> previous;
    for (const auto& time : times) {
        if (!time) continue;
        if (previous && *time > *previous && (step == 0.0 || *time - *previous < step))
            step = *time - *previous;
        previous = time;
    }
    return step > 0.0 ? step : 10.0 / 60.0;
}

}  // namespace

std::vector<SectionSample> HistoryColumns(const std::vector<HistoryRow>& rows) {
    const double first = HistoryHours(rows).first;
    const std::vector<std::optional<double>> times = RowHours(rows);
    std::vector<SectionSample> columns;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!times[i]) continue;
        SectionSample& column = columns.emplace_back();
        column.distanceKm = *times[i] - first;
        column.layers = rows[i].layers;
        column.top = rows[i].top;
    }
    return columns;
}

ColumnAxis HistoryAxis(const std::vector<HistoryRow>& rows, int pixels) {
    const HourSpan span = HistoryHours(rows);
    ColumnAxis axis;
    axis.title = "Срок, ч";
    axis.origin = span.first;
    axis.columnWidth = TermStepHours(RowHours(rows));
    axis.tickStep = HourTickStep(span.hours(), pixels);
    return axis;
}

QImage DrawHistoryImage(const std::vector<HistoryRow>& rows, const Palette& palette, int width,
                        int height, double ratio, const ColourTable* table) {
    QImage image = WhiteImage(width, height, ratio);
    CanvasState state;
    {
        Canvas canvas(image, state);
        const SectionFrame frame = SectionFrame::Of(width, height, HistoryHours(rows).hours());
        DrawColumns(canvas, HistoryColumns(rows), palette, frame,
                    HistoryAxis(rows, frame.right - frame.left), table);
    }
    return image;
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
    std::string text = Tr(QCoreApplication::translate("kalvera::Section", "высота %1 км")
                              .arg(QString::fromUtf8(height)));
    const int layer = static_cast<int>(std::floor(heightKm));
    if (layer >= kFirstHeightLayer && layer <= kLastHeightLayer) {
        const auto& value = layers[static_cast<size_t>(layer - kFirstHeightLayer)];
        text += Tr(QCoreApplication::translate("kalvera::Section", ", слой %1: %2")
                       .arg(layer)
                       .arg(value ? QString::number(*value)
                                  : QCoreApplication::translate("kalvera::Section", "нет")));
    }
    if (top)
        text +=
            Tr(QCoreApplication::translate("kalvera::Section", ", верх. граница %1 м").arg(*top));
    return text;
}

}  // namespace

std::string SectionReadout(const Section& section, double distanceKm, double heightKm) {
    size_t index = 0;
    if (!ColumnUnder(distanceKm, section.samples.size(), heightKm, index)) return {};
    const SectionSample& sample = section.samples[index];
    return Tr(QCoreApplication::translate("kalvera::Section", "%1 км, %2, %3 %4")
                  .arg(QString::number(index),
                       QString::fromStdString(ColumnText(sample.layers, sample.top, heightKm)),
                       QString::fromStdString(DegMinText(sample.at.lat)),
                       QString::fromStdString(DegMinText(sample.at.lon))));
}

std::string HistoryReadout(const std::vector<HistoryRow>& rows, double hours, double heightKm) {
    if (!(heightKm >= 0.0)) return {};
    const std::vector<std::optional<double>> times = RowHours(rows);
    const double half = TermStepHours(times) / 2;
    size_t index = rows.size();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (times[i] && std::fabs(*times[i] - hours) <= half &&
            (index == rows.size() ||
             std::fabs(*times[i] - hours) < std::fabs(*times[index] - hours)))
            index = i;
    }
    if (index == rows.size()) return {};
    return Tr(QCoreApplication::translate("kalvera::Section", "Срок %1, %2")
                  .arg(QString::fromStdString(rows[index].term),
                       QString::fromStdString(
                           ColumnText(rows[index].layers, rows[index].top, heightKm))));
}

}  // namespace kalvera
