// The religious days and nights of the working year, as the text of the
// report file.
#pragma once

#include <string>

#include "config/program_state.h"

namespace miravel {

// Appends the list for the year of ps.workTime to `out`, bytes as they go into
// the file. Moves the core's working date through the year and leaves the
// location and zone as they were; ticksToNextRun = 0 afterwards asks the
// scheduler to restore the date.
void WriteReligiousDaysReport(ProgramState& ps, std::string* out);

}  // namespace miravel
