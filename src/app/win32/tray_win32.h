// The program's icon in the notification area: one record for the program's
// life, its tooltip, its balloons; and the time bar, the hidden main window
// shown as a caption-only bar.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string_view>

#include "app/tray_mouse.h"

namespace miravel {

inline constexpr UINT kTrayCallbackMessage = 1026;
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kBalloonTimeoutMs = 33333;

class Tray {
  public:
    // Start-up: the icon with its callback. The tooltip "Miravel" is stored
    // but not handed over, so the first tooltip is the first pass's text.
    // False when the shell refuses the icon.
    bool Add(HWND window, HICON icon);
    // The shell restarted ("TaskbarCreated"): the icon again, with the
    // tooltip it last had.
    void AddAgain();
    void SetTip(std::wstring_view text);
    // `icon`: 1 information, 2 warning, 3 error.
    void ShowBalloon(std::wstring_view title, std::wstring_view text, int icon);
    void Remove();

  private:
    NOTIFYICONDATAW data_ = {};
    bool added_ = false;
};

// Moves the main window to the time bar's place and shows or hides it there,
// without activating it: the bar never takes the focus.
void PlaceTimeBarWindow(HWND mainWindow, const TimeBarPlacement& placement);

}  // namespace miravel
