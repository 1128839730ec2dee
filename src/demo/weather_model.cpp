#include "demo/weather_model.h"

#include <algorithm>
#include <cmath>

#include "common/domain_constants.h"
#include "demo/demo_sites.h"
#include "geo/geodesy.h"

namespace kalvera::demo {

namespace {

// Middle of the demo region; the scene is a plane in km around it.
constexpr double kOriginLat = 56.5;
constexpr double kOriginLon = 40.0;
// Fronts enter this far behind the origin and leave as far beyond it, far
// enough that a band never shows in a site's square while it jumps back.
constexpr double kFrontReachKm = 1300.0;
constexpr double kEpisodeDays = 2.5;
constexpr double kBinDays = 10.0 / 1440.0;  // cells are born in 10-minute batches
constexpr double kMaxLifeDays = 120.0 / 1440.0;
constexpr double kSpawnHalfExtentKm = 1000.0;
constexpr int kFrontCellsPerBin = 10;
constexpr int kAirMassCellsPerBin = 12;
// The lingering low circles the default site at this distance, its rain
// shield never more than this far beyond its centre, so the shield always
// covers the site's square in part.
constexpr double kLowOrbitKm = 60.0;
constexpr double kLowOrbitDays = 1.7;
constexpr double kLowRadiusMinKm = 80.0;
constexpr double kLowRadiusMaxKm = 120.0;
// Rain elements move through the shield from the west-south-west.
constexpr double kLowDriftKmPerDay = 700.0;
constexpr double kLowDriftAzimuthDeg = 70.0;
// The fronts' textures take salts 4 x episode and one above; the low's never
// meets them.
constexpr int kLowTextureSalt = -8;

uint64_t Mix(uint64_t z) {
    z += 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// A uniform number in [0, 1) drawn from the seed and up to three keys.
double Uniform(uint32_t seed, int64_t a, int64_t b = 0, int64_t c = 0) {
    uint64_t h =
        Mix(static_cast<uint64_t>(seed) ^
            Mix(static_cast<uint64_t>(a) * 0xD6E8FEB86659FD93ULL ^
                Mix(static_cast<uint64_t>(b) * 0xA0761D6478BD642FULL ^ static_cast<uint64_t>(c))));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

// Smooth value noise in [0, 1] with a cell size of one unit.
double ValueNoise(uint32_t seed, int salt, double x, double y) {
    double fx = std::floor(x), fy = std::floor(y);
    auto ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    double v00 = Uniform(seed, ix, iy, salt), v10 = Uniform(seed, ix + 1, iy, salt);
    double v01 = Uniform(seed, ix, iy + 1, salt), v11 = Uniform(seed, ix + 1, iy + 1, salt);
    return Lerp(Lerp(v00, v10, tx), Lerp(v01, v11, tx), ty);
}

double Texture(uint32_t seed, int salt, double x, double y) {
    return 0.65 * ValueNoise(seed, salt, x / 70.0, y / 70.0) +
           0.35 * ValueNoise(seed, salt + 1, x / 25.0, y / 25.0);
}

struct Episode {
    int index = 0;
    double start = 0.0;             // date-time the front enters
    double dirX = 0.0, dirY = 0.0;  // unit vector of the steering wind
    double speedKmPerDay = 0.0;     // of the steering wind
    bool squallLine = false;
    float bandPeakDbz = 30.0f;
    double bandWidthKm = 200.0;
};

Episode EpisodeAt(uint32_t seed, double t) {
    double phase = Uniform(seed, 11) * kEpisodeDays;
    Episode e;
    e.index = static_cast<int>(std::floor((t + phase) / kEpisodeDays));
    e.start = e.index * kEpisodeDays - phase;
    // Weather in these latitudes comes mostly from the south-west to the west.
    double fromAz = 200.0 + 90.0 * Uniform(seed, 12, e.index);
    double toAz = (fromAz + 180.0) * kPi / 180.0;
    e.dirX = std::sin(toAz);
    e.dirY = std::cos(toAz);
    e.speedKmPerDay = (8.0 + 8.0 * Uniform(seed, 13, e.index)) * 86.4;
    e.squallLine = Uniform(seed, 14, e.index) < 0.4;
    e.bandPeakDbz = static_cast<float>(30.0 + 12.0 * Uniform(seed, 15, e.index));
    e.bandWidthKm = 150.0 + 150.0 * Uniform(seed, 16, e.index);
    return e;
}

double FrontPosKm(const Episode& e, double t) {
    return -kFrontReachKm + 2.0 * kFrontReachKm * (t - e.start) / kEpisodeDays;
}

// Afternoon maximum of air-mass convection, none at night. Terms are GMT;
// the sun keeps the region's own time, by its longitude.
double DiurnalFactor(double t) {
    const double solar = t + kOriginLon / 360.0;
    double hour = (solar - std::floor(solar)) * 24.0;
    double c = std::cos(2.0 * kPi * (hour - 15.5) / 24.0);
    return c > 0.0 ? std::pow(c, 3.0) : 0.0;
}

struct Spawn {
    int64_t id = 0;
    double x = 0.0, y = 0.0, birth = 0.0, lifeDays = 0.0;
    double vx = 0.0, vy = 0.0;  // km per day
    float peakDbz = 0.0f, radiusKm = 0.0f, topKm = 0.0f;
    bool squall = false;
};

bool FrontSpawn(uint32_t seed, int64_t bin, int k, Spawn& s) {
    s.id = bin * 64 + k;
    double birth = bin * kBinDays + kBinDays * Uniform(seed, 20, bin, k);
    Episode e = EpisodeAt(seed, birth);
    double along = FrontPosKm(e, birth) + Lerp(-20.0, 60.0, Uniform(seed, 21, bin, k));
    double across = Lerp(-kSpawnHalfExtentKm, kSpawnHalfExtentKm, Uniform(seed, 22, bin, k));
    s.x = along * e.dirX + across * e.dirY;
    s.y = along * e.dirY - across * e.dirX;
    if (std::abs(s.x) > kSpawnHalfExtentKm * 1.2 || std::abs(s.y) > kSpawnHalfExtentKm)
        return false;
    s.birth = birth;
    s.lifeDays = (40.0 + 70.0 * Uniform(seed, 23, bin, k)) / 1440.0;
    double peak = 42.0 + 18.0 * Uniform(seed, 24, bin, k);
    if (Uniform(seed, 25, bin, k) < 0.12) peak = 60.0 + 8.0 * Uniform(seed, 26, bin, k);  // hail
    s.peakDbz = static_cast<float>(peak);
    s.radiusKm = static_cast<float>(8.0 + 8.0 * Uniform(seed, 27, bin, k));
    s.topKm = static_cast<float>(
        std::min(14.5, 6.0 + (peak - 40.0) * 0.28 + 2.0 * Uniform(seed, 28, bin, k)));
    s.squall = e.squallLine && Uniform(seed, 29, bin, k) < 0.6;
    double veer = (Uniform(seed, 30, bin, k) - 0.5) * 0.5;
    s.vx = e.speedKmPerDay * (e.dirX * std::cos(veer) + e.dirY * std::sin(veer));
    s.vy = e.speedKmPerDay * (e.dirY * std::cos(veer) - e.dirX * std::sin(veer));
    return true;
}

bool AirMassSpawn(uint32_t seed, int64_t bin, int k, Spawn& s) {
    s.id = bin * 64 + 32 + k;
    double birth = bin * kBinDays + kBinDays * Uniform(seed, 40, bin, k);
    auto day = static_cast<int64_t>(std::floor(birth));
    double regime = 0.25 + 0.75 * Uniform(seed, 41, day);
    if (Uniform(seed, 42, bin, k) >= DiurnalFactor(birth) * regime) return false;
    Episode e = EpisodeAt(seed, birth);
    s.x = Lerp(-kSpawnHalfExtentKm, kSpawnHalfExtentKm, Uniform(seed, 43, bin, k));
    s.y = Lerp(-kSpawnHalfExtentKm, kSpawnHalfExtentKm, Uniform(seed, 44, bin, k));
    s.birth = birth;
    s.lifeDays = (30.0 + 50.0 * Uniform(seed, 45, bin, k)) / 1440.0;
    double peak = 28.0 + 26.0 * Uniform(seed, 46, bin, k) * (0.5 + 0.5 * regime);
    s.peakDbz = static_cast<float>(peak);
    s.radiusKm = static_cast<float>(6.0 + 7.0 * Uniform(seed, 47, bin, k));
    s.topKm = static_cast<float>(3.5 + (peak - 25.0) * 0.25 + 1.5 * Uniform(seed, 48, bin, k));
    s.vx = e.speedKmPerDay * 0.8 * e.dirX;
    s.vy = e.speedKmPerDay * 0.8 * e.dirY;
    return true;
}

// A cell grows to its peak and decays; outside its life it does not exist.
bool CellAt(const Spawn& s, double t, ConvectiveCell& cell) {
    double age = t - s.birth;
    if (age < 0.0 || age > s.lifeDays) return false;
    double f = std::sin(kPi * age / s.lifeDays);
    cell.id = s.id;
    cell.x = s.x + s.vx * age;
    cell.y = s.y + s.vy * age;
    cell.coreDbz = static_cast<float>(12.0 + (s.peakDbz - 12.0) * std::pow(f, 0.6));
    cell.radiusKm = static_cast<float>(s.radiusKm * (0.5 + 0.5 * f));
    cell.topKm = static_cast<float>(2.5 + (s.topKm - 2.5) * std::pow(f, 0.7));
    cell.squall = s.squall;
    return true;
}

}  // namespace

void ToSceneKm(double lat, double lon, double& x, double& y) {
    x = (lon - kOriginLon) * KmPerDegreeLonAt(kOriginLat);
    y = (lat - kOriginLat) * kKmPerDegreeLat;
}

WeatherScene WeatherModel::at(double t) const {
    WeatherScene scene;
    scene.seed_ = seed_;
    Episode e = EpisodeAt(seed_, t);
    scene.episode_ = e.index;
    scene.windX_ = e.dirX;
    scene.windY_ = e.dirY;
    scene.frontPos_ = FrontPosKm(e, t);
    scene.bandWidthKm_ = e.bandWidthKm;
    scene.bandPeakDbz_ = e.bandPeakDbz;
    // The rain texture drifts with the band so that it keeps its shape
    // from one term to the next.
    scene.driftX_ = scene.frontPos_ * e.dirX;
    scene.driftY_ = scene.frontPos_ * e.dirY;

    // The low circles the default site slowly; its size and strength wander
    // over hours, and its rain texture moves through it with the wind.
    double siteX = 0.0, siteY = 0.0;
    ToSceneKm(DefaultDemoSite().lat, DefaultDemoSite().lon, siteX, siteY);
    const double turn = 2.0 * kPi * (t / kLowOrbitDays + Uniform(seed_, 60));
    scene.lowX_ = siteX + kLowOrbitKm * std::cos(turn);
    scene.lowY_ = siteY + kLowOrbitKm * std::sin(turn);
    scene.lowRadiusKm_ =
        Lerp(kLowRadiusMinKm, kLowRadiusMaxKm, ValueNoise(seed_, 61, t / 0.5, 0.0));
    scene.lowPeakDbz_ = static_cast<float>(26.0 + 12.0 * ValueNoise(seed_, 62, t / 0.3, 0.0));
    const double azimuth = kLowDriftAzimuthDeg * kPi / 180.0;
    scene.lowDriftX_ = kLowDriftKmPerDay * t * std::sin(azimuth);
    scene.lowDriftY_ = kLowDriftKmPerDay * t * std::cos(azimuth);

    auto first = static_cast<int64_t>(std::floor((t - kMaxLifeDays) / kBinDays)) - 1;
    auto last = static_cast<int64_t>(std::floor(t / kBinDays));
    for (int64_t bin = first; bin <= last; ++bin) {
        Spawn s;
        ConvectiveCell cell;
        for (int k = 0; k < kFrontCellsPerBin; ++k) {
            if (FrontSpawn(seed_, bin, k, s) && CellAt(s, t, cell)) scene.cells_.push_back(cell);
        }
        for (int k = 0; k < kAirMassCellsPerBin; ++k) {
            if (AirMassSpawn(seed_, bin, k, s) && CellAt(s, t, cell)) scene.cells_.push_back(cell);
        }
    }
    return scene;
}

void WeatherScene::restrictTo(double latMin, double latMax, double lonMin, double lonMax) {
    double x0, y0, x1, y1;
    ToSceneKm(latMin, lonMin, x0, y0);
    ToSceneKm(latMax, lonMax, x1, y1);
    nearby_.clear();
    for (const ConvectiveCell& c : cells_) {
        double reach = c.radiusKm * 2.0;
        if (c.x + reach >= x0 && c.x - reach <= x1 && c.y + reach >= y0 && c.y - reach <= y1) {
            nearby_.push_back(c);
        }
    }
    restricted_ = true;
}

Column WeatherScene::sample(double lat, double lon) const {
    Column col;
    double x, y;
    ToSceneKm(lat, lon, x, y);

    double behind = frontPos_ - (x * windX_ + y * windY_);
    double tex = Texture(seed_, episode_ * 4, x - driftX_, y - driftY_);
    if (behind >= 0.0 && behind <= bandWidthKm_) {
        double p = std::pow(std::sin(kPi * behind / bandWidthKm_), 0.8);
        float dbz = static_cast<float>(bandPeakDbz_ * p * (0.45 + 0.7 * tex));
        if (dbz >= kMinDetectableDbz) {
            col.stratDbz = dbz;
            col.stratTopKm = static_cast<float>(3.0 + 3.2 * p * (0.4 + 0.6 * tex));
        }
    } else if (behind < 0.0 && behind > -220.0) {
        // The cloud deck ahead of the front: echo aloft that evaporates
        // before it reaches the ground.
        float dbz = static_cast<float>((8.0 + 14.0 * (1.0 + behind / 220.0)) * (0.6 + 0.6 * tex));
        if (dbz >= kMinDetectableDbz) col.aloftDbz = dbz;
    }

    // The shield's edge is ragged, and its rain comes in patches; both move
    // through the lingering shield with the wind, so its shape keeps changing.
    const double fromLowX = x - lowX_, fromLowY = y - lowY_;
    const double reach =
        lowRadiusKm_ * (0.55 + 0.9 * ValueNoise(seed_, kLowTextureSalt - 2, (x - lowDriftX_) / 45.0,
                                                (y - lowDriftY_) / 45.0));
    const double lowR2 = (fromLowX * fromLowX + fromLowY * fromLowY) / (reach * reach);
    if (lowR2 < 1.0) {
        const double p = 1.0 - lowR2;
        const double lowTex = Texture(seed_, kLowTextureSalt, x - lowDriftX_, y - lowDriftY_);
        const auto dbz = static_cast<float>(lowPeakDbz_ * std::sqrt(p) * (0.2 + 1.2 * lowTex));
        if (dbz >= kMinDetectableDbz && dbz > col.stratDbz) {
            col.stratDbz = dbz;
            col.stratTopKm = static_cast<float>(3.0 + 3.2 * p * (0.4 + 0.6 * lowTex));
        }
    }

    const std::vector<ConvectiveCell>& cells = restricted_ ? nearby_ : cells_;
    for (const ConvectiveCell& c : cells) {
        double dx = x - c.x, dy = y - c.y;
        double r2 = (dx * dx + dy * dy) / (static_cast<double>(c.radiusKm) * c.radiusKm);
        if (r2 > 2.5) continue;
        auto dbz = static_cast<float>(c.coreDbz - 25.0 * r2);
        if (dbz < kMinDetectableDbz || dbz <= col.convDbz) continue;
        col.convDbz = dbz;
        col.convTopKm = static_cast<float>(std::max(2.0, c.topKm * (1.0 - 0.3 * r2)));
        col.squall = c.squall;
    }
    return col;
}

// Echo fades to this at its top; a weak echo never grows with height.
float TopDbz(float base) {
    return std::min(base, 10.0f);
}

float ReflectivityAt(const Column& col, float h) {
    float z = -99.0f;
    if (col.stratTopKm > 0.0f && h < col.stratTopKm) {
        float s = col.stratDbz;
        if (h > 2.5f) s -= (h - 2.5f) * (col.stratDbz - TopDbz(s)) / (col.stratTopKm - 2.5f);
        z = std::max(z, s);
    }
    if (col.aloftDbz > -99.0f && h >= 2.5f && h < 6.0f) z = std::max(z, col.aloftDbz);
    if (col.convTopKm > 0.0f && h < col.convTopKm) {
        float h0 = 0.35f * col.convTopKm;
        float c = col.convDbz;
        if (h > h0) c -= (h - h0) * (col.convDbz - TopDbz(c)) / (col.convTopKm - h0);
        z = std::max(z, c);
    }
    return z;
}

float EchoTopKm(const Column& col) {
    float top = std::max(col.stratTopKm, col.convTopKm);
    if (col.aloftDbz > -99.0f) top = std::max(top, 6.0f);
    return top;
}

int PhenomenonCode(const Column& col) {
    if (col.convTopKm > 0.0f && col.convDbz >= col.stratDbz) {
        float z = col.convDbz, top = col.convTopKm;
        if (col.squall && z >= 45.0f)
            return z >= 64.0f ? 19 : z >= 58.0f ? 18 : z >= 52.0f ? 17 : 16;
        if (z >= 55.0f && top >= 9.5f) return z >= 63.0f ? 15 : z >= 59.0f ? 14 : 13;
        if (z >= 42.0f && top >= 7.5f) return top >= 10.5f ? 12 : top >= 9.0f ? 11 : 10;
        if (z >= 18.0f) return z >= 40.0f ? 9 : z >= 30.0f ? 8 : 7;
        return 6;
    }
    if (col.stratTopKm > 0.0f) {
        float z = col.stratDbz;
        return z >= 35.0f ? 5 : z >= 25.0f ? 4 : z >= 15.0f ? 3 : 2;
    }
    return col.aloftDbz > -99.0f ? 1 : 0;
}

}  // namespace kalvera::demo
