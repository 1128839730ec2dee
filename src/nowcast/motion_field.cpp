#include "nowcast/motion_field.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>

namespace kalvera {

namespace {

// Echo strength on 0..255 against the stronger of the two grids, so that the
// flow sees the same contrast whatever the layer's units. Cells without echo
// or outside the data are 0.
cv::Mat Intensity(const GridValues& grid, int32_t floor, int32_t top) {
    cv::Mat image(grid.grid.rows(), grid.grid.columns(), CV_8UC1);
    const double scale = top > floor ? 255.0 / static_cast<double>(top - floor) : 0.0;
    for (int i = 0; i < image.rows; ++i) {
        auto* row = image.ptr<uint8_t>(i);
        for (int j = 0; j < image.cols; ++j) {
            const int32_t v = grid.values[static_cast<size_t>(i) * image.cols + j];
            const bool echo = v > floor && v != kOutsideGrid;
            row[j] = echo ? cv::saturate_cast<uint8_t>((v - floor) * scale) : 0;
        }
    }
    return image;
}

// How many cells of the grid, each way, make one of a site's: the flow's
// window and pyramid are set for a site's cells, so a finer grid (the
// composite) is gathered into cells of that size first, which also keeps its
// cost to that of the area rather than of its cell count.
int FlowFactor(const RadarGrid& grid) {
    constexpr double kSiteCellKm = 2.0 * kGridHalfExtentKm / kGridSide;
    const double cellKm = GridScale::Of(grid).dyKm;
    if (!(cellKm > 0.0)) return 1;
    return std::max(1, static_cast<int>(std::lround(kSiteCellKm / cellKm)));
}

struct PairFlow {
    cv::Mat flow;    // CV_32FC2, cells per minute
    cv::Mat weight;  // CV_32F, where the pair has echo
};

int32_t EchoTop(const GridValues& a, const GridValues& b, int32_t floor, int& echoA, int& echoB) {
    int32_t top = floor;
    echoA = echoB = 0;
    for (size_t k = 0; k < a.values.size(); ++k) {
        const int32_t va = a.values[k], vb = b.values[k];
        if (va > floor && va != kOutsideGrid) ++echoA, top = std::max(top, va);
        if (vb > floor && vb != kOutsideGrid) ++echoB, top = std::max(top, vb);
    }
    return top;
}

bool FlowPair(const TimedGrid& older, const TimedGrid& newer, const MotionOptions& options,
              PairFlow& out) {
    const double gap = newer.minutes - older.minutes;
    if (!(gap > 0.0) || gap > options.maxGapMinutes) return false;
    const RadarGrid& g = newer.grid->grid;
    if (older.grid->grid.rows() != g.rows() || older.grid->grid.columns() != g.columns()) {
        return false;
    }
    int echoOld = 0, echoNew = 0;
    const int32_t top = EchoTop(*older.grid, *newer.grid, options.echoFloor, echoOld, echoNew);
    if (echoOld < options.minEchoCells || echoNew < options.minEchoCells) return false;
    cv::Mat before = Intensity(*older.grid, options.echoFloor, top);
    cv::Mat after = Intensity(*newer.grid, options.echoFloor, top);
    // 4-km cells and 10-minute terms: storms move up to about four cells a
    // term, which three pyramid levels over an 11-cell window follow, while
    // the window still tells neighbouring storms apart.
    cv::Mat flow;
    const int factor = FlowFactor(g);
    if (factor > 1 && before.rows >= factor && before.cols >= factor) {
        cv::Mat coarseBefore, coarseAfter;
        const double shrink = 1.0 / factor;
        cv::resize(before, coarseBefore, cv::Size(), shrink, shrink, cv::INTER_AREA);
        cv::resize(after, coarseAfter, cv::Size(), shrink, shrink, cv::INTER_AREA);
        cv::Mat coarse;
        cv::calcOpticalFlowFarneback(coarseBefore, coarseAfter, coarse, 0.5, 3, 11, 5, 5, 1.1,
                                     cv::OPTFLOW_FARNEBACK_GAUSSIAN);
        cv::resize(coarse, flow, before.size(), 0.0, 0.0, cv::INTER_LINEAR);
        flow *= static_cast<double>(factor);
    } else {
        cv::calcOpticalFlowFarneback(before, after, flow, 0.5, 3, 11, 5, 5, 1.1,
                                     cv::OPTFLOW_FARNEBACK_GAUSSIAN);
    }
    out.flow = flow / gap;
    cv::Mat echo = cv::max(before, after);
    echo.convertTo(out.weight, CV_32F, 1.0 / 255.0);
    return true;
}

// Normalised convolution: the flow where echo is, smoothed over the scale of
// a storm, and the echoes' mean motion where there is none.
MotionField Spread(const cv::Mat& flow, const cv::Mat& weight) {
    std::vector<cv::Mat> parts;
    cv::split(flow, parts);
    const double total = cv::sum(weight)[0];
    MotionField field;
    field.rows = flow.rows;
    field.columns = flow.cols;
    if (!(total > 0.0)) return MotionField::Still(flow.rows, flow.cols);
    constexpr double kSigmaCells = 5.0;
    constexpr double kMeanWeight = 0.02;
    cv::Mat smoothWeight;
    cv::GaussianBlur(weight, smoothWeight, cv::Size(), kSigmaCells, kSigmaCells,
                     cv::BORDER_REPLICATE);
    std::vector<float>* targets[2] = {&field.east, &field.north};
    for (int c = 0; c < 2; ++c) {
        cv::Mat weighted = parts[static_cast<size_t>(c)].mul(weight);
        const double mean = cv::sum(weighted)[0] / total;
        cv::Mat smooth;
        cv::GaussianBlur(weighted, smooth, cv::Size(), kSigmaCells, kSigmaCells,
                         cv::BORDER_REPLICATE);
        cv::Mat result = (smooth + kMeanWeight * mean) / (smoothWeight + kMeanWeight);
        targets[c]->assign(result.begin<float>(), result.end<float>());
    }
    return field;
}

}  // namespace

struct MotionPairCache::Pairs {
    struct Entry {
        const GridValues* older = nullptr;
        const GridValues* newer = nullptr;
        double olderMinutes = 0.0;
        double newerMinutes = 0.0;
        bool flowed = false;
        PairFlow flow;
    };
    // A base term reads two pairs; the next one shares the newer of them.
    static constexpr size_t kKept = 4;
    std::vector<Entry> entries;

