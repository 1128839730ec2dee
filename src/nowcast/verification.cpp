#include "nowcast/verification.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "nowcast/extrapolation.h"
#include "nowcast/motion_field.h"

namespace kalvera {

namespace {

double Ratio(int64_t part, int64_t whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole)
                     : std::numeric_limits<double>::quiet_NaN();
}

// A term observed within two minutes of the wanted time; -1 when none is.
int TermAt(const std::vector<VerifyTerm>& terms, double minutes) {
    for (size_t k = 0; k < terms.size(); ++k) {
        if (std::fabs(terms[k].minutes - minutes) <= 2.0) return static_cast<int>(k);
    }
    return -1;
}

std::string Score3(double v) {
    if (std::isnan(v)) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

}  // namespace

double Contingency::pod() const {
    return Ratio(hits, hits + misses);
}
double Contingency::far() const {
    return Ratio(falseAlarms, hits + falseAlarms);
}
double Contingency::csi() const {
    return Ratio(hits, hits + misses + falseAlarms);
}

Contingency& Contingency::operator+=(const Contingency& other) {
    hits += other.hits;
    misses += other.misses;
    falseAlarms += other.falseAlarms;
    return *this;
}

Contingency Score(const GridValues& forecast, const GridValues& observed, int32_t threshold,
                  const GridValues* domain) {
    Contingency table;
    const size_t n = observed.values.size();
    if (forecast.values.size() != n || (domain && domain->values.size() != n)) return table;
    for (size_t k = 0; k < n; ++k) {
        const int32_t f = forecast.values[k], o = observed.values[k];
        if (f == kOutsideGrid || o == kOutsideGrid) continue;
        if (domain && domain->values[k] == kOutsideGrid) continue;
        const bool yes = f >= threshold, seen = o >= threshold;
        if (yes && seen)
            ++table.hits;
        else if (seen)
            ++table.misses;
        else if (yes)
            ++table.falseAlarms;
    }
    return table;
}

double Fractions::fss() const {
    if (!(reference > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    return 1.0 - squaredDifference / reference;
}

Fractions& Fractions::operator+=(const Fractions& other) {
    squaredDifference += other.squaredDifference;
    reference += other.reference;
    return *this;
}

Fractions FractionsScore(const GridValues& forecast, const GridValues& observed, int32_t threshold,
                         const GridValues* domain, int window) {
    Fractions score;
    const int rows = observed.grid.rows(), columns = observed.grid.columns();
    const size_t n = observed.values.size();
    if (forecast.values.size() != n || (domain && domain->values.size() != n) ||
        n != static_cast<size_t>(rows) * static_cast<size_t>(columns) || window < 1) {
        return score;
    }
    // Summed-area tables of the covered cells and of those at or above the
    // threshold in each field, a row and a column of zeros in front.
    const size_t stride = static_cast<size_t>(columns) + 1;
    std::vector<int32_t> covered(stride * (static_cast<size_t>(rows) + 1), 0);
    std::vector<int32_t> fYes(covered.size(), 0), oYes(covered.size(), 0);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            const size_t k = static_cast<size_t>(i) * columns + j;
            const int32_t f = forecast.values[k], o = observed.values[k];
            const bool in = f != kOutsideGrid && o != kOutsideGrid &&
                            (!domain || domain->values[k] != kOutsideGrid);
            const size_t at = (static_cast<size_t>(i) + 1) * stride + static_cast<size_t>(j) + 1;
            const auto sum = [&](std::vector<int32_t>& t, bool v) {
                t[at] = (v ? 1 : 0) + t[at - 1] + t[at - stride] - t[at - stride - 1];
            };
            sum(covered, in);
            sum(fYes, in && f >= threshold);
            sum(oYes, in && o >= threshold);
        }
    }
    const int half = window / 2;
    const auto box = [&](const std::vector<int32_t>& t, int i0, int j0, int i1, int j1) {
        const auto at = [&](int i, int j) {
            return t[static_cast<size_t>(i) * stride + static_cast<size_t>(j)];
        };
        return at(i1, j1) - at(i0, j1) - at(i1, j0) + at(i0, j0);
    };
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            const size_t k = static_cast<size_t>(i) * columns + j;
            if (forecast.values[k] == kOutsideGrid || observed.values[k] == kOutsideGrid ||
                (domain && domain->values[k] == kOutsideGrid)) {
                continue;
            }
            const int i0 = std::max(0, i - half), j0 = std::max(0, j - half);
            const int i1 = std::min(rows, i + half + 1), j1 = std::min(columns, j + half + 1);
            const double cells = box(covered, i0, j0, i1, j1);
            const double pf = box(fYes, i0, j0, i1, j1) / cells;
            const double po = box(oYes, i0, j0, i1, j1) / cells;
            score.squaredDifference += (pf - po) * (pf - po);
            score.reference += pf * pf + po * po;
        }
    }
    return score;
}

