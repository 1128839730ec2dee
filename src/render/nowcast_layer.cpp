#include "render/nowcast_layer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geo/map_projection.h"
#include "nowcast/extrapolation.h"
#include "render/mosaic_picture.h"

namespace kalvera {

namespace {

constexpr uint32_t kForecastMarkColor = 0xFF00FF;  // magenta: no palette entry uses it
constexpr uint32_t kTrackColor = kBlack;
constexpr uint32_t kForecastTrackColor = 0xFF00FF;
constexpr int kSymbolRadius = 6;
constexpr int kTickHalf = 3;

uint32_t OutlineColour(int leadMinutes) {
    switch (leadMinutes) {
        case 10:
            return 0x000080;  // dark red
        case 20:
            return 0x0060FF;  // orange
        default:
            return 0x800080;  // purple
    }
}

CanvasPoint PixelOf(const Viewport& viewport, LatLon place) {
    return {viewport.X(static_cast<float>(place.lon)), viewport.Y(static_cast<float>(place.lat))};
}

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

std::string ForecastLabel(int leadMinutes) {
    return QCoreApplication::translate("kalvera::Nowcast", "+%1 мин")
        .arg(leadMinutes)
        .toStdString();
}

std::string LowSkillText() {
    return QCoreApplication::translate("kalvera::Nowcast", "низкая надёжность").toStdString();
}

std::string ForecastFrameText(const std::string& baseTerm, int leadMinutes) {
    std::string text = baseTerm + ' ' + ForecastLabel(leadMinutes);
    if (IsLowSkillLead(leadMinutes)) text += ", " + LowSkillText();
    return text;
}

RadarPicture ForecastPicture(const GridValues& forecast) {
    RadarPicture picture;
    const size_t n = std::min(forecast.values.size(), picture.values.size());
    std::copy_n(forecast.values.begin(), n, picture.values.begin());
    return picture;
}

void DrawForecastMark(Canvas& canvas, const Viewport& viewport, const std::string& baseTerm,
                      int leadMinutes) {
    const int inset = 2;
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setPenColor(kForecastMarkColor);
    canvas.setPenWidth(4);
    canvas.rectangle(viewport.left + inset, viewport.top + inset, viewport.right() - inset,
                     viewport.bottom() - inset);
    std::string banner = QCoreApplication::translate("kalvera::Nowcast", "ПРОГНОЗ %1 от %2")
                             .arg(QString::fromStdString(ForecastLabel(leadMinutes)),
                                  QString::fromStdString(baseTerm))
                             .toStdString();
    if (IsLowSkillLead(leadMinutes)) banner += ", " + LowSkillText();
    canvas.setFontSize(10.0);
    canvas.setFontColor(kWhite);
    canvas.setBrushColor(kForecastMarkColor);
    canvas.textOut(viewport.left + 8, viewport.top + 8, banner);
    // The key of the cells the extrapolation cannot fill, drawn as the
    // composite draws the cells no site covers.
    const int keyTop = viewport.top + 30;
    canvas.setPenWidth(1);
    canvas.setPenColor(kBlack);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(kNoDataFill);
    canvas.rectangle(viewport.left + 8, keyTop, viewport.left + 22, keyTop + 12);
    canvas.setFontColor(kBlack);
    canvas.setFontSize(8.0);
    canvas.setBrushColor(kWhite);
    canvas.textOut(viewport.left + 26, keyTop - 1,
                   QCoreApplication::translate("kalvera::DataAge", "нет данных").toStdString());
    canvas.setFontColor(kBlack);
    canvas.setFontSize(8.0);
    canvas.setBrushColor(kWhite);
    canvas.setPenWidth(1);
    canvas.setPenColor(kBlack);
}

void DrawThresholdOutlines(Canvas& canvas, const Viewport& viewport,
                           const std::vector<ThresholdOutline>& outlines, int32_t threshold) {
    int keyY = viewport.bottom() - 8 - 14 * static_cast<int>(outlines.size() + 1);
    canvas.setBrushColor(kWhite);
    canvas.textOut(viewport.left + 8, keyY,
                   QCoreApplication::translate("kalvera::Nowcast", "макс. отражаемость ≥ %1 dBZ")
                       .arg(QString::fromStdString(Fixed(threshold / 2.0, 0)))
                       .toStdString());
    keyY += 14;
    for (const ThresholdOutline& outline : outlines) {
        if (!outline.forecast) continue;
        const GridValues& g = *outline.forecast;
        const int rows = g.grid.rows(), columns = g.grid.columns();
        if (g.values.size() != static_cast<size_t>(rows) * static_cast<size_t>(columns)) continue;
        const CellEdges edges = g.grid.EdgesOn(viewport);
        const auto in = [&](int i, int j) {
            if (i < 0 || j < 0 || i >= rows || j >= columns) return false;
            const int32_t v = g.values[static_cast<size_t>(i) * columns + j];
            return v != kOutsideGrid && v >= threshold;
        };
        canvas.setPenColor(OutlineColour(outline.leadMinutes));
        canvas.setPenWidth(2);
        const auto segment = [&](int x0, int y0, int x1, int y1) {
            canvas.moveTo(x0, y0);
            canvas.lineTo(x1, y1);
        };
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < columns; ++j) {
                if (!in(i, j)) continue;
                const int xw = edges.x[static_cast<size_t>(j)],
                          xe = edges.x[static_cast<size_t>(j) + 1];
                const int ys = edges.y[static_cast<size_t>(i)],
                          yn = edges.y[static_cast<size_t>(i) + 1];
                if (!in(i, j - 1)) segment(xw, ys, xw, yn);
                if (!in(i, j + 1)) segment(xe, ys, xe, yn);
                if (!in(i - 1, j)) segment(xw, ys, xe, ys);
                if (!in(i + 1, j)) segment(xw, yn, xe, yn);
            }
        }
        segment(viewport.left + 8, keyY + 6, viewport.left + 28, keyY + 6);
        canvas.setBrushColor(kWhite);
        canvas.textOut(viewport.left + 32, keyY, ForecastLabel(outline.leadMinutes));
        keyY += 14;
    }
    canvas.setPenWidth(1);
    canvas.setPenColor(kBlack);
}

