// The Hijri date found from the moon: a month begins on the first date on
// which, at the start of the UT day, the moon stands at least 8 degrees east of
// the sun. Also the religious days and nights of the Turkish calendar.
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// Day of the Hijri month (1..30) of the working date. Fills hijriMonth and
// hijriYear and sets hijriValid; overwrites the moon values and clears
// moonValid. Never cached: every call repeats the search.
int HijriDay(AstroState& s);
// The month (1..12) and year of the working date, from the cache when valid.
int16_t HijriMonth(AstroState& s);
int16_t HijriYear(AstroState& s);

const char* HijriMonthName(int16_t index);  // 1..12; index 0 is empty

// Name of the religious day (or night, the evening of the working date) of
// the working date, or the empty string. Leaves hijriValid clear.
const char* ReligiousDayName(AstroState& s);

}  // namespace miravel
