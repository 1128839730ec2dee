#include "products/section.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "geo/map_projection.h"
#include "geo/radar_grid.h"

namespace kalvera {

namespace {

constexpr double kPieceKm = 0.05;

// Walks the line in pieces of about kPieceKm and calls visit(t, km) at every
// whole kilometre of ground distance along it (t = 0 at `from`, 1 at `to`);
// returns the line's length, at most kMaxSectionKm.
template <typename Visit>
double WalkLine(GeoPoint from, GeoPoint to, Visit visit) {
    if (!std::isfinite(from.lat) || !std::isfinite(from.lon) || !std::isfinite(to.lat) ||
        !std::isfinite(to.lon)) {
        return 0.0;
    }
    const double dLat = static_cast<double>(to.lat) - from.lat;
    // Across the antimeridian the short way, not round the globe.
    const double dLon = static_cast<double>(LonNear(to.lon, from.lon)) - from.lon;
    const double chord =
        std::min(GroundDistanceKm(from.lat, from.lon, to.lat, to.lon), kMaxSectionKm);
    const int pieces = std::max(1, static_cast<int>(std::ceil(chord / kPieceKm)));
    double walked = 0.0, next = 0.0;
    double lat = from.lat, lon = from.lon;
    for (int k = 1; k <= pieces && walked <= kMaxSectionKm; ++k) {
        const double t = static_cast<double>(k) / pieces;
        const double nextLat = from.lat + t * dLat, nextLon = from.lon + t * dLon;
        const double piece = GroundDistanceKm(lat, lon, nextLat, nextLon);
        while (next <= walked + piece && next <= kMaxSectionKm) {
            const double share = piece > 0.0 ? (next - walked) / piece : 0.0;
            visit((k - 1 + share) / pieces, next);
            next += kSectionStepKm;
        }
        walked += piece;
        lat = nextLat;
        lon = nextLon;
    }
    return std::min(walked, kMaxSectionKm);
}

}  // namespace

double SectionLengthKm(GeoPoint from, GeoPoint to) {
    return WalkLine(from, to, [](double, double) {});
}

std::vector<SectionSample> SectionPoints(GeoPoint from, GeoPoint to, double& lengthKm) {
    std::vector<SectionSample> samples;
    const double east = static_cast<double>(LonNear(to.lon, from.lon)) - from.lon;
    lengthKm = WalkLine(from, to, [&](double t, double km) {
        SectionSample& sample = samples.emplace_back();
        sample.distanceKm = km;
        sample.at.lat = static_cast<float>(from.lat + t * (static_cast<double>(to.lat) - from.lat));
        sample.at.lon = static_cast<float>(LonInRange(from.lon + t * east));
    });
    return samples;
}

std::vector<SectionSample> SectionPoints(GeoPoint from, GeoPoint to) {
    double lengthKm = 0.0;
    return SectionPoints(from, to, lengthKm);
}

void FillSection(const TermLayers& term, std::vector<SectionSample>& samples) {
    for (SectionSample& sample : samples) {
        ColumnAndTopsAt(term, sample.at.lat, sample.at.lon, sample.layers, sample.top);
    }
}

SectionEnd SeenFromSite(GeoPoint at, float siteLat, float siteLon) {
    SectionEnd end;
    end.at = at;
    MapProjection::Init(1.0f, 1.0f, siteLon, siteLat, kRadarGridHalfExtentKm)
        .RangeAzimuth(at.lat, at.lon, end.azimuthDeg, end.rangeKm);
    return end;
}

namespace {

std::string OptionalField(const std::optional<int32_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

}  // namespace

bool LoadSection(DisplayState& state, GeoPoint from, GeoPoint to, Section& out,
                 const LayerDecoder& decode) {
    TermLayers term;
    if (!LoadTermLayers(state, ColumnAndTopsCodes(), IndexOffsets(state), term, decode)) {
        return false;
    }
    out.site = state.siteCode;
    out.day = state.dayName;
    out.term = state.termText;
    out.from = SeenFromSite(from, state.siteLat, state.siteLon);
    out.to = SeenFromSite(to, state.siteLat, state.siteLon);
    out.samples = SectionPoints(from, to, out.lengthKm);
    FillSection(term, out.samples);
    return true;
}

std::string SectionSubject(const Section& section) {
    const auto point = [](const SectionEnd& end) {
        return CoordinateText(end.at.lat) + ',' + CoordinateText(end.at.lon);
    };
    std::string lines = "product: vertical section\n";
    lines += "site: " + section.site + "\nday: " + section.day + "\nterm: " + section.term + '\n';
    lines += "from: " + point(section.from) + "\nto: " + point(section.to) + '\n';
    lines += "layers: 1-10 as v1-v10 (reflectivity, 2 x dBZ), 21 as top (echo tops, m)\n";
    return lines;
}

std::string CsvComments(const std::string& lines) {
    std::string comments;
    size_t start = 0;
    while (start < lines.size()) {
        const size_t end = std::min(lines.find('\n', start), lines.size());
        comments += "# " + lines.substr(start, end - start) + '\n';
        start = end + 1;
    }
    return comments;
}

std::string SectionCsv(const Section& section) {
    std::string csv = CsvComments(SectionSubject(section)) + "distance_km,lat,lon";
    for (int n = kFirstHeightLayer; n <= kLastHeightLayer; ++n) csv += ",v" + std::to_string(n);
    csv += ",top\n";
    for (const SectionSample& sample : section.samples) {
        csv += std::to_string(std::lround(sample.distanceKm)) + ',' +
               CoordinateText(sample.at.lat) + ',' + CoordinateText(sample.at.lon);
        for (const auto& value : sample.layers) csv += ',' + OptionalField(value);
        csv += ',' + OptionalField(sample.top) + '\n';
    }
    return csv;
}

std::string CoordinateText(float degrees) {
    char text[64];
    for (int decimals = 6; decimals <= 12; ++decimals) {
        const auto written = std::to_chars(text, text + sizeof text, static_cast<double>(degrees),
                                           std::chars_format::fixed, decimals);
        float back = 0.0f;
        std::from_chars(text, written.ptr, back);
        if (back == degrees || decimals == 12) return std::string(text, written.ptr);
    }
    return std::string();
}

}  // namespace kalvera
