// The moon from a short analytic theory (six longitude and eight distance
// terms): position, distance, phase, illumination, and one code telling
// whether an eclipse is possible or the crescent can be seen.
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// The moon (and the sun it needs) one minute after local clock minute e of
// the working date. Fills the moon group; overwrites the sun's working values
// (transit, offset, declination, altitude). Touches no cache flag.
void EvaluateMoon(AstroState& s, int e);

// Runs EvaluateMoon at clockMinutes, keeps the sun distance, illumination and
// visibility code, sets moonValid. Returns MoonPhaseAngle.
int16_t ComputeMoon(AstroState& s);

// The getters compute first when moonValid is clear.
int16_t MoonPhaseAngle(AstroState& s);    // tenths of a degree, 0..3599, 0 = new moon
int16_t MoonLatitude(AstroState& s);      // ecliptic latitude, tenths of a degree
int16_t MoonIllumination(AstroState& s);  // per mille
int16_t MoonAltitude(AstroState& s);      // topocentric, tenths of a degree
int16_t MoonAzimuth(AstroState& s);       // tenths of a degree, 0..3599
int16_t MoonDistance(AstroState& s);      // topocentric, units of 100 km
int16_t SunDistance(AstroState& s);       // units of 0.1 Gm

// Visibility code for the given crescent setting and observer height (m):
// 100 visible here, -100 visible elsewhere on Earth, 0 too close to the sun,
// another positive value a solar-eclipse index, another negative value a
// lunar-eclipse index. Recomputes only when an argument differs from the
// stored setting or moonValid is clear.
int16_t MoonVisibility(AstroState& s, int16_t crescent, int16_t height);

}  // namespace miravel
