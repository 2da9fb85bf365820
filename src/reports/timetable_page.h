// The timetables as one printable web page: the imsakiye a family prints and
// hangs up. UTF-8, self-contained (no scripts, nothing fetched), laid out for
// A4 portrait with one month to a printed page. The times are those of the
// text report, day by day.
#pragma once

#include <filesystem>
#include <string>

#include "config/program_state.h"
#include "config/zone_offset.h"

namespace miravel {

enum class PageKind {
    Monthly,  // the month of the working date
    Yearly,   // every month of its year, a printed page each
    Ramadan,  // Ramazan of the working date's Hijri year; the next one once it is over
};

// The Gregorian days of one Ramazan.
struct RamadanSpan {
    int day = 0, month = 0, year = 0;  // the date of 1 Ramazan
    int length = 0;                    // 29 or 30 days
    int hijriYear = 0;
};

// The Ramazan a page for the date (day, month, year) shows, by the calendar
// option the core holds (s.officialHijri). Moves the core's working date.
RamadanSpan FindRamadan(AstroState& s, int day, int month, int year);

// The page for the working date of ps.workTime; `today` (day, month, year)
// is the row highlighted on screen. Moves the core's working date, clock and
// location like the text report does, and leaves ticksToNextRun at 0 so that
// the scheduler's next pass puts them back.
std::string BuildTimetablePage(ProgramState& ps, PageKind kind, const SystemZone& system,
                               const WorkTime& today);

// The program's path with "-imsakiye.html" in place of its extension: the
// program's base name with "html" is already the manual's page.
std::filesystem::path PagePathFor(const std::filesystem::path& programPath);

// Writes the page to `path`, replacing the file. False when the file cannot
// be opened (then the core is untouched) or not every byte reached it.
bool WriteTimetablePage(ProgramState& ps, PageKind kind, const std::filesystem::path& path,
                        const SystemZone& system, const WorkTime& today);

}  // namespace miravel
