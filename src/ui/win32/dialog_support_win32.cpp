#include "ui/win32/dialog_support_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "base/win32/wide_text.h"

namespace miravel {

namespace {

constexpr int kTipMaxWidth = 333;
constexpr UINT kRefusalMs = 333;
// Timer ids of the refusal signal: this base plus the button's id.
constexpr UINT_PTR kRefusalTimerBase = 0x4D00;

void CALLBACK EndRefusal(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    EnableWindow(GetDlgItem(dialog, static_cast<int>(timer - kRefusalTimerBase)), TRUE);
}

}  // namespace

std::string Win32DialogControls::Text(int id) {
    const HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return {};
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(control, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return Narrow(text);
}

void Win32DialogControls::SetText(int id, const char* text) {
    SetDlgItemTextW(dialog_, id, Wide(text).c_str());
}

void Win32DialogControls::Enable(int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog_, id), enabled ? TRUE : FALSE);
}

void Win32DialogControls::Check(int id, bool checked) {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogControls::Focus(int id) {
    const HWND control = GetDlgItem(dialog_, id);
    if (control != nullptr)
        SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

int Win32DialogControls::FocusedControl() {
    const HWND focus = GetFocus();
    if (focus == nullptr || GetParent(focus) != dialog_) return 0;
    return GetDlgCtrlID(focus);
}

void Win32DialogControls::SetCaption(const char* text) {
    SetWindowTextW(dialog_, Wide(text).c_str());
}

void AddControlTip(int id, HWND dialog, const char* text) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return;
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return;
    std::wstring wide = Wide(text);
    TOOLINFOW info = {};
    // The first layout of the record, which every version of the common
    // controls accepts.
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
}

void AddControlTips(HWND dialog, const ControlTip* (*table)(int* count)) {
    int count = 0;
    const ControlTip* tips = table(&count);
    for (int i = 0; i < count; ++i)
        AddControlTip(tips[i].id, dialog, tips[i].text);
}

void SignalRefusal(HWND dialog, int buttonId) {
    EnableWindow(GetDlgItem(dialog, buttonId), FALSE);
    MessageBeep(MB_ICONEXCLAMATION);
    SetTimer(dialog, kRefusalTimerBase + static_cast<UINT_PTR>(buttonId), kRefusalMs, EndRefusal);
}

bool OpenWithShell(HWND owner, const char* target) {
    return OpenWithShell(owner, Wide(target));
}

bool OpenWithShell(HWND owner, const std::wstring& wide) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = wide.c_str();
    info.nShow = SW_SHOWMAXIMIZED;
    return ShellExecuteExW(&info) != FALSE;
}

void SetDialogData(HWND dialog, void* data) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
}

}  // namespace miravel
