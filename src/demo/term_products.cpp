#include "demo/term_products.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "bufr/bufr_writer.h"
#include "common/date_time.h"
#include "geo/map_projection.h"

namespace kalvera::demo {

namespace {

// Fixed-layout class values: class c stands for value 2c, so every even
// value up to 126 has a class; stronger cells travel as 8-bit single cells.
constexpr int kClassCount = 63;
constexpr int kMaxClassValue = 2 * kClassCount;
// The generic reflectivity element is widened to 8 bits (2 01 129) so that
// values above 63 fit beside the -64 reference.
constexpr int kWideReflectivityY = 129;
constexpr int kGenericReflectivityReference = -64;

// Both products carry the term's date and time in the same fields.
template <typename Product>
void StampTerm(Product& p, double dateTime) {
    const CivilDate date = DecodeDate(dateTime);
    const CivilTime time = DecodeTime(dateTime);
    p.year = static_cast<uint16_t>(date.year);
    p.month = static_cast<uint8_t>(date.month);
    p.day = static_cast<uint8_t>(date.day);
    p.hour = static_cast<uint8_t>(time.hour);
    p.minute = static_cast<uint8_t>(time.minute);
}

// Half extents of the site's square in degrees, as the viewer computes them.
void HalfExtentDeg(const DemoSite& site, double& dLat, double& dLon) {
    dLat = kGridHalfExtentKm * 180.0 * kLatDegPerKmFactor;
    dLon = 180.0 * kGridHalfExtentKm / (std::cos(site.lat * kPi / 180.0) * kHalfEquatorKm);
}

int32_t ReflectivityValue(float dbz) {
    if (dbz < kMinDetectableDbz) return 0;
    auto v = static_cast<int32_t>(2.0f * std::round(dbz));
    return std::clamp(v, 0, kMaxReflectivityValue);
}

int RunLength(const Grid& g, int from, int end) {
    int n = 1;
    while (from + n < end && g[from + n] == g[from]) ++n;
    return n;
}

// One row of the fixed-layout image: runs where values repeat, single cells
// where they change quickly or have no class.
bufr::FixedRow FixedRowOf(const Grid& values, int row) {
    bufr::FixedRow out;
    out.rowNumber = static_cast<uint16_t>(row);
    out.segments.emplace_back();
    const int begin = row * kGridSide, end = begin + kGridSide;
    for (int p = begin; p < end;) {
        const int32_t v = values[p];
        const int n = RunLength(values, p, end);
        bufr::FixedSegment* seg = &out.segments.back();
        if (n >= 3 && v <= kMaxClassValue) {
            // Runs come before singles within a segment.
            if (!seg->singles.empty() || seg->runs.size() == 255) {
                out.segments.emplace_back();
                seg = &out.segments.back();
            }
            seg->runs.push_back({static_cast<uint16_t>(n), static_cast<uint8_t>(v / 2)});
        } else {
            for (int k = 0; k < n; ++k) {
                if (seg->singles.size() == 255) {
                    out.segments.emplace_back();
                    seg = &out.segments.back();
                }
                seg->singles.push_back(static_cast<uint8_t>(v));
            }
        }
        p += n;
    }
    return out;
}

std::vector<uint8_t> FixedReflectivity(const DemoSite& site, const Grid& values, int layer,
                                       double dateTime) {
    bufr::FixedProduct p;
    int code = 0;
    std::from_chars(site.code.data(), site.code.data() + site.code.size(), code);
    p.blockNumber = static_cast<uint8_t>(code / 1000);
    p.stationNumber = static_cast<uint16_t>(code % 1000);
    StampTerm(p, dateTime);
    double dLat, dLon;
    HalfExtentDeg(site, dLat, dLon);
    // Corners north-west, north-east, south-east, south-west.
    const auto north = static_cast<int32_t>(std::lround((site.lat + dLat) * 100.0));
    const auto south = static_cast<int32_t>(std::lround((site.lat - dLat) * 100.0));
    const auto west = static_cast<int32_t>(std::lround((site.lon - dLon) * 100.0));
    const auto east = static_cast<int32_t>(std::lround((site.lon + dLon) * 100.0));
    p.cornerLat = {north, north, south, south};
    p.cornerLon = {west, east, east, west};
    p.pictureType = 2;  // CAPPI
    p.heightRaw = static_cast<uint32_t>(layer * 1000 + 1000);
    p.firstReflectivity = 2;
    for (int c = 1; c <= kClassCount; ++c) p.classValues.push_back(static_cast<uint8_t>(2 * c));
    for (int row = 0; row < kGridSide; ++row) p.rows.push_back(FixedRowOf(values, row));
    return bufr::writeFixedMessage(p);
}

// Groups of one run and the changing values after it, until the next run
// worth its 16-bit length.
std::vector<bufr::GenericGroup> GenericGroupsOf(const Grid& raw) {
    std::vector<bufr::GenericGroup> groups;
    for (int p = 0; p < kGridCells;) {
        bufr::GenericGroup g;
        const int n = RunLength(raw, p, kGridCells);
        g.runLength = static_cast<uint16_t>(std::min(n, 65535));
        g.runValue = static_cast<uint32_t>(raw[p]);
        p += g.runLength;
        while (p < kGridCells && RunLength(raw, p, kGridCells) < 4 && g.singles.size() < 65535) {
            g.singles.push_back(static_cast<uint32_t>(raw[p]));
            ++p;
        }
        groups.push_back(std::move(g));
    }
    return groups;
}

std::vector<uint8_t> GenericMessage(const DemoSite& site, const Grid& raw, int layerCode,
                                    double dateTime) {
    bufr::GenericProduct p;
    p.shortName = site.code;
    StampTerm(p, dateTime);
    p.latitudeRaw = static_cast<uint16_t>(std::lround(site.lat * 100.0) + 9000);
    p.longitudeRaw = static_cast<uint16_t>(std::lround(site.lon * 100.0) + 18000);
    if (layerCode == kLayerEchoTops) {
        p.imageElement = {0, 21, 21};
        p.valueWidth = 4;
    } else if (layerCode == kLayerWeather) {
        p.imageElement = {0, 21, 22};
        p.valueWidth = 5;
    } else {
        p.imageElement = {0, 21, 1};
        p.widthOperatorY = kWideReflectivityY;
        p.valueWidth = 8;
    }
    p.groups = GenericGroupsOf(raw);
    return bufr::writeGenericMessage(p);
}

}  // namespace

// Nine-bit values, where the generic decoder reads all ones (511) as the
// grid's no-data value; the network's own 7- and 8-bit images use every
// value. Nine bits keep a term of noisy real data within the decoder's
// message size.
TermMessage EncodeImportedLayer(const DemoSite& site, const Grid& values, int layerCode,
                                double dateTime) {
    constexpr int32_t kImportedNoData = 65535;
    constexpr int32_t kMissingRaw = 511;
    bufr::GenericProduct p;
    p.shortName = site.code;
    StampTerm(p, dateTime);
    p.latitudeRaw = static_cast<uint16_t>(std::lround(site.lat * 100.0) + 9000);
    p.longitudeRaw = static_cast<uint16_t>(std::lround(site.lon * 100.0) + 18000);
    p.valueWidth = 9;
    // Raw value of a cell's archive value.
    std::function<int32_t(int32_t)> raw;
    if (layerCode == kLayerEchoTops) {
        p.imageElement = {0, 21, 21};
        p.widthOperatorY = 128 + 5;
        p.scaleOperatorY = 128 + 1;  // hundreds of metres
        raw = [](int32_t metres) {
            return static_cast<int32_t>(std::lround(std::max(metres, 0) / 100.0));
        };
    } else if (layerCode == kLayerWeather) {
        p.imageElement = {0, 21, 22};
        p.widthOperatorY = 128 + 4;
        raw = [](int32_t code) { return std::max(code, 0); };
    } else {
        p.imageElement = {0, 21, 1};
        p.widthOperatorY = 128 + 2;
        const int reference = site.code == kNoReferenceSite ? 0 : kGenericReflectivityReference;
        raw = [reference](int32_t v) { return std::max(v, 0) - reference; };
    }
    Grid coded;
    for (int k = 0; k < kGridCells; ++k) {
        coded[k] =
            values[k] == kImportedNoData ? kMissingRaw : std::min(raw(values[k]), kMissingRaw - 1);
    }
    p.groups = GenericGroupsOf(coded);
    return {layerCode, bufr::writeGenericMessage(p)};
}

void CellCentres(const DemoSite& site, std::vector<double>& lats, std::vector<double>& lons) {
    double dLat, dLon;
    HalfExtentDeg(site, dLat, dLon);
    lats.resize(kGridSide);
    lons.resize(kGridSide);
    for (int k = 0; k < kGridSide; ++k) {
        lats[k] = site.lat - dLat + (k + 0.5) * 2.0 * dLat / kGridSide;
        lons[k] = site.lon - dLon + (k + 0.5) * 2.0 * dLon / kGridSide;
    }
}

TermGrids SampleTerm(const DemoSite& site, const WeatherScene& scene) {
    std::vector<double> lats, lons;
    CellCentres(site, lats, lons);
    WeatherScene local = scene;
    local.restrictTo(lats.front() - 0.1, lats.back() + 0.1, lons.front() - 0.2, lons.back() + 0.2);

    TermGrids out;
    for (int i = 0; i < kGridSide; ++i) {
        for (int j = 0; j < kGridSide; ++j) {
            const int cell = i * kGridSide + j;
            const Column col = local.sample(lats[i], lons[j]);
            for (int layer = kFirstHeightLayer; layer <= kLastHeightLayer; ++layer) {
                // A layer from N to N + 1 km is seen at its middle.
                const float h = static_cast<float>(layer) + 0.5f;
                out.reflectivity[layer][cell] = ReflectivityValue(ReflectivityAt(col, h));
            }
            const auto topKm = static_cast<int32_t>(std::floor(EchoTopKm(col)));
            out.echoTopsM[cell] = std::min(topKm, 15) * 1000;
            out.phenomena[cell] = PhenomenonCode(col);
        }
    }
    return out;
}

std::vector<TermMessage> EncodeTerm(const DemoSite& site, const TermGrids& grids, double dateTime) {
    std::vector<TermMessage> out;
    const int reference = site.code == kNoReferenceSite ? 0 : kGenericReflectivityReference;
    for (int layer = kFirstHeightLayer; layer <= kLastHeightLayer; ++layer) {
        const Grid& values = grids.reflectivity[layer];
        if (site.fixedLayout) {
            out.push_back({layer, FixedReflectivity(site, values, layer, dateTime)});
            continue;
        }
        Grid raw;
        for (int k = 0; k < kGridCells; ++k) raw[k] = values[k] - reference;
        out.push_back({layer, GenericMessage(site, raw, layer, dateTime)});
    }
    Grid tops;
    for (int k = 0; k < kGridCells; ++k) tops[k] = grids.echoTopsM[k] / 1000;
    out.push_back({kLayerEchoTops, GenericMessage(site, tops, kLayerEchoTops, dateTime)});
    out.push_back({kLayerWeather, GenericMessage(site, grids.phenomena, kLayerWeather, dateTime)});
    return out;
}

}  // namespace kalvera::demo
