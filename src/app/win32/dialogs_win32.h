// The dialog procedures of the six dialogs. They only move text between the
// controls and the form rules of src/ui; the menu commands, the scheduler and
// the notifications open them (dialog_commands_win32.cpp).
#pragma once

#include <windows.h>

namespace miravel {

class App;

// Resource names of the dialog templates (resources/dialogs.rc).
inline constexpr wchar_t kCalcParamsDialogName[] = L"AstroDlg";
inline constexpr wchar_t kOptionsDialogName[] = L"SettingsDlg";
inline constexpr wchar_t kTimesDialogName[] = L"VakitDlg";
inline constexpr wchar_t kReminderDialogName[] = L"RemindDlg";
inline constexpr wchar_t kTallyDialogName[] = L"TallyDlg";
inline constexpr wchar_t kAboutDialogName[] = L"AboutDlg";

// What the reminder dialog shows; the texts are Windows-1254 and live as
// long as the dialog.
struct ReminderDialogRequest {
    App* app;
    const char* text;
    const char* buttonText;
    const char* buttonTip;
};

// Tally `index` 0..4 (menu entry 1063 + index, INI keys "Çetele-<index+1> ...").
struct TallyDialogRequest {
    App* app;
    int index;
};

// The creation parameter of these is the App.
INT_PTR CALLBACK CalcParamsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TimesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Creation parameter: a ReminderDialogRequest.
INT_PTR CALLBACK ReminderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Creation parameter: a TallyDialogRequest.
INT_PTR CALLBACK TallyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The times dialog while it is open, else null; the scheduler refreshes it.
HWND OpenTimesDialogWindow();
// Refills and resizes the open times dialog from the record.
void RefreshTimesDialogWindow(App& app);
// Whether the times dialog shows its astronomy panel; kept for the
// program's life, never saved.
bool TimesDialogWide();

}  // namespace miravel
