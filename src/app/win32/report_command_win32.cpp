// The report commands: write the file beside the program and open it in the
// user's text viewer, or the Ramazan imsakiye page in the user's browser.
#include <windows.h>

#include <shellapi.h>

#include "app/commands.h"
#include "app/win32/app_win32.h"
#include "config/codepage.h"
#include "config/zone_offset.h"
#include "reports/report_file.h"
#include "reports/timetable_page.h"
#include "ui/win32/dialog_support_win32.h"

namespace miravel {

namespace {

// Unlike a text report, a page that cannot be written or opened is told: the
// user asked for something to print and waits for it.
void OpenRamadanPage(App& app) {
    const std::filesystem::path page = PagePathFor(app.paths.program);
    const WorkTime today = app.environment.LocalTimeNow();
    const char* failure = nullptr;
    if (!WriteTimetablePage(app.ps, PageKind::Ramadan, page, ReadSystemZone(), today)) {
        failure = "İmsakiye sayfası yazılamadı:\n";
    } else if (!OpenWithShell(app.mainWindow, page.wstring())) {
        failure = "İmsakiye sayfası açılamadı:\n";
    }
    if (failure == nullptr) return;
    const std::string text = failure + Utf16ToCp1254(page.u16string());
    app.notifications.ShowRequestFailure(text.c_str());
}

}  // namespace

void CommandTargetWin32::WriteReport(int command) {
    if (command == kCmdRamadanPage) {
        OpenRamadanPage(app_);
        return;
    }
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
