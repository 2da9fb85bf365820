// Where the program opens its dialogs: the menu's commands, the reminder of
// the notifications, and the scheduler's refresh of the times dialog. All are
// modal and owned by the main window; the scheduler keeps ticking inside them.
#include <windows.h>

#include "app/win32/app_win32.h"
#include "app/win32/dialogs_win32.h"

namespace miravel {

namespace {

INT_PTR RunDialog(App& app, const wchar_t* name, DLGPROC proc, void* param) {
    return DialogBoxParamW(app.instance, name, app.mainWindow, proc,
                           reinterpret_cast<LPARAM>(param));
}

}  // namespace

void CommandTargetWin32::RunTimesDialog() {
    RunDialog(app_, kTimesDialogName, TimesDialogProc, &app_);
}

int CommandTargetWin32::RunCalcParamsDialog() {
    return static_cast<int>(RunDialog(app_, kCalcParamsDialogName, CalcParamsDialogProc, &app_));
}

int CommandTargetWin32::RunOptionsDialog() {
    return static_cast<int>(RunDialog(app_, kOptionsDialogName, OptionsDialogProc, &app_));
}

void CommandTargetWin32::RunAboutDialog() {
    RunDialog(app_, kAboutDialogName, AboutDialogProc, &app_);
}

void CommandTargetWin32::RunTallyDialog(int index) {
    TallyDialogRequest request{&app_, index};
    RunDialog(app_, kTallyDialogName, TallyDialogProc, &request);
}

void NotifyPlatformWin32::OpenReminderDialog(const char* text, const char* buttonText,
                                             const char* buttonTip) {
    ReminderDialogRequest request{&app_, text, buttonText, buttonTip};
    RunDialog(app_, kReminderDialogName, ReminderDialogProc, &request);
}

void SchedulerEffectsWin32::RefreshTimesDialog() {
    RefreshTimesDialogWindow(app_);
}

}  // namespace miravel