    bool flow(const TimedGrid& older, const TimedGrid& newer, const MotionOptions& options,
              PairFlow& out) {
        for (const Entry& e : entries) {
            if (e.older == older.grid && e.newer == newer.grid && e.olderMinutes == older.minutes &&
                e.newerMinutes == newer.minutes) {
                out = e.flow;
                return e.flowed;
            }
        }
        Entry e{older.grid, newer.grid, older.minutes, newer.minutes, false, {}};
        e.flowed = FlowPair(older, newer, options, e.flow);
        out = e.flow;
        if (entries.size() == kKept) entries.erase(entries.begin());
        entries.push_back(std::move(e));
        return entries.back().flowed;
    }
};

MotionPairCache::MotionPairCache() : pairs_(std::make_unique<Pairs>()) {}
MotionPairCache::~MotionPairCache() = default;

namespace {

MotionField Estimate(std::span<const TimedGrid> terms, const MotionOptions& options,
                     MotionPairCache* cache) {
    const size_t first = terms.size() > 3 ? terms.size() - 3 : 0;
    cv::Mat flowSum, weightSum;
    double pairWeight = 1.0;
    for (size_t k = first + 1; k < terms.size(); ++k, pairWeight *= 2.0) {
        PairFlow pair;
        const bool flowed = cache ? cache->pairs().flow(terms[k - 1], terms[k], options, pair)
                                  : FlowPair(terms[k - 1], terms[k], options, pair);
        if (!flowed) continue;
        cv::Mat w = pair.weight * pairWeight;
        std::vector<cv::Mat> parts;
        cv::split(pair.flow, parts);
        for (auto& p : parts) p = p.mul(w);
        cv::Mat weighted;
        cv::merge(parts, weighted);
        if (flowSum.empty()) {
            flowSum = weighted;
            weightSum = w;
        } else {
            flowSum += weighted;
            weightSum += w;
        }
    }
    const RadarGrid& g = terms.back().grid->grid;
    if (flowSum.empty()) return MotionField::Still(g.rows(), g.columns());
    // Back from sums to a weighted mean flow, with the summed weight kept
    // for the spreading.
    std::vector<cv::Mat> parts;
    cv::split(flowSum, parts);
    cv::Mat safe = cv::max(weightSum, 1e-6);
    for (auto& p : parts) p = p / safe;
    cv::Mat flow;
    cv::merge(parts, flow);
    return Spread(flow, weightSum);
}

}  // namespace

MotionField MotionField::Still(int rows, int columns) {
    MotionField field;
    field.rows = rows;
    field.columns = columns;
    return field;
}

void MotionField::at(double row, double column, double& eastward, double& northward) const {
    eastward = northward = 0.0;
    if (still() || rows <= 0 || columns <= 0) return;
    const double r = std::clamp(row, 0.0, static_cast<double>(rows - 1));
    const double c = std::clamp(column, 0.0, static_cast<double>(columns - 1));
    const int r0 = std::min(static_cast<int>(r), rows - 1),
              c0 = std::min(static_cast<int>(c), columns - 1);
    const int r1 = std::min(r0 + 1, rows - 1), c1 = std::min(c0 + 1, columns - 1);
    const double fr = r - r0, fc = c - c0;
    const auto mix = [&](const std::vector<float>& v) {
        const auto cell = [&](int i, int j) {
            return static_cast<double>(v[static_cast<size_t>(i) * columns + j]);
        };
        return (1 - fr) * ((1 - fc) * cell(r0, c0) + fc * cell(r0, c1)) +
               fr * ((1 - fc) * cell(r1, c0) + fc * cell(r1, c1));
    };
    eastward = mix(east);
    northward = mix(north);
}

static MotionField EstimateMotionWith(std::span<const TimedGrid> terms,
                                      const MotionOptions& options, MotionPairCache* cache);

MotionField EstimateMotion(std::span<const TimedGrid> terms, const MotionOptions& options) {
    return EstimateMotionWith(terms, options, nullptr);
}

MotionField EstimateMotion(std::span<const TimedGrid> terms, const MotionOptions& options,
                           MotionPairCache& cache) {
    return EstimateMotionWith(terms, options, &cache);
}

static MotionField EstimateMotionWith(std::span<const TimedGrid> terms,
                                      const MotionOptions& options, MotionPairCache* cache) {
    if (terms.empty() || !terms.back().grid) return {};
    for (const TimedGrid& t : terms) {
        if (!t.grid || t.grid->values.size() != static_cast<size_t>(t.grid->grid.rows()) *
                                                    static_cast<size_t>(t.grid->grid.columns())) {
            return MotionField::Still(terms.back().grid->grid.rows(),
                                      terms.back().grid->grid.columns());
        }
    }
    try {
        return Estimate(terms, options, cache);
    } catch (const cv::Exception&) {
        // The library refuses odd sizes (a grid of one row); no motion is
        // the honest answer then.
        return MotionField::Still(terms.back().grid->grid.rows(),
                                  terms.back().grid->grid.columns());
    }
}

void SpeedAndHeading(const GridScale& scale, double eastCellsPerMin, double northCellsPerMin,
                     double& speedKmh, double& headingDeg) {
    const double eastKmh = eastCellsPerMin * scale.dxKm * 60.0;
    const double northKmh = northCellsPerMin * scale.dyKm * 60.0;
    speedKmh = std::hypot(eastKmh, northKmh);
    headingDeg = speedKmh > 0.0
                     ? std::fmod(std::atan2(eastKmh, northKmh) * 180.0 / kPi + 360.0, 360.0)
                     : 0.0;
}

}  // namespace kalvera
