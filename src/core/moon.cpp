#include "core/moon.h"

#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel {

namespace {

constexpr double kTenthsPerRad = 572.9577951308232;
constexpr double kRadiansPerMinute = 0.004363323129985824;  // pi / 720
constexpr double kEarthRadiusMm = 6.37816;                  // thousands of km
constexpr double kEarthRadiusM = 6378160.0;

// Code of the eclipse and crescent test; see MoonVisibility.
int16_t VisibilityCode(const AstroState& s, double eclipseLimit) {
    const double k = s.illumination;
    if (k / eclipseLimit < 1.0)
        return static_cast<int16_t>(std::trunc((1.0 - k / eclipseLimit) * 100.0));
    if ((1.0 - k) / eclipseLimit < 1.0)
        return static_cast<int16_t>(std::trunc(((1.0 - k) / eclipseLimit - 1.0) * 100.0));

    const double dip = s.dip;
    const double shift = 0.02 * s.crescentVisibility;
    if (k < (1.0 - std::cos((shift + 7.0 - dip) * kRadPerDeg)) * 0.5) return 0;
    const double moonAltitude = s.moonAltitude;
    if (moonAltitude < -0.5 - dip) return -100;

    const double sunAltitude = s.altitude;
    double q;
    if (moonAltitude < 4.0) {
        q = 10.0 * moonAltitude - 56.0;
    } else if (sunAltitude > 4.0) {
        q = -16.0;
    } else {
        q = moonAltitude - 20.0;
    }
    const double v = (10.0 * s.crescentWidth + q) / 3.0 - (shift - 1.0 - dip);
    if (v > 4.0) return 100;
    return sunAltitude >= v ? -100 : 100;
}

}  // namespace

void EvaluateMoon(AstroState& s, int e) {
    SunNow(s, e);
    const int utMinute = e + 1 - s.zoneMinutes;
    s.moonT = static_cast<float>(DayNumber(s) - 0.5 + utMinute / 1440.0);
    const double t = s.moonT;

    const double twoD = 4.113758500243154 + 0.42553745157499745 * t;  // twice the elongation
    const double mm = 2.3555487183691066 + 0.2280271446000115 * t;    // moon's mean anomaly
    const double twoF = 3.2558419064253417 + 0.4617914307974237 * t;  // twice the latitude arg.
    const double ms = s.meanAnomaly;                                  // the sun's

    s.moonLongitude = static_cast<float>(
        3.8103330097839403 + 0.229971502473257 * t + 0.10975677534091541 * std::sin(mm) +
        0.0037280232822598882 * std::sin(2.0 * mm) - 0.022233749341155764 * std::sin(mm - twoD) +
        0.011489502465878671 * std::sin(twoD) - 0.003239331091701475 * std::sin(ms) -
        0.001996656664281513 * std::sin(twoF));
    // u: distance from the ascending node along the orbit.
    const double u = s.moonLongitude - 2.183808319972865 + 0.0009242181614425733 * t;
    s.moonLongitude =
        static_cast<float>(s.moonLongitude + std::atan2(0.99597 * std::sin(u), std::cos(u)) - u);
    s.moonLatitude = static_cast<float>(std::asin(0.08968 * std::sin(u)));

    s.geoDistance =
        static_cast<float>(385.0 - 20.905 * std::cos(mm) - 3.699 * std::cos(twoD - mm) -
                           2.956 * std::cos(twoD) - 0.57 * std::cos(2.0 * mm) +
                           0.246 * std::cos(2.0 * mm - twoD) - 0.205 * std::cos(ms - twoD) -
                           0.171 * std::cos(twoD + mm) - 0.152 * std::cos(mm + ms - twoD));

    const double lambda = s.moonLongitude;
    const double beta = s.moonLatitude;
    const double alpha =
        std::atan2(0.9175 * std::sin(lambda) - 0.3978 * std::tan(beta), std::cos(lambda));
    s.offset = static_cast<float>((utMinute + static_cast<double>(s.lonMin)) * kRadiansPerMinute +
                                  1.7511586516959907 + 0.017202791695589855 * t - alpha);
    s.declination = static_cast<float>(
        std::asin(0.9175 * std::sin(beta) + 0.3978 * std::cos(beta) * std::sin(lambda)));
    s.moonAzimuth = Azimuth(s, s.declination);

    const double lat = s.latitudeRad;
    const double dec = s.declination;
    const double h =
        std::asin(std::sin(dec) * std::sin(lat) +
                  std::cos(dec) * std::cos(lat) * std::cos(static_cast<double>(s.offset)));
    s.topoDistance = static_cast<float>(s.geoDistance - kEarthRadiusMm * std::sin(h));
    const double hTopo = h - std::cos(h) * kEarthRadiusMm / s.topoDistance;
    s.moonAltitude = static_cast<float>(hTopo * kDegPerRad);

    s.sunDistance = static_cast<float>(149.55668848724687 / (1.0 + 0.016718 * std::cos(ms)));
    const double elongation = static_cast<double>(s.moonLongitude) - s.eclipticLongitude;
    // Below sea level the horizon is taken as level: acos would leave its domain.
    const double height = s.viewAltitude > 0 ? s.viewAltitude : 0;
    s.dip = static_cast<float>(std::acos(kEarthRadiusM / (height + kEarthRadiusM)) * kDegPerRad);
    s.illumination = static_cast<float>((1.0 - std::cos(beta) * std::cos(elongation)) * 0.5);
    // The moon's apparent diameter (radius 1738 km) in arc minutes, times k.
    s.crescentWidth = static_cast<float>(s.illumination * 11949.607775248449 / s.topoDistance);
    // Illumination below which the discs of the moon and the Earth's shadow or
    // the sun overlap: Earth + moon radius and the sun's radius over distance.
    const double eclipseLimit =
        (1.0 - std::cos(8.11616 / s.geoDistance + 0.696 / s.sunDistance)) * 0.5;
    s.visibilityCode = VisibilityCode(s, eclipseLimit);

    const double turns = elongation / kTwoPi;
    s.phaseFraction = static_cast<float>(turns - std::floor(turns));
    // A fraction just under one can round up in single precision; keep E < 1.
    if (s.phaseFraction >= 1.0f) s.phaseFraction = 0.0f;
}

