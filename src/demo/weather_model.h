#pragma once
// A seeded, deterministic weather scene for the demo archive: a frontal band
// of stratiform rain that sweeps the region with the steering wind, and
// convective cells that are born along the front and, in the afternoon, in
// the warm air mass, drift with the wind, grow and decay. A slow low lingers
// over the site the viewer opens first, so that its rain shield greets a
// newcomer at any hour.
//
// The scene is a pure function of the seed and the time, so any term can be
// produced on its own, in any order, and a live run continues the history.

#include <cstdint>
#include <vector>

namespace kalvera::demo {

// What the radar sees above one point.
struct Column {
    float stratDbz = -99.0f;  // stratiform reflectivity near the ground
    float stratTopKm = 0.0f;  // top of the stratiform echo (0: none)
    float aloftDbz = -99.0f;  // echo aloft ahead of the front, with no rain below
    float convDbz = -99.0f;   // convective core reflectivity at this point
    float convTopKm = 0.0f;   // top of the convective echo (0: none)
    bool squall = false;      // the convective echo belongs to a squall line
};

// Reflectivity in dBZ at a height, from the column; below the detection
// threshold the result is under kMinDetectableDbz.
float ReflectivityAt(const Column& column, float heightKm);
// Height in km above which nothing is detected (0 when there is no echo).
float EchoTopKm(const Column& column);
// Meteorological phenomenon code 0..19 consistent with the column.
int PhenomenonCode(const Column& column);

constexpr float kMinDetectableDbz = 8.0f;

struct ConvectiveCell {
    int64_t id = 0;           // the same cell keeps its id from term to term
    double x = 0.0, y = 0.0;  // current centre, km east / north of the scene origin
    float coreDbz = 0.0f;
    float radiusKm = 0.0f;
    float topKm = 0.0f;
    bool squall = false;
};

// The state of the scene at one moment, ready to be sampled at many points.
class WeatherScene {
  public:
    // Samples the column above a point (degrees).
    Column sample(double lat, double lon) const;

    // Lets the scene drop cells that cannot reach a box (degrees), so that
    // sampling a site's grid looks at its nearby cells only.
    void restrictTo(double latMin, double latMax, double lonMin, double lonMax);

    const std::vector<ConvectiveCell>& cells() const { return cells_; }

  private:
    friend class WeatherModel;
    uint32_t seed_ = 0;
    double windX_ = 0.0, windY_ = 0.0;  // unit vector the front moves along
    double frontPos_ = 0.0;             // km along the wind from the origin
    double bandWidthKm_ = 200.0;
    float bandPeakDbz_ = 30.0f;
    double driftX_ = 0.0, driftY_ = 0.0;  // km the rain texture has drifted
    int episode_ = 0;
    // The rain shield of the low that lingers over the default site.
    double lowX_ = 0.0, lowY_ = 0.0;
    double lowRadiusKm_ = 80.0;
    float lowPeakDbz_ = 30.0f;
    double lowDriftX_ = 0.0, lowDriftY_ = 0.0;  // km its rain texture has drifted
    std::vector<ConvectiveCell> cells_;
    std::vector<ConvectiveCell> nearby_;
    bool restricted_ = false;
};

class WeatherModel {
  public:
    explicit WeatherModel(uint32_t seed) : seed_(seed) {}
    // The scene at a date-time value (days since 1899-12-30, GMT).
    WeatherScene at(double dateTime) const;

  private:
    uint32_t seed_;
};

// Degrees to scene kilometres and back; the scene is a local plane around the
// middle of the demo region.
void ToSceneKm(double lat, double lon, double& x, double& y);

}  // namespace kalvera::demo
