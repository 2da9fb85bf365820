#include <windows.h>

#include <cstdlib>

#include "config/zone_offset.h"

namespace miravel {

SystemZone ReadSystemZone() {
    SystemZone zone;
    if (ParseTzVariable(std::getenv("TZ"), &zone)) return zone;
    TIME_ZONE_INFORMATION info{};
    const DWORD id = GetTimeZoneInformation(&info);
    zone.standardMinutes = static_cast<int16_t>(-(info.Bias + info.StandardBias));
    zone.daylightNow = id == TIME_ZONE_ID_DAYLIGHT;
    return zone;
}

}  // namespace miravel
