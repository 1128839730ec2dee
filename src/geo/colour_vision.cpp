#include "geo/colour_vision.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvera {

namespace {

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>;

// Machado et al. 2009, severity 1.0, on linear RGB.
constexpr Mat3 kProtanopia = {{{0.152286, 1.052583, -0.204868},
                               {0.114503, 0.786281, 0.099216},
                               {-0.003882, -0.048116, 1.051998}}};
constexpr Mat3 kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                 {0.280085, 0.672501, 0.047413},
                                 {-0.011820, 0.042940, 0.968881}}};
constexpr Mat3 kTritanopia = {{{1.255528, -0.076749, -0.178779},
                               {-0.078411, 0.930809, 0.147602},
                               {0.004733, 0.691367, 0.303900}}};

double ToLinear(uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

uint8_t FromLinear(double linear) {
    const double c = std::clamp(linear, 0.0, 1.0);
    const double s = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(s * 255.0));
}

Vec3 Times(const Mat3& m, const Vec3& v) {
    Vec3 out{};
    for (size_t i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

Vec3 LinearOf(Rgba c) {
    return {ToLinear(c.r), ToLinear(c.g), ToLinear(c.b)};
}

// CIE L*a*b* (D65) of an sRGB colour.
Vec3 LabOf(Rgba c) {
    constexpr Mat3 kToXyz = {{{0.4124564, 0.3575761, 0.1804375},
                              {0.2126729, 0.7151522, 0.0721750},
                              {0.0193339, 0.1191920, 0.9503041}}};
    constexpr Vec3 kWhitePoint = {0.95047, 1.0, 1.08883};
    const Vec3 xyz = Times(kToXyz, LinearOf(c));
    const auto f = [](double t) {
        constexpr double e = 216.0 / 24389.0, k = 24389.0 / 27.0;
        return t > e ? std::cbrt(t) : (k * t + 16.0) / 116.0;
    };
    const double fx = f(xyz[0] / kWhitePoint[0]);
    const double fy = f(xyz[1] / kWhitePoint[1]);
    const double fz = f(xyz[2] / kWhitePoint[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double Degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}
double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Sharma, Wu and Dalal's formulation, with kL = kC = kH = 1.
double DeltaE2000(const Vec3& lab1, const Vec3& lab2) {
    const double c1 = std::hypot(lab1[1], lab1[2]);
    const double c2 = std::hypot(lab2[1], lab2[2]);
    const double cMean7 = std::pow((c1 + c2) / 2.0, 7.0);
    const double g = 0.5 * (1.0 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7.0))));
    const double a1 = (1.0 + g) * lab1[1];
    const double a2 = (1.0 + g) * lab2[1];
    const double cp1 = std::hypot(a1, lab1[2]);
    const double cp2 = std::hypot(a2, lab2[2]);
    const auto hue = [](double b, double a) {
        if (a == 0.0 && b == 0.0) return 0.0;
        const double h = Degrees(std::atan2(b, a));
        return h < 0.0 ? h + 360.0 : h;
    };
    const double h1 = hue(lab1[2], a1);
    const double h2 = hue(lab2[2], a2);
    const double dL = lab2[0] - lab1[0];
    const double dC = cp2 - cp1;
    double dh = 0.0;
    if (cp1 * cp2 != 0.0) {
        dh = h2 - h1;
        if (dh > 180.0) dh -= 360.0;
        if (dh < -180.0) dh += 360.0;
    }
    const double dH = 2.0 * std::sqrt(cp1 * cp2) * std::sin(Radians(dh / 2.0));
    const double lMean = (lab1[0] + lab2[0]) / 2.0;
    const double cpMean = (cp1 + cp2) / 2.0;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0.0) {
        if (std::abs(h1 - h2) <= 180.0) {
            hMean /= 2.0;
        } else {
            hMean = (h1 + h2 < 360.0) ? (h1 + h2 + 360.0) / 2.0 : (h1 + h2 - 360.0) / 2.0;
        }
    }
    const double t =
        1.0 - 0.17 * std::cos(Radians(hMean - 30.0)) + 0.24 * std::cos(Radians(2.0 * hMean)) +
        0.32 * std::cos(Radians(3.0 * hMean + 6.0)) - 0.20 * std::cos(Radians(4.0 * hMean - 63.0));
    const double dTheta = 30.0 * std::exp(-std::pow((hMean - 275.0) / 25.0, 2.0));
    const double cpMean7 = std::pow(cpMean, 7.0);
    const double rc = 2.0 * std::sqrt(cpMean7 / (cpMean7 + std::pow(25.0, 7.0)));
    const double lShift = (lMean - 50.0) * (lMean - 50.0);
    const double sl = 1.0 + 0.015 * lShift / std::sqrt(20.0 + lShift);
    const double sc = 1.0 + 0.045 * cpMean;
    const double sh = 1.0 + 0.015 * cpMean * t;
    const double rt = -std::sin(Radians(2.0 * dTheta)) * rc;
    const double l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

}  // namespace

const char* VisionName(Vision vision) {
    switch (vision) {
        case Vision::Deuteranopia:
            return "deuteranopia";
        case Vision::Protanopia:
            return "protanopia";
        case Vision::Tritanopia:
            return "tritanopia";
        case Vision::Normal:
            break;
    }
    return "normal";
}

Rgba SimulatedColour(Rgba colour, Vision vision) {
    const Mat3* m = vision == Vision::Deuteranopia ? &kDeuteranopia
                    : vision == Vision::Protanopia ? &kProtanopia
                    : vision == Vision::Tritanopia ? &kTritanopia
                                                   : nullptr;
    if (m == nullptr) return colour;
    const Vec3 seen = Times(*m, LinearOf(colour));
    return {FromLinear(seen[0]), FromLinear(seen[1]), FromLinear(seen[2]), colour.a};
}

double Ciede2000(Rgba a, Rgba b) {
    return DeltaE2000(LabOf(a), LabOf(b));
}

double Ciede2000Lab(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return DeltaE2000(a, b);
}

ClassSeparation SeparationOf(const std::vector<Rgba>& classColours) {
    ClassSeparation s;
    s.adjacent.fill(INFINITY);
    s.any.fill(INFINITY);
    for (size_t v = 0; v < kVisions.size(); ++v) {
        std::vector<Rgba> seen;
        for (const Rgba& c : classColours) seen.push_back(SimulatedColour(c, kVisions[v]));
        for (size_t i = 0; i < seen.size(); ++i) {
            for (size_t j = i + 1; j < seen.size(); ++j) {
                const double d = Ciede2000(seen[i], seen[j]);
                s.any[v] = std::min(s.any[v], d);
                if (j == i + 1) s.adjacent[v] = std::min(s.adjacent[v], d);
            }
        }
    }
    return s;
}

bool SeparatedForEveryEye(const ClassSeparation& separation) {
    for (size_t v = 0; v < kVisions.size(); ++v) {
        if (separation.adjacent[v] < kAdjacentMinimum || separation.any[v] < kAnyMinimum) {
            return false;
        }
    }
    return true;
}

}  // namespace kalvera
