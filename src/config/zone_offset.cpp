#include "config/zone_offset.h"

#include <cctype>

#include "core/calendar.h"

namespace miravel {

namespace {

int LetterRun(const char* p) {
    int n = 0;
    while (std::isalpha(static_cast<unsigned char>(p[n])))
        ++n;
    return n;
}

// A signed offset west of Greenwich, hours with optional ":mm", at most 24
// hours; advances `p` past it. Returns the minutes.
bool ParseOffset(const char** pp, int* minutes) {
    const char* p = *pp;
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
    int mins = 0;
    if (*p == ':') {
        ++p;
        if (!std::isdigit(static_cast<unsigned char>(p[0])) ||
            !std::isdigit(static_cast<unsigned char>(p[1])))
            return false;
        mins = (p[0] - '0') * 10 + (p[1] - '0');
        p += 2;
        if (mins > 59) return false;
    }
    *minutes = sign * (hours * 60 + mins);
    *pp = p;
    return true;
}

int16_t BaseOffset(const Location& loc, const SystemZone& system) {
    return static_cast<int16_t>(loc.useSystemTimeZone ? system.standardMinutes : loc.utcOffset);
}

}  // namespace

bool ParseTzVariable(const char* tz, SystemZone* out) {
    if (!tz || !out) return false;
    const char* p = tz;
    const int stdLetters = LetterRun(p);
    if (stdLetters < 3) return false;
    p += stdLetters;
    int minutes = 0;
    if (!ParseOffset(&p, &minutes)) return false;
    bool summer = false;
    if (*p != '\0') {
        // The summer zone's name, its own offset if given (not needed: the
        // summer hour is added as everywhere), and the switch rules after a
        // comma, which the system applies; only the name counts here.
        const int dstLetters = LetterRun(p);
        if (dstLetters < 3) return false;
        p += dstLetters;
        summer = true;
        if (*p != '\0' && *p != ',') {
            int ignored = 0;
            if (!ParseOffset(&p, &ignored)) return false;
        }
        if (*p == ',' && p[1] == '\0') return false;
        if (*p != '\0' && *p != ',') return false;
    }
    out->standardMinutes = static_cast<int16_t>(-minutes);
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
