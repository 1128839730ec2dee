#pragma once
// A vertical section of a term along a line: the values of layers 1..10 and
// of the echo tops at every kilometre of it.
//
// The line is the one the map draws between its ends: straight in latitude
// and longitude, as the map projection is. Samples lie at 0, 1, 2 ... km of
// ground distance along it, the first at its start; the end is a sample only
// when the length is whole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geo/map_resources.h"
#include "products/derived_products.h"
#include "products/term_layers.h"

namespace kalvera {

struct SectionSample {
    double distanceKm = 0.0;
    GeoPoint at;
    CellColumn layers;           // index N - 1; empty where the term lacks layer N
    std::optional<int32_t> top;  // echo tops, m
};

constexpr double kSectionStepKm = 1.0;
// Half the earth's circumference: no line on the map need be longer.
constexpr double kMaxSectionKm = 20040.0;

// An end of the line, with its azimuth (degrees) and range (km) from the site.
struct SectionEnd {
    GeoPoint at;
    float azimuthDeg = 0.0f;
    float rangeKm = 0.0f;
};

// A point with its azimuth and range from the site at (siteLat, siteLon).
SectionEnd SeenFromSite(GeoPoint at, float siteLat, float siteLon);

struct Section {
    std::string site;  // the site's code
    std::string day;   // YYMMDD
    std::string term;
    double lengthKm = 0.0;
    SectionEnd from, to;
    std::vector<SectionSample> samples;
};

// Decodes layers 1..10 and the echo tops of state.termText and samples the
// line through them. `state` changes as after any decode. False when none of
// the layers decodes.
bool LoadSection(DisplayState& state, GeoPoint from, GeoPoint to, Section& out,
                 const LayerDecoder& decode = DecodeArchiveMessage);

// What a section is of, as lines "key: value": the product, site, day,
// term, the line's ends and what its columns hold. Its CSV opens with them
// and its picture carries them, so a saved file says what it is.
std::string SectionSubject(const Section& section);

// The section as CSV: the subject as comment lines, a header row
// "distance_km,lat,lon,v1,...,v10,top" and a row per sample; a layer the term
// lacks is an empty field.
std::string SectionCsv(const Section& section);

// Each line of `lines` as a CSV comment line, "# " before it. The program's
// own readers of these files skip lines that begin with '#'.
std::string CsvComments(const std::string& lines);

// Ground length of the line in km (at most kMaxSectionKm); 0 for ends that
// are not numbers.
double SectionLengthKm(GeoPoint from, GeoPoint to);

// The sample points, without values; the second form also gives the line's
// length (SectionLengthKm) from the same walk along it.
std::vector<SectionSample> SectionPoints(GeoPoint from, GeoPoint to);
std::vector<SectionSample> SectionPoints(GeoPoint from, GeoPoint to, double& lengthKm);

// Reads every sample's values from the term's layers, as a reading of each
// layer's picture there gives them.
void FillSection(const TermLayers& term, std::vector<SectionSample>& samples);

// A coordinate with at least six decimals and as many more as it takes to
// read back as the same number, so that a reading at the written point hits
// the sampled cell.
std::string CoordinateText(float degrees);

}  // namespace kalvera