int16_t ComputeMoon(AstroState& s) {
    s.moonValid = 1;
    EvaluateMoon(s, s.clockMinutes);
    s.savedSunDistance = s.sunDistance;
    s.savedIllumination = s.illumination;
    s.savedVisibilityCode = s.visibilityCode;
    return static_cast<int16_t>(std::trunc(s.phaseFraction * 3600.0));
}

namespace {

// A value the moon computation leaves in the state, computed first when the
// state changed since, times `scale`, truncated toward zero.
int16_t FreshMoonValue(AstroState& s, const float AstroState::*value, double scale) {
    if (!s.moonValid) ComputeMoon(s);
    return static_cast<int16_t>(std::trunc(s.*value * scale));
}

}  // namespace

int16_t MoonPhaseAngle(AstroState& s) {
    return FreshMoonValue(s, &AstroState::phaseFraction, 3600.0);
}

int16_t MoonLatitude(AstroState& s) {
    return FreshMoonValue(s, &AstroState::moonLatitude, kTenthsPerRad);
}

int16_t MoonIllumination(AstroState& s) {
    return FreshMoonValue(s, &AstroState::savedIllumination, 1000.0);
}

int16_t MoonAltitude(AstroState& s) {
    return FreshMoonValue(s, &AstroState::moonAltitude, 10.0);
}

// Kept in tenths of a degree already.
int16_t MoonAzimuth(AstroState& s) {
    return FreshMoonValue(s, &AstroState::moonAzimuth, 1.0);
}

int16_t MoonDistance(AstroState& s) {
    return FreshMoonValue(s, &AstroState::topoDistance, 10.0);
}

int16_t SunDistance(AstroState& s) {
    return FreshMoonValue(s, &AstroState::savedSunDistance, 10.0);
}

int16_t MoonVisibility(AstroState& s, int16_t crescent, int16_t height) {
    if (!s.moonValid || crescent != s.crescentVisibility || height != s.viewAltitude) {
        s.crescentVisibility = crescent;
        s.viewAltitude = height;
        ComputeMoon(s);
    }
    return s.savedVisibilityCode;
}

}  // namespace miravel
