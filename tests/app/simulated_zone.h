// The zone a simulated computer keeps: its place's standard offset and, where
// the system reports it, the EU summer hour from 01:00 UT of the last Sunday
// of March to 01:00 UT of the last Sunday of October.
#pragma once

#include <cstdint>

#include "app/day_plan.h"
#include "core/calendar.h"

namespace miravel {

inline constexpr int64_t kFileTimeUnitsPerSecond = 10'000'000;

// Universal seconds since 1601 of an hour of a date.
inline int64_t UtcSeconds(int day, int month, int year, int hour) {
    WorkTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    return LocalFileTime(t) / kFileTimeUnitsPerSecond;
}

class SimulatedZone {
  public:
    SimulatedZone(int16_t standardMinutes, bool summerFromSystem, int year)
        : standardMinutes_(standardMinutes), summerFromSystem_(summerFromSystem) {
        auto lastSunday = [year](int month) {
            int day = 31;
            while (WeekdayOf(day, month, year) != 7)
                --day;
            return day;
        };
        summerStart_ = UtcSeconds(lastSunday(3), 3, year, 1);
        summerEnd_ = UtcSeconds(lastSunday(10), 10, year, 1);
    }
    bool Summer(int64_t utc) const {
        return summerFromSystem_ && utc >= summerStart_ && utc < summerEnd_;
    }
    int16_t ZoneAt(int64_t utc) const {
        return static_cast<int16_t>(standardMinutes_ + (Summer(utc) ? 60 : 0));
    }
    SystemZone SystemZoneAt(int64_t utc) const { return {standardMinutes_, Summer(utc)}; }

  private:
    int16_t standardMinutes_;
    bool summerFromSystem_;
    int64_t summerStart_ = 0, summerEnd_ = 0;
};

}  // namespace miravel
