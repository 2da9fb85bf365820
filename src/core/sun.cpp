#include "core/sun.h"

#include <algorithm>
#include <cmath>

#include "core/calendar.h"
#include "core/official_place.h"

namespace miravel {

namespace {

constexpr const char* kVakitNames[kVakitCount + 1] = {"",        "İMSAK", "GÜNEŞ",  "İŞRAK",
                                                      "İSTİVA",  "ÖĞLE",  "İKİNDİ", "ASR-I SANİ",
                                                      "İSFİRAR", "AKŞAM", "YATSI"};

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kMinutesPerRadian = 229.1831180523293;     // 720 / pi
constexpr double kRadiansPerMinute = 0.004363323129985824;  // pi / 720
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kTenthsPerRad = 572.9577951308232;

// Cosine limits of the hour angle by event class; see ComputeVakit.
struct ClampRow {
    float upper;
    float lower;
};
constexpr ClampRow kClampTable[4] = {
    {1.0f, -1.0f},
    {0.7933530211448669f, -0.991445004940033f},
    {0.9238799810409546f, -0.9238799810409546f},
    {0.9807850122451782f, -0.7933530211448669f},
};

// Hour angle (minutes from the transit) at which the sun reaches the altitude
// whose sine is sin(x); x >= pi/2 means an event after the transit.
void HourAngleForAltitude(AstroState& s, double x) {
    s.offset = 0.0f;
    const double sinLat = std::sin(static_cast<double>(s.latitudeRad));
    const double cosLat = std::cos(static_cast<double>(s.latitudeRad));
    // The official convention takes the sun of 00:00 UT for the whole day:
    // one pass, no re-evaluation at the event.
    const int passes = s.diyanetTimes ? 1 : 2;
    for (int pass = 0; pass < passes; ++pass) {
        if (!s.diyanetTimes) EvaluateSun(s);
        const double dec = s.declination;
        float c =
            static_cast<float>((std::sin(x) - std::sin(dec) * sinLat) / (std::cos(dec) * cosLat));
        if (s.mode < 2) s.clampIndex = 0;
        const ClampRow& row = kClampTable[s.clampIndex];
        if (c > row.upper) c = row.upper;
        if (c < row.lower) c = row.lower;
        const double h = std::acos(static_cast<double>(c)) * kMinutesPerRadian;
        s.offset = static_cast<float>(x < kHalfPi ? -h : h);
    }
}

// Asr by the shadow rule: shadow = factor x stick + the noon shadow.
void AsrHourAngle(AstroState& s, int factor) {
    s.clampIndex = 3;
    s.offset = 0.0f;
    if (!s.diyanetTimes) EvaluateSun(s);
    const double c =
        -factor - std::fabs(std::tan(static_cast<double>(s.latitudeRad) - s.declination));
    const double x0 = std::atan2(1.0, c);
    if (s.diyanetTimes) {  // the plain shadow rule
        HourAngleForAltitude(s, x0);
        return;
    }
    const float x = factor == 1 ? static_cast<float>(1.00065 * x0 - 0.0012758356832078548)
                                : static_cast<float>(1.00191 * x0 - 0.004574507969477138);
    HourAngleForAltitude(s, x);
}

// Yatsı by the mode: tied to Akşam in mode 5, else the sun at the altitude
// whose sine is sin(x) after the transit, no later than a half or a third of
// the night in modes 3 and 4; `adjust`, if given, moves the altitude's time
// before that limit.
void LimitYatsi(AstroState& s, double x, void (*adjust)(AstroState&) = nullptr) {
    if (s.mode == 5) {
        s.offset = static_cast<float>(s.aksamHourAngle + s.temkin[Aksam]);
        return;
    }
    s.clampIndex = 1;
    HourAngleForAltitude(s, x);
    if (adjust) adjust(s);
    if (s.mode > 2) {
        const int16_t night = static_cast<int16_t>(s.imsakHourAngle + 1440 - s.aksamHourAngle);
        const int16_t limit = static_cast<int16_t>(s.aksamHourAngle + night / (s.mode - 1));
        if (limit < s.offset) s.offset = limit;
    }
}

// The official timetable evaluates the sun once a day, at 00:00 UT of the
// date, and uses that declination and equation of time for every time of
// the day. Leaves offset at 0.
void SunAtStartOfDay(AstroState& s) {
    // EvaluateSun takes the instant offset + transit - lonMin after 00:00 UT.
    s.offset = static_cast<float>(static_cast<double>(s.lonMin) - s.transit);
    EvaluateSun(s);
    s.offset = 0.0f;
}

// Sunrise and sunset of the official convention: the sun's upper limb on the
// horizon, 16' semidiameter and 34' refraction below it.
constexpr double kOfficialHorizonRad = -0.014544410433286079;  // -50'

// The official tables give whole minutes a few seconds later than rounding
// the computed instant to the nearest minute does (2.4 s, fitted on the
// 81 provinces' tables of 2022-2026).
constexpr double kOfficialRoundingBias = 0.04;

// Turkey's own tables take Yatsı at 17 degrees, those published for places
// abroad at 16. A place counts as Turkey when it lies within Turkey's
// latitudes and longitudes and keeps Turkey's clock (UTC+3).
constexpr double kTurkeyNorthEdge = 42.5;
constexpr double kTurkeyWestEdge = 25.5;
constexpr double kTurkeyEastEdge = 45.0;
constexpr int kTurkeyZoneMinutes = 180;
constexpr double kAbroadYatsiAngle = 16.0;

bool OfficialAbroad(const AstroState& s) {
    const double lat = static_cast<double>(s.latitudeRad) * kDegPerRad;
    const double lon = static_cast<double>(s.lonMin) / 4.0;
    return lat >= kTurkeyNorthEdge || lon < kTurkeyWestEdge || lon > kTurkeyEastEdge ||
           s.zoneMinutes != kTurkeyZoneMinutes;
}

// Far from the equator the official tables do not wait for the sun to reach
// the İmsak and Yatsı angles. Where it still sinks kShareAngle degrees on
// every night of the year, the depression they use is a share of the sun's
// depression at its lower culmination D (the deepest of the night),
// a + b D + c D^2 degrees, never more than the angle, and moving with the
// season by `shift` degrees times the cosine of the sun's longitude (before
// the June solstice one way, after it the other) where it sinks
// kSeasonShiftWidth degrees more. The rule sets in gradually:
// not at all up to kNightRuleStart degrees of latitude, in full from
// kNightRuleFull on, in proportion between.
constexpr double kNightRuleStart = 43.58;
constexpr double kNightRuleFull = 46.97;
constexpr double kNightRuleDawn = 72.0;  // minutes from İmsak to sunrise at least
constexpr double kObliquity = 23.44;     // degrees, the sun's greatest declination
constexpr double kShareAngle = 18.0;
constexpr double kSeasonShiftWidth = 0.5;  // degrees of D on the shortest night
struct NightShare {
    double a, b, c, shift;
};
constexpr NightShare kImsakShare = {1.164, 0.554, 0.0028, -0.95};
constexpr NightShare kYatsiShare = {1.099, 0.518, 0.0024, 0.71};

// Where the sun stays above kShareAngle degrees on the shortest nights
// (beyond 48.56 degrees of latitude: Paris, not Wien) the tables take
// another form: İmsak comes no earlier than a fraction of the night (sunset
// to sunrise) before sunrise, and Yatsı no later than a fraction after
// sunset, base + perLatitude (latitude - 50) + perDepression (D - from, when
// positive) + season times the cosine of the sun's longitude. Between
// kFractionStart and kFractionFull degrees of latitude (Wien's and Paris's)
// the program passes from the one form to the other in proportion.
struct NightFraction {
    double base, perLatitude, perDepression, from, season;
};
constexpr NightFraction kImsakFraction = {0.2105, 0.00118, 0.00234, 19.67, 0.00115};
constexpr NightFraction kYatsiFraction = {0.1885, 0.00128, 0.00221, 18.73, -0.00084};
constexpr double kFractionStart = 48.25;
constexpr double kFractionFull = 48.85;

double Latitude(const AstroState& s) {
    return static_cast<double>(s.latitudeRad) * kDegPerRad;
}

// How far the night rule applies at this place, 0 to 1.
double NightRuleWeight(const AstroState& s) {
    const double lat = std::fabs(Latitude(s));
    if (lat <= kNightRuleStart) return 0.0;
    if (lat >= kNightRuleFull) return 1.0;
    return (lat - kNightRuleStart) / (kNightRuleFull - kNightRuleStart);
}

bool NightRuleApplies(const AstroState& s) {
    return NightRuleWeight(s) > 0.0;
}

// How far the fractions of the night apply, 0 to 1.
double NightFractionWeight(const AstroState& s) {
    const double lat = std::fabs(Latitude(s));
    return std::clamp((lat - kFractionStart) / (kFractionFull - kFractionStart), 0.0, 1.0);
}

// The sun's depression at its lower culmination, degrees.
double LowestDepression(const AstroState& s) {
    const double lat = Latitude(s);
    const double dec = static_cast<double>(s.declination) * kDegPerRad;
    return 90.0 - std::fabs(lat) - (lat < 0 ? -dec : dec);
}

// 1 at the spring equinox, 0 at the summer solstice, -1 at the autumn one.
double Spring(const AstroState& s) {
    return std::cos(static_cast<double>(s.eclipticLongitude)) * (Latitude(s) < 0 ? -1.0 : 1.0);
}

// Depression (degrees, positive below the horizon) the official tables take
// for an angle of `angle` degrees below the horizon.
double OfficialDepression(const AstroState& s, double angle, const NightShare& k) {
    const double weight = NightRuleWeight(s);
    if (weight <= 0.0 || NightFractionWeight(s) >= 1.0) return angle;
    const double lowest = LowestDepression(s);
    const double shortest = 90.0 - std::fabs(Latitude(s)) - kObliquity;
    const double season = std::clamp((shortest - kShareAngle) / kSeasonShiftWidth, 0.0, 1.0);
    const double share = k.a + (k.b + k.c * lowest) * lowest + k.shift * season * Spring(s);
    if (share >= angle) return angle;
    return weight >= 1.0 ? share : angle - weight * (angle - share);
}

// The hour angle (minutes) `k`'s fraction of the night before sunrise or,
// `afterSunset`, after sunset. Leaves the state as it was.
double NightFractionOffset(AstroState& s, const NightFraction& k, bool afterSunset) {
    const float offset = s.offset;
    const int16_t clampIndex = s.clampIndex;
    s.clampIndex = 2;
    HourAngleForAltitude(s, kOfficialHorizonRad);
    const double sunrise = s.offset;
    HourAngleForAltitude(s, kPi - kOfficialHorizonRad);
    const double sunset = s.offset;
    s.offset = offset;
    s.clampIndex = clampIndex;
    const double night = 1440.0 - (sunset - sunrise);
    const double fraction = k.base + k.perLatitude * (std::fabs(Latitude(s)) - 50.0) +
                            k.perDepression * std::max(0.0, LowestDepression(s) - k.from) +
                            k.season * Spring(s);
    return afterSunset ? sunset + fraction * night : sunrise - fraction * night;
}

// With the time by the depression rule in the state, the official time where
// the fractions of the night apply: the time of `angleRad` (the altitude's
// sine), no earlier (İmsak) or later (Yatsı) than the fraction's.
void ApplyNightFraction(AstroState& s, double angleRad, const NightFraction& k, bool afterSunset) {
    const double weight = NightFractionWeight(s);
    if (weight <= 0.0) return;
    const double byDepression = s.offset;
    if (weight < 1.0) HourAngleForAltitude(s, angleRad);
    const double byAngle = s.offset;
    const double fraction = NightFractionOffset(s, k, afterSunset);
    const double byFraction =
        afterSunset ? std::min(byAngle, fraction) : std::max(byAngle, fraction);
    s.offset = static_cast<float>(
        weight >= 1.0 ? byFraction : byDepression + weight * (byFraction - byDepression));
}

}  // namespace

const char* VakitName(int v) {
    return kVakitNames[(v >= 1 && v <= kVakitCount) ? v : 0];
}

void SetTemkins(AstroState& s, const int16_t temkins[kVakitCount]) {
    for (int v = 1; v <= kVakitCount; ++v)
        s.temkin[v] = temkins[v - 1];
}

void SetAnglesAndMode(AstroState& s, int16_t imsakAngle, int16_t yatsiAngle, int16_t mode) {
    s.imsakAngle = static_cast<float>(imsakAngle * 0.01);
    s.yatsiAngle = static_cast<float>(yatsiAngle * 0.01);
    s.mode = mode;
}

void EvaluateSun(AstroState& s) {
    const double t =
        DayNumber(s) - 0.5 + (static_cast<double>(s.offset) + s.transit - s.lonMin) / 1440.0;
    s.meanAnomaly = static_cast<float>(6.239988408192726 + 0.017201970343643867 * t);
    const double l = 4.894932966850777 + 0.017202792393721557 * t;
    const double m = s.meanAnomaly;
    s.eclipticLongitude = static_cast<float>(l + 0.03342305517569141 * std::sin(m) +
                                             0.00034906585039886593 * std::sin(2.0 * m));
    const double lambda = s.eclipticLongitude;
    const double alpha = std::atan2(0.9175 * std::sin(lambda), std::cos(lambda));
    const float f = static_cast<float>((alpha - l) / (2.0 * kPi) + 0.5003472222222223 + 650.0);
    s.transit = static_cast<float>(1440.0 * (static_cast<double>(f) - std::trunc(f)));
    s.declination = static_cast<float>(std::asin(0.3978 * std::sin(lambda)));
}

double LocalTransit(const AstroState& s) {
    return static_cast<double>(s.zoneMinutes) + s.transit - s.lonMin;
}

int16_t NormalizeMinutes(int16_t m) {
    return static_cast<int16_t>(static_cast<int16_t>(m + 1440) % 1440);
}

// One switch for both conventions. The own one evaluates the sun again at
// each event and keeps its own horizon; the official one ("Diyanet Uyumlu")
// takes the sun of 00:00 UT for the whole day, the upper limb at sunrise and
// sunset, the transit itself for Öğle and the night rule far north.
namespace {

uint16_t ComputeVakitAt(AstroState& s, int v) {
    s.clampIndex = 2;
    const bool official = s.diyanetTimes != 0;
    if (official && v >= Imsak && v <= Yatsi) SunAtStartOfDay(s);
    switch (v) {
        case Imsak:
            s.clampIndex = 1;
            if (official && NightRuleApplies(s)) {
                s.clampIndex = 2;  // no earlier than 157.5 degrees before the transit
                const double depression = OfficialDepression(s, -s.imsakAngle, kImsakShare);
                HourAngleForAltitude(s, -depression * 0.017453292519943295);
                ApplyNightFraction(s, s.imsakAngle * 0.017453292519943295, kImsakFraction, false);
            } else {
                HourAngleForAltitude(s, s.imsakAngle * 0.017453292519943295);
            }
            s.imsakHourAngle = static_cast<int16_t>(std::trunc(s.offset));
            break;
        case Gunes:
            HourAngleForAltitude(
                s, official ? kOfficialHorizonRad : static_cast<double>(-0.017453292f));
            // Under the night rule sunrise comes no sooner than 72 minutes
            // (18 degrees of hour angle) after İmsak.
            if (official && NightRuleApplies(s) && s.offset < s.imsakHourAngle + kNightRuleDawn)
                s.offset = static_cast<float>(s.imsakHourAngle + kNightRuleDawn);
            break;
        case Israk:
            HourAngleForAltitude(s, static_cast<double>(0.08726646f));
            break;
        case Istiva:
            HourAngleForAltitude(
                s, official ? kOfficialHorizonRad : static_cast<double>(-0.017453292f));
            s.offset = static_cast<float>((s.imsakHourAngle - static_cast<double>(s.offset)) * 0.5);
            if (!official) EvaluateSun(s);
            break;
        case Ogle:
            // Officially the transit itself; the temkin does the rest.
            s.offset = official ? 0.0f : 2.0f;
            if (!official) EvaluateSun(s);
            break;
        case Ikindi:
            AsrHourAngle(s, 1);
            break;
        case AsriSani:
            AsrHourAngle(s, 2);
            break;
        case Isfirar:
            HourAngleForAltitude(s, static_cast<double>(3.0543263f));
            break;
        case Aksam:
            HourAngleForAltitude(
                s, official ? kPi - kOfficialHorizonRad : static_cast<double>(3.159046f));
            s.aksamHourAngle = static_cast<int16_t>(std::trunc(s.offset));
            break;
        case Yatsi:
            if (official && OfficialAbroad(s)) {
                const double depression = OfficialDepression(s, kAbroadYatsiAngle, kYatsiShare);
                LimitYatsi(s, (180.0 + depression) * 0.017453292519943295, [](AstroState& st) {
                    ApplyNightFraction(st, (180.0 + kAbroadYatsiAngle) * 0.017453292519943295,
                                       kYatsiFraction, true);
                });
            } else {
                LimitYatsi(s, (180.0 - s.yatsiAngle) * 0.017453292519943295);
            }
            break;
        default:
            return 0;
    }
    const double t = s.mode != 0 ? s.temkin[v] : 0;
    const double local = official ? LocalTransit(s) + (t + s.offset) + kOfficialRoundingBias
                                  : LocalTransit(s) + (t + s.offset);
    const int16_t minutes = static_cast<int16_t>(static_cast<int32_t>(std::trunc(local)));
    return static_cast<uint16_t>(NormalizeMinutes(minutes));
}

}  // namespace

uint16_t ComputeVakit(AstroState& s, int v) {
    if (s.diyanetTimes == 0) return ComputeVakitAt(s, v);
    const OfficialPlace place(s);
    return ComputeVakitAt(s, v);
}

void ComputeDayTimes(AstroState& s, int32_t out[kVakitCount]) {
    for (int v = 1; v <= kVakitCount; ++v)
        out[v - 1] = ComputeVakit(s, v);
}

int VakitInstant(const int32_t times[kVakitCount], int v) {
    if (v < Imsak || v > Yatsi) return 0;
    // ÖĞLE is always near noon; a time of the other half of the day that
    // lies more than six hours on the wrong side of it has wrapped.
    constexpr int kWrapMargin = 360;
    const int t = times[v - 1];
    const int noon = times[Ogle - 1];
    if (v > Ogle && t < noon - kWrapMargin) return t + 1440;
    if (v < Ogle && t > noon + kWrapMargin) return t - 1440;
    return t;
}

void SunNow(AstroState& s, int e) {
    s.offset = 0.0f;
    EvaluateSun(s);
    s.offset = static_cast<float>(e + 1 - LocalTransit(s));
    EvaluateSun(s);
    s.offset = static_cast<float>((e + 1 - LocalTransit(s)) * kRadiansPerMinute);
    const double lat = s.latitudeRad;
    const double dec = s.declination;
    s.altitude = static_cast<float>(
        std::asin(std::sin(dec) * std::sin(lat) +
                  std::cos(dec) * std::cos(lat) * std::cos(static_cast<double>(s.offset))) *
        kDegPerRad);
}

int16_t Azimuth(const AstroState& s, double d) {
    const double h = s.offset;
    const double lat = s.latitudeRad;
    int a = static_cast<int>(
        std::trunc(-kTenthsPerRad * std::atan2(std::sin(h), std::cos(lat) * std::tan(d) -
                                                                std::sin(lat) * std::cos(h))));
    if (a < 0) a += 3600;
    return static_cast<int16_t>(a);
}

int16_t SunAzimuth(AstroState& s) {
    SunNow(s, s.clockMinutes);
    return Azimuth(s, s.declination);
}

int16_t SunAltitude(AstroState& s) {
    SunNow(s, s.clockMinutes);
    return static_cast<int16_t>(std::trunc(s.altitude * 10.0));
}

int16_t SunLongitude(AstroState& s) {
    SunNow(s, s.clockMinutes);
    const double turns = s.eclipticLongitude / (2.0 * kPi);
    return static_cast<int16_t>(std::trunc(3600.0 * (turns - std::floor(turns))));
}

int16_t SunDeclination(AstroState& s) {
    SunNow(s, s.clockMinutes);
    return static_cast<int16_t>(std::trunc(s.declination * kTenthsPerRad));
}

int16_t EquationOfTime(AstroState& s) {
    SunNow(s, s.clockMinutes);
    return static_cast<int16_t>(std::trunc((s.transit - 720.5) * 10.0));
}

}  // namespace miravel
