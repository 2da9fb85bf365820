#include <cstdlib>
#include <ctime>

#include "config/zone_offset.h"

namespace miravel {

SystemZone ReadSystemZone() {
    SystemZone zone;
    if (ParseTzVariable(std::getenv("TZ"), &zone)) return zone;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    zone.daylightNow = local.tm_isdst > 0;
    zone.standardMinutes = static_cast<int16_t>(local.tm_gmtoff / 60 - (zone.daylightNow ? 60 : 0));
    return zone;
}

}  // namespace miravel
