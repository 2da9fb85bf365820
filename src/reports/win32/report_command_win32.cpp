// The report commands: write the file beside the program and open it.
#include <windows.h>

#include "app/win32/app_win32.h"

namespace miravel {

namespace {

void NotReady(App& app) {
    MessageBoxW(app.mainWindow, L"Bu bölüm henüz hazır değil.", L"Miravel",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CommandTargetWin32::WriteReport(int) {
    NotReady(app_);
}

}  // namespace miravel
