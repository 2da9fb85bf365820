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
// Timer of the main window that retries the icon while the shell refuses it.
inline constexpr UINT_PTR kTrayRetryTimerId = 7;

class Tray {
  public:
    // The one record for the program's life. The tooltip "Miravel" is
    // stored; the first pass replaces it.
    void Init(HWND window, HICON icon);
    // NIM_ADD with icon and callback, and the tooltip when `withTip`. At
    // start-up the tooltip is left to the first pass.
    bool AddIcon(bool withTip);
    // NIM_MODIFY with icon, callback and tooltip: the icon the shell holds,
    // refreshed.
    bool ModifyIcon();
    bool DeleteIcon();
    void SetTip(std::wstring_view text);
    // `icon`: 1 information, 2 warning, 3 error.
    void ShowBalloon(std::wstring_view title, std::wstring_view text, int icon);

  private:
    NOTIFYICONDATAW data_ = {};
};

// Moves the main window to the time bar's place and shows or hides it there,
// without activating it: the bar never takes the focus.
void PlaceTimeBarWindow(HWND mainWindow, const TimeBarPlacement& placement);

}  // namespace miravel
