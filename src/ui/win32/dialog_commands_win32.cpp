// The menu's dialogs.
#include <windows.h>

#include "app/win32/app_win32.h"

namespace miravel {

namespace {

void NotReady(App& app) {
    MessageBoxW(app.mainWindow, L"Bu bölüm henüz hazır değil.", L"Miravel",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CommandTargetWin32::RunTimesDialog() {
    NotReady(app_);
}

int CommandTargetWin32::RunCalcParamsDialog() {
    NotReady(app_);
    return 0;
}

int CommandTargetWin32::RunOptionsDialog() {
    NotReady(app_);
    return 0;
}

void CommandTargetWin32::RunAboutDialog() {
    NotReady(app_);
}

void CommandTargetWin32::RunTallyDialog(int) {
    NotReady(app_);
}

}  // namespace miravel