void DrawStormCells(Canvas& canvas, const Viewport& viewport, const RadarGrid& grid,
                    const std::vector<StormCell>& cells, int chosen) {
    canvas.setBrushStyle(BrushStyle::Clear);
    for (const StormCell& cell : cells) {
        const CanvasPoint at = PixelOf(viewport, cell.centroid);
        std::vector<CanvasPoint> past;
        for (const TrackPoint& p : cell.track)
            past.push_back(PixelOf(viewport, PlaceOf(grid, p.at)));
        canvas.setPenColor(kTrackColor);
        canvas.setPenWidth(2);
        if (past.size() > 1) canvas.polyline(past);
        for (const CanvasPoint& p : past) canvas.rectangle(p.x - 1, p.y - 1, p.x + 2, p.y + 2);
        // The forecast track, a tick across it at every ten minutes.
        // Nothing is drawn ahead of a cell whose motion is not known.
        CanvasPoint from = at;
        for (size_t k = 0; k < (cell.moving() ? cell.forecast.size() : 0); ++k) {
            const int lead = static_cast<int>(k + 1) * kLeadStepMinutes;
            const CanvasPoint to = PixelOf(viewport, cell.forecast[k]);
            canvas.setPenColor(kForecastTrackColor);
            canvas.setPenWidth(IsLowSkillLead(lead) ? 1 : 2);
            canvas.moveTo(from.x, from.y);
            canvas.lineTo(to.x, to.y);
            const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
            if (len > 0.5) {
                const int tx = static_cast<int>(std::lround(-dy / len * kTickHalf));
                const int ty = static_cast<int>(std::lround(dx / len * kTickHalf));
                canvas.moveTo(to.x - tx, to.y - ty);
                canvas.lineTo(to.x + tx, to.y + ty);
            }
            from = to;
        }
        canvas.setPenColor(kBlack);
        canvas.setPenWidth(2);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.ellipse(at.x - kSymbolRadius, at.y - kSymbolRadius, at.x + kSymbolRadius + 1,
                       at.y + kSymbolRadius + 1);
        if (cell.id == chosen) {
            const int r = kSymbolRadius * 2;
            canvas.setPenColor(kForecastMarkColor);
            canvas.setPenWidth(3);
            canvas.ellipse(at.x - r, at.y - r, at.x + r + 1, at.y + r + 1);
            canvas.setPenColor(kBlack);
            canvas.setPenWidth(2);
        }
        canvas.textOut(at.x + kSymbolRadius + 2, at.y - kSymbolRadius - 8, std::to_string(cell.id));
    }
    canvas.setPenWidth(1);
    canvas.setBrushColor(kWhite);
}

