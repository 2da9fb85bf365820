// The running Windows program: its handles, paths and settings, and the
// Windows implementations of the scheduler's, the notifications' and the
// commands' interfaces. There is one, created by the program's entry point
// and reached through TheApp() by the window procedures and dialogs.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "app/commands.h"
#include "app/notifications.h"
#include "app/scheduler.h"
#include "app/tray_icon.h"
#include "app/win32/tray_win32.h"
#include "config/autostart.h"
#include "config/program_state.h"
#include "sound/playback.h"
#include "sound/win32/playback_win32.h"

namespace miravel {

inline constexpr wchar_t kMainClassName[] = L"Miravel";
inline constexpr wchar_t kGraphClassName[] = L"MiravelGraph";
inline constexpr wchar_t kMenuResourceName[] = L"Pop";
inline constexpr wchar_t kIconResourceName[] = L"_ICON_";
inline constexpr wchar_t kMoonResourceName[] = L"_MOON_";
inline constexpr wchar_t kEarthResourceName[] = L"_EARTH_";

inline constexpr UINT_PTR kClickTimerId = 4;
inline constexpr UINT_PTR kSchedulerTimerId = 5;
inline constexpr UINT kSchedulerPeriodMs = 1000;
inline constexpr int kTimeBarHotKeyId = 9876;
inline constexpr BYTE kTimeBarOpacity = 192;

// System functions that older Windows versions lack, looked up at start-up.
struct OptionalFunctions {
    using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    using CancelWaitableTimerFn = BOOL(WINAPI*)(HANDLE);
    using CreateWaitableTimerWFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR);
    using SetWaitableTimerFn = BOOL(WINAPI*)(HANDLE, const LARGE_INTEGER*, LONG, PTIMERAPCROUTINE,
                                             LPVOID, BOOL);
    using SetThreadUILanguageFn = LANGID(WINAPI*)(LANGID);
    using URLDownloadToFileWFn = HRESULT(WINAPI*)(void*, LPCWSTR, LPCWSTR, DWORD, void*);
    using ChangeWindowMessageFilterExFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);

    SetLayeredWindowAttributesFn setLayeredWindowAttributes = nullptr;
    CancelWaitableTimerFn cancelWaitableTimer = nullptr;
    CreateWaitableTimerWFn createWaitableTimer = nullptr;
    SetWaitableTimerFn setWaitableTimer = nullptr;
    SetThreadUILanguageFn setThreadUILanguage = nullptr;
    URLDownloadToFileWFn urlDownloadToFile = nullptr;
    ChangeWindowMessageFilterExFn changeWindowMessageFilterEx = nullptr;
};

// A bitmap resource held in memory for the program's life: a packed DIB.
struct ResourceBytes {
    const void* data = nullptr;
    size_t size = 0;
};

struct ProgramPaths {
    std::filesystem::path program;                // the program file
    std::filesystem::path directory;              // its folder, the current directory
    std::filesystem::path ini;                    // base name + ".ini"
    std::array<std::filesystem::path, 2> manual;  // base name + ".rtf", + ".html"
    std::filesystem::path icon;                   // base name + ".ico"
};

class App;

// The manual with the shell, maximised: the RTF file, else the HTML file
// (see app/manual.h). Nothing is reported when neither opens.
void OpenManualFiles(HWND owner, const ProgramPaths& paths);
// Whether either of the manual's files is beside the program.
bool ManualFilesPresent(const ProgramPaths& paths);

class NotifyPlatformWin32 final : public NotifyPlatform {
  public:
    explicit NotifyPlatformWin32(App& app) : app_(app) {}
    void ShowBox(bool ownedByMainWindow, const char* caption, const char* text,
                 unsigned flags) override;
    void ShowTrayBalloon(const char* title, const char* text, int icon) override;
    void CloseMiravelWindow() override;
    void OpenReminderDialog(const char* text, const char* buttonText,
                            const char* buttonTip) override;

  private:
    App& app_;
};

class TrayShellIconWin32 final : public TrayShellIcon {
  public:
    explicit TrayShellIconWin32(App& app) : app_(app) {}
    bool AddIcon(bool withTip) override;
    bool ModifyIcon() override;
    bool DeleteIcon() override;
    void StartRetryTimer(unsigned ms) override;
    void StopRetryTimer() override;

