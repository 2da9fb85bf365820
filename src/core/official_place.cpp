#include "core/official_place.h"

#include <cmath>

#include "core/calendar.h"

namespace miravel {

namespace {

// A province centre as the settlement list gives it and the reference point
// of its official timetable, both in hundredths of a degree. Recovered from
// the official tables of the 81 provinces, 2022-2026 (the point on a
// 0.01-degree grid that gives the most exact minutes); provinces whose point
// is the list's own are left out, and so is Kırıkkale, whose published table
// is for another place.
struct ReferencePoint {
    int16_t listLatitude, listLongitude, latitude, longitude;
};
constexpr ReferencePoint kReferencePoints[] = {
#include "core/official_reference_points.inc"
};

}  // namespace

OfficialPlace::OfficialPlace(AstroState& s)
    : s_(s), latitudeRad_(s.latitudeRad), lonMin_(s.lonMin) {
    // The hundredths SetLocation was given.
    const long lat = std::lround(s.latitudeRad / LatitudeRadians(1));
    const long lon = std::lround(s.lonMin / LongitudeMinutes(1));
    for (const ReferencePoint& p : kReferencePoints) {
        if (p.listLatitude != lat || p.listLongitude != lon) continue;
        s.latitudeRad = LatitudeRadians(p.latitude);
        s.lonMin = LongitudeMinutes(p.longitude);
        return;
    }
}

OfficialPlace::~OfficialPlace() {
    s_.latitudeRad = latitudeRad_;
    s_.lonMin = lonMin_;
}

}  // namespace miravel