std::optional<size_t> StormCellUnder(const std::vector<StormCell>& cells, const RadarGrid& grid,
                                     const Viewport& viewport, int x, int y) {
    const GridCell under = grid.CellUnder(viewport, x, y);
    for (size_t c = 0; c < cells.size(); ++c) {
        const CanvasPoint at = PixelOf(viewport, cells[c].centroid);
        if (std::abs(at.x - x) <= kSymbolRadius + 2 && std::abs(at.y - y) <= kSymbolRadius + 2) {
            return c;
        }
        if (under.valid()) {
            const auto& m = cells[c].region.members;
            if (std::binary_search(m.begin(), m.end(), grid.IndexOf(under))) return c;
        }
    }
    return std::nullopt;
}

std::string StormCellMotionText(const StormCell& cell) {
    if (!cell.moving()) {
        return QCoreApplication::translate("kalvera::Nowcast", "движение: —").toStdString();
    }
    std::string text = QCoreApplication::translate("kalvera::Nowcast", "%1 км/ч, курс %2°")
                           .arg(QString::fromStdString(Fixed(cell.speedKmh, 0)),
                                QString::fromStdString(Fixed(cell.headingDeg, 0)))
                           .toStdString();
    if (cell.motion == CellMotion::FieldYoung) {
        text += ' ' +
                QCoreApplication::translate("kalvera::Nowcast", "(по полю движения: новая ячейка)")
                    .toStdString();
    } else if (cell.motion == CellMotion::FieldOverTrack) {
        text += ' ' + QCoreApplication::translate("kalvera::Nowcast",
                                                  "(по полю движения: путь центра не движение)")
                          .toStdString();
    }
    return text;
}

std::string StormCellFigures(const StormCell& cell) {
    std::string text =
        QCoreApplication::translate("kalvera::Nowcast", "Ячейка %1").arg(cell.id).toStdString() +
        '\n' +
        // The readout's notation, degrees and minutes.
        QCoreApplication::translate("kalvera::Nowcast", "%1, %2")
            .arg(QString::fromStdString(DegMinText(static_cast<float>(cell.centroid.lat))),
                 QString::fromStdString(DegMinText(static_cast<float>(cell.centroid.lon))))
            .toStdString() +
        '\n' +
        QCoreApplication::translate("kalvera::Nowcast", "площадь %1 км²")
            .arg(QString::fromStdString(Fixed(cell.areaKm2, 0)))
            .toStdString() +
        '\n' +
        QCoreApplication::translate("kalvera::Nowcast", "макс. %1 дБZ")
            .arg(QString::fromStdString(Fixed(cell.maxDbz, 1)))
            .toStdString();
    if (cell.topM)
        text += '\n' + QCoreApplication::translate("kalvera::Nowcast", "верхняя граница %1 м")
                           .arg(*cell.topM)
                           .toStdString();
    if (cell.vilMax) {
        text += '\n' + QCoreApplication::translate("kalvera::Nowcast", "VIL макс. %1 кг/м²")
                           .arg(QString::fromStdString(Fixed(*cell.vilMax, 1)))
                           .toStdString();
    }
    text += '\n' + StormCellMotionText(cell);
    if (!cell.mergedFrom.empty()) {
        std::string ids;
        for (const int id : cell.mergedFrom) ids += (ids.empty() ? "" : ", ") + std::to_string(id);
        text += '\n' + QCoreApplication::translate("kalvera::Nowcast", "слились: %1")
                           .arg(QString::fromStdString(ids))
                           .toStdString();
    }
    if (cell.splitFrom != 0)
        text += '\n' + QCoreApplication::translate("kalvera::Nowcast", "отделилась от %1")
                           .arg(cell.splitFrom)
                           .toStdString();
    return text;
}

}  // namespace kalvera
