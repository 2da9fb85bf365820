#include "core/hijri.h"

#include <cmath>

#include "core/calendar.h"
#include "core/moon.h"

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
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kLunationsPerDay = 0.03386319219153473;  // 1 / 29.530589

}  // namespace

int HijriDay(AstroState& s) {
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
    const int32_t lunations =
        static_cast<int32_t>(std::trunc(DayNumber(s) * kLunationsPerDay + 17049.7));
    s.hijriYear = static_cast<int16_t>(lunations / 12);
    s.hijriMonth = static_cast<int16_t>(lunations % 12 + 1);
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
