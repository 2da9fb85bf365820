#include "config/zone_offset.h"

#include <cctype>

#include "core/calendar.h"

namespace miravel {

namespace {

bool IsLetters(const char* p, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isalpha(static_cast<unsigned char>(p[i]))) return false;
    }
    return true;
}

int16_t BaseOffset(const Location& loc, const SystemZone& system) {
    return static_cast<int16_t>(loc.useSystemTimeZone ? system.standardMinutes : loc.utcOffset);
}

}  // namespace

bool ParseTzVariable(const char* tz, SystemZone* out) {
    if (!tz || !IsLetters(tz, 3)) return false;
    const char* p = tz + 3;
    int sign = 1;
    if (*p == '+' || *p == '-') {
        sign = *p == '-' ? -1 : 1;
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    int hours = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && hours < 100)
        hours = hours * 10 + (*p++ - '0');
    if (hours > 24) return false;
    bool summer = false;
    if (*p != '\0') {
        if (!IsLetters(p, 3)) return false;
        summer = true;
        p += 3;
        if (*p != '\0') return false;
    }
    out->standardMinutes = static_cast<int16_t>(-sign * hours * 60);
    out->daylightNow = summer;
    return true;
}

int16_t ZoneOffsetNow(const Location& loc, const SystemZone& system) {
    const bool summer = loc.useSystemSummerTime ? system.daylightNow : loc.summerTime;
    return static_cast<int16_t>(BaseOffset(loc, system) + (summer ? 60 : 0));
}

int16_t ZoneOffsetForDate(const Location& loc, const SystemZone& system, int day, int month,
                          int year) {
    const bool summer = loc.useSystemSummerTime ? SummerTimeRule(day, month, year, loc.latitude < 0)
                                                : loc.summerTime;
    return static_cast<int16_t>(BaseOffset(loc, system) + (summer ? 60 : 0));
}

}  // namespace miravel
