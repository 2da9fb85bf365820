// The sun and the ten prayer times of the working date.
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// Display names of the ten times, indexed by Vakit (index 0 is empty).
const char* VakitName(int v);

void SetTemkins(AstroState& s, const int16_t temkins[kVakitCount]);
// Angles in hundredths of a degree.
void SetAnglesAndMode(AstroState& s, int16_t imsakAngle, int16_t yatsiAngle, int16_t mode);

// The sun at the working date for the instant `offset` minutes from the
// previous transit; refines transit toward the true one on each call.
void EvaluateSun(AstroState& s);
double LocalTransit(const AstroState& s);

// Minute of the local day, 0..1439. Call for Vakit 1..10 in ascending order
// after SetLocation and SetDate: later times use hour angles of earlier ones.
uint16_t ComputeVakit(AstroState& s, int v);
// Convenience: all ten, in order, into out[0..9].
void ComputeDayTimes(AstroState& s, int32_t out[kVakitCount]);

// The minute at which Vakit v of a day's times really falls, counted from
// that date's midnight: an evening time after midnight (a late YATSI) lies
// past 1439, a morning time before midnight (an early İMSAK) below 0.
int VakitInstant(const int32_t times[kVakitCount], int v);

int16_t NormalizeMinutes(int16_t m);

// The sun one minute after local clock minute e; leaves the hour angle in
// radians in offset and the altitude in degrees.
void SunNow(AstroState& s, int e);

int16_t SunAzimuth(AstroState& s);      // tenths of a degree, 0..3599
int16_t SunAltitude(AstroState& s);     // tenths of a degree
int16_t SunLongitude(AstroState& s);    // tenths of a degree, 0..3599
int16_t SunDeclination(AstroState& s);  // tenths of a degree
int16_t EquationOfTime(AstroState& s);  // tenths of a minute

// Azimuth of a body at declination-like angle d (radians) for the hour angle
// held in offset (radians); tenths of a degree from north through east.
int16_t Azimuth(const AstroState& s, double d);

}  // namespace miravel
