// The report file: one file beside the program, overwritten by every report
// and then shown in the user's text viewer.
#pragma once

#include <filesystem>
#include <string>

#include "config/program_state.h"
#include "config/zone_offset.h"

namespace miravel {

enum class ReportKind {
    Monthly,        // "Aylık İmsakiye"
    Yearly,         // "Yıllık İmsakiye"
    ReligiousDays,  // "Dini Günler"
};

// The report's bytes for the working date of ps.workTime, from the core in
// the state the caller left it (the header's qibla and declination are taken
// from it). Leaves ticksToNextRun at 0.
std::string BuildReport(ProgramState& ps, ReportKind kind, const SystemZone& system);

// The program's path with the extension "txt".
std::filesystem::path ReportPathFor(const std::filesystem::path& programPath);

// Writes the report to `path`, replacing the file. When the file cannot be
// opened nothing else happens: the core and ticksToNextRun are untouched and
// `*opened` (when given) is false. Returns true only when the whole report
// reached the file; a write error leaves what was written, with `*opened`
// true, and returns false.
bool WriteReportFile(ProgramState& ps, ReportKind kind, const std::filesystem::path& path,
                     const SystemZone& system, bool* opened = nullptr);

}  // namespace miravel
