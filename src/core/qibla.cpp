#include "core/qibla.h"

#include "core/sun.h"

namespace miravel {

namespace {

constexpr float kKaabaLatitudeRad = 0.3738937f;             // 21.4225 N
constexpr float kKaabaLongitudeRad = 0.6950977f;            // 39.8262 E
constexpr double kRadiansPerMinute = 0.004363323129985824;  // pi / 720

}  // namespace

int16_t QiblaBearing(AstroState& s) {
    // The bearing of a body is that of the Kaaba when its "hour angle" is the
    // difference in longitude and its "declination" the Kaaba's latitude.
    s.offset = static_cast<float>(s.lonMin * kRadiansPerMinute - kKaabaLongitudeRad);
    return Azimuth(s, kKaabaLatitudeRad);
}

}  // namespace miravel
