// The monthly and yearly timetables (imsakiye) and, with the monthly one, the
// tables of the sun's and the moon's azimuth, as the text of the report file.
#pragma once

#include <cstdint>
#include <string>

#include "config/program_state.h"
#include "config/zone_offset.h"

namespace miravel {

// Walks the days of a timetable and prepares the astronomy core for each
// printed day. With the system's summer time the walk carries its own summer
// flag: set afresh at the start of each month and turned over on the last
// Sunday of March and of October, so a table shows the change on that Sunday.
class TimetableWalk {
  public:
    // `baseOffset`: minutes east of UTC without the summer hour.
    TimetableWalk(ProgramState& ps, int16_t baseOffset, int year);

    // Day 1 of `month`, summer flag set for the month.
    void StartMonth(int month);
    // Sets the core's date, turns the summer flag when due, and sets the
    // location with the zone of the day. Call once per printed day.
    void PrepareDay();
    // Moves to the next day; false when that day starts another month
    // (month 13 after 31 December).
    bool NextDay();

    int Day() const { return day_; }
    int Month() const { return month_; }
    bool Summer() const { return summer_; }

  private:
    ProgramState& ps_;
    int16_t baseOffset_;
    int year_;
    int day_ = 1;
    int month_ = 1;
    bool summer_ = false;
};

// The offset printed as "SAAT FARKI" and used as the base of every day:
// the system's standard offset or the configured one.
int16_t TimetableBaseOffset(const Location& loc, const SystemZone& system);

// Appends the report for the month of ps.workTime (or every month of its year)
// to `out`, bytes as they go into the file. Moves the core's working date,
// clock and location; the scheduler's next pass, which ticksToNextRun = 0 asks
// for, puts them back.
void WriteTimetableReport(ProgramState& ps, bool yearly, const SystemZone& system,
                          std::string* out);

}  // namespace miravel