  private:
    App& app_;
};

class SchedulerEnvironmentWin32 final : public SchedulerEnvironment {
  public:
    explicit SchedulerEnvironmentWin32(App& app) : app_(app) {}
    WorkTime LocalTimeNow() override;
    SystemZone SystemZoneNow() override;
    std::string LastReligiousDay() override;
    void SetLastReligiousDay(uint16_t day, uint16_t month, uint16_t year) override;

  private:
    App& app_;
};

class SchedulerEffectsWin32 final : public SchedulerEffects {
  public:
    explicit SchedulerEffectsWin32(App& app) : app_(app) {}
    void SetRemainingTimeText(const char* text) override;
    void ShowNotice(const char* text) override;
    void ShowReligiousDayWarning(const char* text) override;
    void ShowReminder(int endingName, unsigned lead) override;
    void PlaySoundFile(const char* file) override;
    void PlayAdhan(int slot) override;
    bool ArmWakeTimer(int64_t localFileTime) override;
    void CancelWakeTimer() override;
    void SyncClockSilently() override;
    void RefreshTimesDialog() override;
    void RepostChart(int32_t chartCommand) override;
    void RefreshWallpaper() override;
    void SetMenuEntryEnabled(int command, bool enabled) override;

  private:
    App& app_;
};

class CommandTargetWin32 final : public CommandTarget {
  public:
    explicit CommandTargetWin32(App& app) : app_(app) {}
    void SetMenuChecked(int command, bool checked) override;
    void SetMenuEnabled(int command, bool enabled) override;
    void StopSound() override;
    void PlaySoundFile(const char* file) override;
    void ChooseAdhanFile(int slot) override;
    void OpenManual() override;
    void OpenUrl(const char* url) override;
    void SyncClockInteractive() override;
    void DestroyMainWindow() override;
    Autostart& AutostartSetting() override;
    std::filesystem::path ProgramPath() override;
    void ReportSaveFailure() override;

    // The dialogs (src/ui/win32).
    void RunTimesDialog() override;
    int RunCalcParamsDialog() override;
    int RunOptionsDialog() override;
    void RunAboutDialog() override;
    void RunTallyDialog(int index) override;
    // The reports (src/reports/win32) and the wrapper (src/sound/win32).
    void WriteReport(int command) override;
    void ConvertMp3ToWav() override;
    // The charts and the wallpaper (src/graphics/win32).
    void ShowChart(int command) override;
    void SetWallpaperMode(int mode) override;

  private:
    App& app_;
};

class App {
  public:
    explicit App(HINSTANCE instance) : instance(instance) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HINSTANCE instance;
    OptionalFunctions functions;
    HANDLE wakeTimer = nullptr;
    ProgramPaths paths;
    ResourceBytes moonBitmap;
    ResourceBytes earthBitmap;
    HICON icon = nullptr;       // the program icon, large
    HICON smallIcon = nullptr;  // the same at the tray's size
    HWND mainWindow = nullptr;
    HWND graphWindow = nullptr;
    HMENU popupMenu = nullptr;
    UINT taskbarCreatedMessage = 0;
    RECT desktopRect = {};
    bool shutDown = false;

    ProgramState ps;
    std::unique_ptr<Autostart> autostart = MakeSystemAutostart();

    Tray tray;
    TrayShellIconWin32 trayShell{*this};
    TrayIconKeeper trayKeeper{trayShell};
    NotifyPlatformWin32 notifyPlatform{*this};
    Notifications notifications{ps, notifyPlatform};
    PlaybackWin32 playbackPlatform;
    Playback playback{ps, playbackPlatform, notifications};
    SchedulerEnvironmentWin32 environment{*this};
    SchedulerEffectsWin32 effects{*this};
    CommandTargetWin32 commands{*this};
};

// The program's one App; valid from the entry point's start to its end.
App& TheApp();
void SetTheApp(App* app);

// The main window's procedure.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The graph window's procedure until the charts bring their own.
LRESULT CALLBACK GraphWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sends WM_COMMAND to the main window and waits for it to be handled.
void SendCommand(App& app, int command);

}  // namespace miravel
