#include "app/win32/tray_win32.h"

#include "base/win32/wide_text.h"

namespace miravel {

void Tray::Init(HWND window, HICON icon) {
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.hIcon = icon;
    CopyToField(L"Miravel", data_.szTip, ARRAYSIZE(data_.szTip));
    data_.uTimeout = kBalloonTimeoutMs;
}

bool Tray::AddIcon(bool withTip) {
    data_.uFlags = NIF_MESSAGE | NIF_ICON | (withTip ? NIF_TIP : 0);
    return Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

bool Tray::ModifyIcon() {
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

bool Tray::DeleteIcon() {
    data_.uFlags = 0;
    return Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
}

void Tray::SetTip(std::wstring_view text) {
    CopyToField(text, data_.szTip, ARRAYSIZE(data_.szTip));
    data_.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void Tray::ShowBalloon(std::wstring_view title, std::wstring_view text, int icon) {
    CopyToField(title, data_.szInfoTitle, ARRAYSIZE(data_.szInfoTitle));
    CopyToField(text, data_.szInfo, ARRAYSIZE(data_.szInfo));
    data_.dwInfoFlags = static_cast<DWORD>(icon);
    data_.uTimeout = kBalloonTimeoutMs;
    data_.uFlags = NIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &data_);
    // Later modifications must not show the balloon again.
    data_.szInfo[0] = L'\0';
    data_.szInfoTitle[0] = L'\0';
}

void PlaceTimeBarWindow(HWND mainWindow, const TimeBarPlacement& p) {
    SetWindowPos(mainWindow, p.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, p.x, p.y, p.width, p.height,
                 (p.show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOACTIVATE);
}

}  // namespace miravel
