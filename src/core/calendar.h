// Calendar arithmetic on the working date, the Turkish name tables, and the
// zone-offset inputs. The leap rule is the four-year one (right for 1901-2099).
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// Latitude and longitude in hundredths of a degree, north and east positive.
void SetLocation(AstroState& s, int16_t latitude, int16_t longitude, int16_t zoneMinutes);
// The state's forms of them: radians, and minutes of time.
float LatitudeRadians(int16_t latitude);
float LongitudeMinutes(int16_t longitude);
void SetDate(AstroState& s, int16_t day, int16_t month, int16_t year);
void SetClock(AstroState& s, int16_t hour, int16_t minute);

// The same arithmetic on any date, for callers that walk through dates.
bool IsLeapYear(int year);
int DayOfYearOf(int day, int month, int year);
int32_t DayNumberOf(int day, int month, int year);  // days since 2000-01-01
int WeekdayOf(int day, int month, int year);        // 1 = Monday ... 7 = Sunday

int16_t DayOfYear(const AstroState& s);
int32_t DayNumber(const AstroState& s);
int Weekday(const AstroState& s);

// Month (1..13) and day of month of day-of-year n in `year`; returns the
// cumulative day count through the month found. Day one past the year's end
// gives month 13, day 1.
int MonthAndDay(int year, int n, int* month, int* dayOfMonth);
inline int MonthAndDay(const AstroState& s, int n, int* month, int* dayOfMonth) {
    return MonthAndDay(s.year, n, month, dayOfMonth);
}

const char* WeekdayName(int16_t index);       // 1..7, Monday first
const char* ShortWeekdayName(int16_t index);  // 1..7
const char* MonthName(int16_t index);         // 1..12

// Summer time as the timetables assume it ("Avrupa"): from the last Sunday of
// March through the day before the last Sunday of October, reversed south of
// the equator.
bool SummerTimeRule(int day, int month, int year, bool southern);

}  // namespace miravel