std::vector<VerifyRow> VerifyDay(const std::vector<VerifyTerm>& terms, int32_t threshold,
                                 int layerCode) {
    const std::vector<int> leads = NowcastLeads();
    std::vector<Contingency> extrapolation(leads.size()), persistence(leads.size());
    std::vector<Fractions> extrapolationFss(leads.size()), persistenceFss(leads.size());
    MotionPairCache pairs;
    for (size_t base = 3; base < terms.size(); ++base) {
        if (terms[base].minutes < 0.0) continue;
        std::vector<int> observedAt(leads.size());
        bool any = false;
        for (size_t l = 0; l < leads.size(); ++l) {
            observedAt[l] = TermAt(terms, terms[base].minutes + leads[l]);
            any = any || observedAt[l] >= 0;
        }
        if (!any) continue;
        const TimedGrid recent[] = {{&terms[base - 2].values, terms[base - 2].minutes},
                                    {&terms[base - 1].values, terms[base - 1].minutes},
                                    {&terms[base].values, terms[base].minutes}};
        const MotionField motion = EstimateMotion(recent, MotionOptions{}, pairs);
        // Only cells some observation of these leads covers are scored: on a
        // composite, most of the grid is seldom any site's.
        const size_t cells = terms[base].values.values.size();
        std::vector<uint8_t> scored(cells, 0);
        for (const int at : observedAt) {
            if (at < 0) continue;
            const std::vector<int32_t>& seen = terms[static_cast<size_t>(at)].values.values;
            if (seen.size() != cells) continue;
            for (size_t k = 0; k < cells; ++k) {
                if (seen[k] != kOutsideGrid) scored[k] = 1;
            }
        }
        const std::vector<GridValues> forecasts =
            Extrapolate(terms[base].values, motion, leads, AdvectionOf(layerCode), scored);
        for (size_t l = 0; l < forecasts.size(); ++l) {
            if (observedAt[l] < 0) continue;
            const GridValues& seen = terms[static_cast<size_t>(observedAt[l])].values;
            extrapolation[l] += Score(forecasts[l], seen, threshold);
            persistence[l] += Score(terms[base].values, seen, threshold, &forecasts[l]);
            extrapolationFss[l] += FractionsScore(forecasts[l], seen, threshold);
            persistenceFss[l] += FractionsScore(terms[base].values, seen, threshold, &forecasts[l]);
        }
    }
    std::vector<VerifyRow> rows;
    for (size_t l = 0; l < leads.size(); ++l) {
        rows.push_back({leads[l], "extrapolation", extrapolation[l], extrapolationFss[l]});
        rows.push_back({leads[l], "persistence", persistence[l], persistenceFss[l]});
    }
    return rows;
}

std::string VerifyCsv(const std::vector<VerifyRow>& rows) {
    std::string csv = "lead_min,method,hits,misses,false_alarms,pod,far,csi,fss\n";
    for (const VerifyRow& row : rows) {
        const Contingency& t = row.table;
        csv += std::to_string(row.leadMinutes) + ',' + row.method + ',' + std::to_string(t.hits) +
               ',' + std::to_string(t.misses) + ',' + std::to_string(t.falseAlarms) + ',' +
               Score3(t.pod()) + ',' + Score3(t.far()) + ',' + Score3(t.csi()) + ',' +
               Score3(row.fractions.fss()) + '\n';
    }
    return csv;
}

}  // namespace kalvera
