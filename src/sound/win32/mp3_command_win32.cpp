// The MP3-to-WAV wrapper command.
#include <windows.h>

#include "app/win32/app_win32.h"

namespace miravel {

namespace {

void NotReady(App& app) {
    MessageBoxW(app.mainWindow, L"Bu bölüm henüz hazır değil.", L"Miravel",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CommandTargetWin32::ConvertMp3ToWav() {
    NotReady(app_);
}

}  // namespace miravel
