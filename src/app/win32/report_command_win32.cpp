// The report commands: write the file beside the program and open it in the
// user's text viewer.
#include <windows.h>

#include <shellapi.h>

#include "app/commands.h"
#include "app/win32/app_win32.h"
#include "config/zone_offset.h"
#include "reports/report_file.h"

namespace miravel {

void CommandTargetWin32::WriteReport(int command) {
    ReportKind kind = ReportKind::Monthly;
    if (command == kCmdYearlyTimetable) {
        kind = ReportKind::Yearly;
    } else if (command == kCmdReligiousDays) {
        kind = ReportKind::ReligiousDays;
    } else if (command != kCmdMonthlyTimetable) {
        return;
    }
    // The program's base name with "txt", in the program's folder. Writing
    // raises the scheduler's countdown while the core is moved through the
    // days and releases it (0) afterwards, so the next tick's pass puts the
    // working date, clock and location back.
    const std::filesystem::path file = ReportPathFor(app_.paths.program);
    bool opened = false;
    WriteReportFile(app_.ps, kind, file, ReadSystemZone(), &opened);
    // A file that could not be created is given up without a word; one that
    // was cut short by a write error is shown as far as it got.
    if (!opened) return;
    // Without a viewer for "txt" the call fails; nothing else is to be done.
    ShellExecuteW(app_.mainWindow, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

}  // namespace miravel
