#include "core/hijri.h"

#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/moon.h"
#include "core/sun.h"

namespace miravel {

namespace {

constexpr const char* kHijriMonthNames[13] = {
    "",      "Muharrem", "Safer",   "Rebiülevvel", "Rebiülahir", "Cemaziyelevvel", "Cemaziyelahir",
    "Recep", "Şaban",    "Ramazan", "Şevval",      "Zilkade",    "Zilhicce"};

// How a row of the religious-day table matches the next date's Hijri day b
// and the working date's weekday w.
enum class Match : int8_t {
    Day,                  // b equals the row's day
    ThursdayInFirstWeek,  // w is Thursday and b < 8
    SaturdayOddLateDay,   // w is Saturday, b odd and b > 16
};

struct ReligiousDay {
    int8_t month;  // of the next date
    Match match;
    int8_t day;  // b, for Match::Day
    const char* name;
};

// The first matching row wins, so Regaib precedes the first of Recep and the
// Saturday Kadir night precedes the 27th.
constexpr ReligiousDay kReligiousDays[] = {
    {1, Match::Day, 2, "Hicri Yılbaşı"},
    {1, Match::Day, 11, "Aşure Günü"},
    {3, Match::Day, 12, "Mevlid Gecesi"},
    {7, Match::ThursdayInFirstWeek, 0, "Regaib Gecesi"},
    {7, Match::Day, 2, "Üç Ayların Başlangıcı"},
    {7, Match::Day, 27, "Mirac Gecesi"},
    {8, Match::Day, 15, "Berat Gecesi"},
    {9, Match::SaturdayOddLateDay, 0, "Kadir Gecesi (Şarani)"},
    {9, Match::Day, 2, "Ramazan'ın ilk günü"},
    {9, Match::Day, 27, "Kadir Gecesi (R.27)"},
    {10, Match::Day, 2, "Ramazan Bayramı 1. gün"},
    {10, Match::Day, 3, "Ramazan Bayramı 2. gün"},
    {10, Match::Day, 4, "Ramazan Bayramı 3. gün"},
    {12, Match::Day, 10, "Arefe"},
    {12, Match::Day, 11, "Kurban Bayramı 1. gün"},
    {12, Match::Day, 12, "Kurban Bayramı 2. gün"},
    {12, Match::Day, 13, "Kurban Bayramı 3. gün"},
    {12, Match::Day, 14, "Kurban Bayramı 4. gün"},
};

constexpr double kEightDegreesRad = 0.13962634015954636;  // the least true elongation
constexpr double kLunationsPerDay = 0.03386319219153473;  // 1 / 29.530589

// --- The official calendar ---------------------------------------------------
//
// Turkey's calendar follows the decisions of the Istanbul conferences of 1978
// and 2016: a month begins on the day after the evening on which, somewhere
// on Earth before 24:00 UT, the moon stands at least 5 degrees above the
// horizon at sunset and at least 8 degrees from the sun. Where that happens
// only later, in the Americas, the month still begins that day when the
// conjunction came before dawn (the sun at -18 degrees) in New Zealand.

constexpr double kSunsetAltitudeRad = -0.014544410433286079;  // upper limb, refraction
constexpr double kLeastAltitudeDeg = 5.0;
constexpr double kLeastElongationDeg = 8.0;
constexpr int kLatitudeLimit = 60;  // the inhabited band searched, degrees
constexpr int kLatitudeStep = 4;

// True elongation of the moon from the sun in degrees, signed: negative while
// the moon is west of the sun (waning, before the conjunction).
double SignedElongation(const AstroState& m) {
    const double dl = static_cast<double>(m.phaseFraction) * kTwoPi;
    const double e =
        std::acos(std::cos(static_cast<double>(m.moonLatitude)) * std::cos(dl)) * kDegPerRad;
    return m.phaseFraction < 0.5f ? e : -e;
}

// The moon and sun at `utMinute` minutes after 00:00 UT of date (d, m, y),
// seen from (lat, lon) in hundredths of a degree.
void MoonAt(AstroState& w, int lat, int lon, int d, int mo, int y, int utMinute) {
    SetLocation(w, static_cast<int16_t>(lat), static_cast<int16_t>(lon), 0);
    SetDate(w, static_cast<int16_t>(d), static_cast<int16_t>(mo), static_cast<int16_t>(y));
    EvaluateMoon(w, utMinute - 1);
}

// The westmost land of the Americas by latitude band (degrees, coarse): the
// later exception of the criterion holds only on land there, not at sea.
struct LandBand {
    int latFrom, latTo;
    double westmost;
};
constexpr LandBand kAmericasWestCoast[] = {
    {-60, -20, -75.0},  // Chile
    {-20, 0, -81.0},    // Peru, Ecuador
    {0, 15, -92.0},     // Central America
    {15, 23, -106.0},   // western Mexico
    {23, 32, -117.0},   // Baja California
    {32, 48, -124.5},   // California to Washington
    {48, 54, -133.0},   // British Columbia
    {54, 61, -168.0},   // Alaska
};
constexpr double kAmericasEastmost = -35.0;

bool OnAmericanLand(int latDeg, double lonDeg) {
    if (lonDeg > kAmericasEastmost) return false;
    for (const LandBand& b : kAmericasWestCoast) {
        if (latDeg >= b.latFrom && latDeg < b.latTo) return lonDeg >= b.westmost;
    }
    return false;
}

// Whether, at `utMinute` after 00:00 UT of the date, the crescent meets both
// limits at some place where the sun is setting: anywhere, or only on the
// land of the Americas.
bool CrescentAtSunsetSomewhere(const AstroState& s, int d, int mo, int y, int utMinute,
                               bool americasOnly) {
    AstroState w = s;
    MoonAt(w, 0, 0, d, mo, y, utMinute);
    if (SignedElongation(w) < kLeastElongationDeg) return false;
    // The sun's Greenwich hour angle and declination at that instant.
    SetLocation(w, 0, 0, 0);
    SunNow(w, utMinute - 1);
    const double gha = w.offset;
    const double dec = w.declination;
    for (int latDeg = -kLatitudeLimit; latDeg <= kLatitudeLimit; latDeg += kLatitudeStep) {
        const double phi = latDeg * kRadPerDeg;
        const double c = (std::sin(kSunsetAltitudeRad) - std::sin(phi) * std::sin(dec)) /
                         (std::cos(phi) * std::cos(dec));
        if (c < -1.0 || c > 1.0) continue;  // no sunset at this latitude today
        // Local hour angle of sunset = Greenwich hour angle + east longitude.
        double lon = std::remainder(std::acos(c) - gha, kTwoPi) * kDegPerRad;
        if (americasOnly && !OnAmericanLand(latDeg, lon)) continue;
        MoonAt(w, latDeg * 100, static_cast<int>(std::lround(lon * 100.0)), d, mo, y, utMinute);
        if (w.moonAltitude >= kLeastAltitudeDeg && SignedElongation(w) >= kLeastElongationDeg)
            return true;
    }
    return false;
}

// Whether the conjunction before date (d, mo, y) came before dawn of that
// date in New Zealand (Wellington; 13 hours east of UT in its summer time,
// taken as October to March, else 12).
bool ConjunctionBeforeNewZealandDawn(const AstroState& s, int d, int mo, int y) {
    AstroState w = s;
    w.mode = 0;  // the sun at -18 degrees, no margins
    w.imsakAngle = -18.0f;
    w.diyanetTimes = 0;
    const int zone = (mo >= 10 || mo <= 3) ? 780 : 720;
    SetLocation(w, -4129, 17478, static_cast<int16_t>(zone));
    SetDate(w, static_cast<int16_t>(d), static_cast<int16_t>(mo), static_cast<int16_t>(y));
    const int dawnLocal = ComputeVakit(w, Imsak);
    // Minutes after 00:00 UT of the day before (d, mo, y).
    const int dawnUt = dawnLocal - zone + 1440;
    MoonAt(w, 0, 0, d - 1, mo, y, dawnUt);
    const double e = SignedElongation(w);
    return e > 0.0 && w.phaseFraction < 0.25f;
}

// Whether the evening of date (d, mo, y) begins a month by the official
// criterion: before 24:00 UT anywhere, or later in the Americas with the
// conjunction before dawn in New Zealand.
bool OfficialEvening(const AstroState& s, int d, int mo, int y) {
    for (int ut = 1440; ut >= 12 * 60; ut -= 60) {
        if (CrescentAtSunsetSomewhere(s, d, mo, y, ut, false)) return true;
    }
    if (!ConjunctionBeforeNewZealandDawn(s, d + 1, mo, y)) return false;
    for (int ut = 1440 + 60; ut <= 1440 + 12 * 60; ut += 60) {
        if (CrescentAtSunsetSomewhere(s, d, mo, y, ut, true)) return true;
    }
    return false;
}

// A cheap bound: the evening of the date can begin a month only when, at
// 24:00 UT, the moon is east of the sun by a few degrees and not yet by two
// days' motion.
bool MayBeginMonth(const AstroState& s, int d, int mo, int y) {
    AstroState w = s;
    MoonAt(w, 0, 0, d, mo, y, 1440);
    const double e = SignedElongation(w);
    return e > 0.5 && e < 36.0;
}

constexpr int kMaxMonthLength = 31;

// The Hijri month and year of the month that begins on the working date.
void SetHijriMonthAndYear(AstroState& s) {
    const int32_t lunations =
        static_cast<int32_t>(std::trunc(DayNumber(s) * kLunationsPerDay + 17049.7));
    s.hijriYear = static_cast<int16_t>(lunations / 12);
    s.hijriMonth = static_cast<int16_t>(lunations % 12 + 1);
}

int OfficialHijriDay(AstroState& s) {
    const int16_t d0 = s.day;
    const int mo = s.month, y = s.year;
    // The latest evening on or before the day before d0 that begins a month
    // and whose day before does not.
    int k = 1;  // d0 - k is the evening tested
    for (; k <= kMaxMonthLength; ++k) {
        const int d = d0 - k;
        if (!MayBeginMonth(s, d, mo, y)) continue;
        if (OfficialEvening(s, d, mo, y) && !OfficialEvening(s, d - 1, mo, y)) break;
    }
    if (k > kMaxMonthLength) return -1;  // no evening found: the caller falls back
    s.day = static_cast<int16_t>(d0 - k);
    SetHijriMonthAndYear(s);
    s.day = d0;
    return k;
}

}  // namespace

int HijriDay(AstroState& s) {
    if (s.officialHijri) {
        s.moonValid = 0;
        s.hijriValid = 1;
        const int day = OfficialHijriDay(s);
        if (day > 0) return day;
        // Cannot happen for real geometry; the crescent rule below answers.
    }
    s.moonValid = 0;
    s.hijriValid = 1;
    const int16_t d0 = s.day;
    int8_t k = -1;
    double a = 0.0;
    // Step back a/15 + 1 days at a time (the moon gains ~12 degrees a day)
    // until a date lies before the 8-degree point or in the waning half.
    for (;;) {
        k = static_cast<int8_t>(std::trunc(a * 0.06666666666666667 + 1 + k));
        s.day = static_cast<int16_t>(d0 - k);
        EvaluateMoon(s, s.zoneMinutes);  // 00:00 UT of that date
        // Difference in longitude at which the true elongation is 8 degrees.
        const double c =
            std::acos(std::cos(kEightDegreesRad) / std::cos(static_cast<double>(s.moonLatitude))) *
            kDegPerRad;
        a = 360.0 * s.phaseFraction - c;
        if (a < 0.0) a += 360.0;
        if (k != 0 && a >= 180.0) break;
    }
    SetHijriMonthAndYear(s);
    s.day = d0;
    return k;
}

int16_t HijriMonth(AstroState& s) {
    if (!s.hijriValid) HijriDay(s);
    return s.hijriMonth;
}

int16_t HijriYear(AstroState& s) {
    if (!s.hijriValid) HijriDay(s);
    return s.hijriYear;
}

const char* HijriMonthName(int16_t index) {
    return kHijriMonthNames[(index >= 1 && index <= 12) ? index : 0];
}

const char* ReligiousDayName(AstroState& s) {
    // Named by the next date's Hijri day, so that a night row names the
    // evening of the working date.
    ++s.day;
    const int b = HijriDay(s);
    const int m = s.hijriMonth;
    --s.day;
    s.hijriValid = 0;  // the cache holds the next date's month now
    const int w = Weekday(s);
    for (const ReligiousDay& row : kReligiousDays) {
        if (row.month != m) continue;
        bool hit = false;
        switch (row.match) {
            case Match::Day:
                hit = b == row.day;
                break;
            case Match::ThursdayInFirstWeek:
                hit = b < 8 && w == 4;
                break;
            case Match::SaturdayOddLateDay:
                hit = w == 6 && b % 2 == 1 && b > 16;
                break;
        }
        if (hit) return row.name;
    }
    return "";
}

}  // namespace miravel
