// The chart and wallpaper commands.
#include <windows.h>

#include "app/win32/app_win32.h"

namespace miravel {

namespace {

void NotReady(App& app) {
    MessageBoxW(app.mainWindow, L"Bu bölüm henüz hazır değil.", L"Miravel",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CommandTargetWin32::ShowChart(int) {
    NotReady(app_);
}

void CommandTargetWin32::SetWallpaperMode(int) {
    NotReady(app_);
}

}  // namespace miravel
