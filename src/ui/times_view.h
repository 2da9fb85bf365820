// What the times-and-astronomy dialog "VakitDlg" shows: the settlement in its
// title, the ten times, the calendar block and the sun, moon and magnetic
// values of the working date and minute, all taken from the astronomy core
// as the scheduler left it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/program_state.h"
#include "ui/dialog_controls.h"

namespace miravel {

// Outer sizes of the dialog in dialog units.
struct DialogSize {
    int width, height;
};
inline constexpr DialogSize kTimesWide = {254, 301};
inline constexpr DialogSize kTimesNarrow = {117, 230};

// "%s / %s  (%5.2f°%c, %5.2f°%c, %+5.2f)": city, country, |latitude| with
// K or G, |longitude| with D or B, the clock offset in effect in hours.
void FormatTimesTitle(const Location& l, int zoneMinutes, char* out, size_t size);

// Three lines: the date with weekday and clock, then the Hijri date and the
// religious day; on an ordinary day the Hijri date moves to the third line.
void FormatCalendarBlock(const WorkTime& t, int hijriDay, const char* hijriMonthName,
                         int hijriYear, const char* religiousDay, char* out, size_t size);

// The line under the panel for a visibility or eclipse code; empty for 0.
void FormatVisibilityNote(int code, char* out, size_t size);

// Fills the caption, the ten times, the calendar block, the angles, the
// panel and the note, and enables the declination by its reliability.
// Moves the core's working values (never its date, clock or location).
void FillTimesDialog(ProgramState& ps, DialogControls& c);

}  // namespace miravel
