// The clock offset in effect: the base offset (configured, or the system's
// standard offset) plus the summer hour (configured, or the system's).
#pragma once

#include <cstdint>

#include "config/program_state.h"

namespace miravel {

struct SystemZone {
    int16_t standardMinutes = 0;  // east of UTC, without summer time
    bool daylightNow = false;     // summer time in effect at this moment
};

// "TZ" of the form a zone name of three or more letters, a signed hour
// offset (optionally ":mm") and optionally the summer zone's name with its own
// offset and the switch rules after a comma ("EET-2EEST", "CET-1",
// "EST+5EDT", "CET-1CEST,M3.5.0,M10.5.0/3"): standard offset = -offset,
// summer time = the summer name is present. Returns false for anything else,
// leaving `out` alone.
bool ParseTzVariable(const char* tz, SystemZone* out);

// The system's zone now: "TZ" when it parses, else the platform's own
// information. Implemented per platform.
SystemZone ReadSystemZone();

// Zone of the running clock: the system's summer flag is the one in effect now.
int16_t ZoneOffsetNow(const Location& loc, const SystemZone& system);

// Zone for a given date (timetables, graphs): the system's summer flag is
// replaced by the European rule for that date.
int16_t ZoneOffsetForDate(const Location& loc, const SystemZone& system, int day, int month,
                          int year);

}  // namespace miravel
