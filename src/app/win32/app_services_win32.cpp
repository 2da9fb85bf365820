// The Windows calls behind the scheduler's environment and effects, the
// notifications' primitives and the menu commands.
#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "app/manual.h"
#include "app/win32/app_win32.h"
#include "base/win32/wide_text.h"
#include "config/codepage.h"
#include "config/settings.h"
#include "config/zone_offset.h"
#include "net/win32/time_client.h"
#include "ui/win32/dialog_support_win32.h"

namespace miravel {

namespace {

void SetMenuEntryState(HMENU menu, int command, bool enabled) {
    if (menu == nullptr) return;
    EnableMenuItem(menu, static_cast<UINT>(command),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

struct TitledWindows {
    HWND exclude;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMiravelWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<TitledWindows*>(param);
    if (hwnd == search->exclude) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    wchar_t title[16];
    if (GetWindowTextW(hwnd, title, 16) != 7 || lstrcmpW(title, L"Miravel") != 0) return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

class DocumentShellWin32 final : public DocumentShell {
  public:
    explicit DocumentShellWin32(HWND owner) : owner_(owner) {}
    bool Exists(const std::filesystem::path& file) override {
        std::error_code ec;
        return std::filesystem::is_regular_file(file, ec);
    }
    bool Open(const std::filesystem::path& file) override {
        return OpenWithShell(owner_, file.wstring());
    }

  private:
    HWND owner_;
};

}  // namespace

void OpenManualFiles(HWND owner, const ProgramPaths& paths) {
    DocumentShellWin32 shell(owner);
    OpenManual(shell, paths.manual);
}

bool ManualFilesPresent(const ProgramPaths& paths) {
    DocumentShellWin32 shell(nullptr);
    return ManualAvailable(shell, paths.manual);
}

// ---------------------------------------------------------------------------
// Notifications.

void NotifyPlatformWin32::ShowBox(bool ownedByMainWindow, const char* caption, const char* text,
                                  unsigned flags) {
    MessageBoxW(ownedByMainWindow ? app_.mainWindow : nullptr, Wide(text).c_str(),
                Wide(caption).c_str(), flags);
}

void NotifyPlatformWin32::ShowTrayBalloon(const char* title, const char* text, int icon) {
    SetForegroundWindow(app_.mainWindow);
    app_.tray.ShowBalloon(Wide(title), Wide(text), icon);
}

void NotifyPlatformWin32::CloseMiravelWindow() {
    // Only this program's own boxes: the main window carries the same title
    // until the first pass, and other programs' windows are not ours to close.
    TitledWindows search{app_.mainWindow, {}};
    EnumWindows(CollectMiravelWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND hwnd : search.found)
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------
// The tray icon's shell side.

bool TrayShellIconWin32::AddIcon(bool withTip) {
    return app_.tray.AddIcon(withTip);
}

bool TrayShellIconWin32::ModifyIcon() {
    return app_.tray.ModifyIcon();
}

bool TrayShellIconWin32::DeleteIcon() {
    return app_.tray.DeleteIcon();
}

void TrayShellIconWin32::StartRetryTimer(unsigned ms) {
    SetTimer(app_.mainWindow, kTrayRetryTimerId, ms, nullptr);
}

void TrayShellIconWin32::StopRetryTimer() {
    KillTimer(app_.mainWindow, kTrayRetryTimerId);
}

// ---------------------------------------------------------------------------
// Scheduler environment.

WorkTime SchedulerEnvironmentWin32::LocalTimeNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    WorkTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.dayOfWeek = st.wDayOfWeek;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.milliseconds = st.wMilliseconds;
    return t;
}

SystemZone SchedulerEnvironmentWin32::SystemZoneNow() {
    return ReadSystemZone();
}

std::string SchedulerEnvironmentWin32::LastReligiousDay() {
    return ReadLastReligiousDay(app_.paths.ini);
}

void SchedulerEnvironmentWin32::SetLastReligiousDay(uint16_t day, uint16_t month, uint16_t year) {
    WriteLastReligiousDay(app_.paths.ini, day, month, year);
}

// ---------------------------------------------------------------------------
// Scheduler effects.

void SchedulerEffectsWin32::SetRemainingTimeText(const char* text) {
    const std::wstring wide = Wide(text);
    SetWindowTextW(app_.mainWindow, wide.c_str());
    app_.tray.SetTip(wide);
}

void SchedulerEffectsWin32::ShowNotice(const char* text) {
    app_.notifications.ShowNotice(text);
}

void SchedulerEffectsWin32::ShowReligiousDayWarning(const char* text) {
    app_.notifications.ShowReligiousDayWarning(text);
}

void SchedulerEffectsWin32::ShowReminder(int endingName, unsigned lead) {
    app_.notifications.ShowReminder(endingName, lead);
}

void SchedulerEffectsWin32::PlaySoundFile(const char* file) {
    app_.playback.PlaySoundFile(file);
}

void SchedulerEffectsWin32::PlayAdhan(int slot) {
    app_.playback.PlayAdhan(slot);
}

bool SchedulerEffectsWin32::ArmWakeTimer(int64_t localFileTime) {
    const OptionalFunctions& f = app_.functions;
    // Without the waitable timer the computer cannot be woken at all.
    if (f.setWaitableTimer == nullptr || app_.wakeTimer == nullptr) return true;
    FILETIME local;
    local.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(localFileTime));
    local.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(localFileTime) >> 32);
    FILETIME utc;
    if (!LocalFileTimeToFileTime(&local, &utc)) return false;
    LARGE_INTEGER due;
    due.LowPart = utc.dwLowDateTime;
    due.HighPart = static_cast<LONG>(utc.dwHighDateTime);
    // Windows reports a missing resume ability only through the last error.
    SetLastError(ERROR_SUCCESS);
    f.setWaitableTimer(app_.wakeTimer, &due, 0, nullptr, nullptr, TRUE);
    return GetLastError() == ERROR_NOT_SUPPORTED;
}

void SchedulerEffectsWin32::CancelWakeTimer() {
    if (app_.functions.cancelWaitableTimer != nullptr && app_.wakeTimer != nullptr)
        app_.functions.cancelWaitableTimer(app_.wakeTimer);
}

void SchedulerEffectsWin32::SyncClockSilently() {
    SyncClock(true);
    // The correction announces the new time with a posted WM_TIMECHANGE:
    // taken here, while the scheduler still knows it as its own.
    MSG msg;
    while (PeekMessageW(&msg, app_.mainWindow, WM_TIMECHANGE, WM_TIMECHANGE, PM_REMOVE))
        OnTimeChange(app_.ps);
}

void SchedulerEffectsWin32::RepostChart(int32_t chartCommand) {
    PostMessageW(app_.mainWindow, WM_COMMAND, static_cast<WPARAM>(chartCommand), 0);
}

void SchedulerEffectsWin32::SetMenuEntryEnabled(int command, bool enabled) {
    SetMenuEntryState(app_.popupMenu, command, enabled);
}

// ---------------------------------------------------------------------------
// Menu commands.

void CommandTargetWin32::SetMenuChecked(int command, bool checked) {
    if (app_.popupMenu == nullptr) return;
    CheckMenuItem(app_.popupMenu, static_cast<UINT>(command),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CommandTargetWin32::SetMenuEnabled(int command, bool enabled) {
    SetMenuEntryState(app_.popupMenu, command, enabled);
}

void CommandTargetWin32::StopSound() {
    app_.playback.StopSound();
}

void CommandTargetWin32::PlaySoundFile(const char* file) {
    app_.playback.PlaySoundFile(file);
}

void CommandTargetWin32::ChooseAdhanFile(int slot) {
    app_.playback.ChooseAdhanFile(slot, app_.paths.ini);
}

void CommandTargetWin32::OpenManual() {
    OpenManualFiles(app_.mainWindow, app_.paths);
}

void CommandTargetWin32::OpenUrl(const char* url) {
    OpenWithShell(app_.mainWindow, url);
}

void CommandTargetWin32::SyncClockInteractive() {
    SyncClock(false);
    // As the silent correction: its announcement taken while it is known as
    // the program's own.
    MSG msg;
    while (PeekMessageW(&msg, app_.mainWindow, WM_TIMECHANGE, WM_TIMECHANGE, PM_REMOVE))
        OnTimeChange(app_.ps);
}

void CommandTargetWin32::DestroyMainWindow() {
    DestroyWindow(app_.mainWindow);
}

Autostart& CommandTargetWin32::AutostartSetting() {
    return *app_.autostart;
}

std::filesystem::path CommandTargetWin32::ProgramPath() {
    return app_.paths.program;
}

void CommandTargetWin32::ReportSaveFailure() {
    const std::string text =
        "Ayarlar dosyaya yazılamadı:\n" + Utf16ToCp1254(app_.paths.ini.u16string());
    app_.notifications.ShowFailure(text.c_str());
}

}  // namespace miravel
