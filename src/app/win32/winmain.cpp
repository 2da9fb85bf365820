// miravel.exe: start-up, the message loop, and the end.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "app/commands.h"
#include "app/manual.h"
#include "app/win32/app_win32.h"
#include "base/win32/wide_text.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "net/win32/time_client.h"

namespace miravel {
namespace {

constexpr LANGID kTurkish = 0x001F;
constexpr UINT kTimeBarHotKey = 0x41;  // A, with the Windows key

void LookUpOptionalFunctions(OptionalFunctions& f) {
    // Casting through a generic function pointer keeps -Wcast-function-type quiet.
    using Generic = void (*)();
    const HMODULE user32 = GetModuleHandleW(L"user32");
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32");
    if (user32 != nullptr) {
        f.setLayeredWindowAttributes =
            reinterpret_cast<OptionalFunctions::SetLayeredWindowAttributesFn>(
                reinterpret_cast<Generic>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
        f.changeWindowMessageFilterEx =
            reinterpret_cast<OptionalFunctions::ChangeWindowMessageFilterExFn>(
                reinterpret_cast<Generic>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    }
    if (kernel32 != nullptr) {
        f.cancelWaitableTimer = reinterpret_cast<OptionalFunctions::CancelWaitableTimerFn>(
            reinterpret_cast<Generic>(GetProcAddress(kernel32, "CancelWaitableTimer")));
        f.createWaitableTimer = reinterpret_cast<OptionalFunctions::CreateWaitableTimerWFn>(
            reinterpret_cast<Generic>(GetProcAddress(kernel32, "CreateWaitableTimerW")));
        f.setWaitableTimer = reinterpret_cast<OptionalFunctions::SetWaitableTimerFn>(
            reinterpret_cast<Generic>(GetProcAddress(kernel32, "SetWaitableTimer")));
        f.setThreadUILanguage = reinterpret_cast<OptionalFunctions::SetThreadUILanguageFn>(
            reinterpret_cast<Generic>(GetProcAddress(kernel32, "SetThreadUILanguage")));
    }
    // Kept loaded for the program's life: the options dialog downloads with it.
    const HMODULE urlmon = LoadLibraryW(L"urlmon");
    if (urlmon != nullptr) {
        f.urlDownloadToFile = reinterpret_cast<OptionalFunctions::URLDownloadToFileWFn>(
            reinterpret_cast<Generic>(GetProcAddress(urlmon, "URLDownloadToFileW")));
    }
}

bool FindProgramPaths(ProgramPaths& paths) {
    // Long enough for any path Windows hands out; a cut path would name
    // another INI file.
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return false;
    buffer.resize(n);
    paths.program = buffer;
    paths.directory = paths.program.parent_path();
    std::filesystem::path base = paths.directory / paths.program.stem();
    paths.ini = std::filesystem::path(base).concat(L".ini");
    paths.manual = ManualFiles(base);
    paths.icon = std::filesystem::path(base).concat(L".ico");
    return true;
}

bool LoadBitmapResource(HINSTANCE instance, const wchar_t* name, ResourceBytes& out) {
    const HRSRC found = FindResourceW(instance, name, MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (found == nullptr) return false;
    const HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr) return false;
    out.data = LockResource(loaded);
    out.size = SizeofResource(instance, found);
    return out.data != nullptr && out.size != 0;
}

HICON LoadProgramIcon(App& app, int size) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(app.paths.icon, ec)) {
        const HANDLE icon =
            LoadImageW(nullptr, app.paths.icon.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE);
        if (icon != nullptr) return static_cast<HICON>(icon);
    }
    return static_cast<HICON>(
        LoadImageW(app.instance, kIconResourceName, IMAGE_ICON, size, size, 0));
}

void SetTallyMenuTexts(App& app) {
    Tally tallies[kTallyCount];
    LoadTallies(app.paths.ini, tallies);
    for (int i = 0; i < kTallyCount; ++i) {
        const std::wstring text = Wide(tallies[i].name);
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = const_cast<wchar_t*>(text.c_str());
        SetMenuItemInfoW(app.popupMenu, static_cast<UINT>(kCmdTallyFirst + i), FALSE, &item);
    }
}

int Run(App& app) {
    // 1. Optional functions, the Turkish system texts, the wake-up timer.
    LookUpOptionalFunctions(app.functions);
    if (app.functions.setThreadUILanguage != nullptr) app.functions.setThreadUILanguage(kTurkish);
    if (app.functions.createWaitableTimer != nullptr)
        app.wakeTimer = app.functions.createWaitableTimer(nullptr, FALSE, nullptr);

    // 2. One instance only.
    if (FindWindowW(kMainClassName, nullptr) != nullptr) return 0;

    // 3. The program's folder is the current directory; the INI file is beside it.
    if (!FindProgramPaths(app.paths)) return 0;
    SetCurrentDirectoryW(app.paths.directory.c_str());

    // 4. The graphics' bitmaps.
    if (!LoadBitmapResource(app.instance, kMoonResourceName, app.moonBitmap) ||
        !LoadBitmapResource(app.instance, kEarthResourceName, app.earthBitmap)) {
        return 0;
    }

    // 5. The icon: the .ico beside the program, else the resource.
    app.icon = LoadProgramIcon(app, GetSystemMetrics(SM_CXICON));
    app.smallIcon = LoadProgramIcon(app, GetSystemMetrics(SM_CXSMICON));

    // 6. The main window's class.
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = app.instance;
    wc.hIcon = app.icon;
    wc.hIconSm = app.smallIcon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_DESKTOP + 1));
    wc.lpszMenuName = kMenuResourceName;
    wc.lpszClassName = kMainClassName;
    if (RegisterClassExW(&wc) == 0) return 0;

    // 7. The time-server client.
    InitTimeClient(app.instance, app.icon, app.paths.ini);

    // 8. The hidden main window. No pass may run before the settings are
    // loaded, whatever message loop a start-up step enters.
    app.ps.ticksToNextRun = -1;
    app.mainWindow =
        CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED, kMainClassName, L"Miravel", WS_OVERLAPPED,
                        0, 0, 0, 0, nullptr, nullptr, app.instance, nullptr);
    if (app.mainWindow == nullptr) return 0;

    // 9. The scheduler's timer.
    SetTimer(app.mainWindow, kSchedulerTimerId, kSchedulerPeriodMs, nullptr);

    // 10, 11. The tray icon, and the message with which a (re)started shell
    // announces itself. A program started at logon may come before the
    // taskbar: it runs and schedules without the icon, which is retried and
    // added as soon as the shell takes it.
    app.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    // Run with higher rights, the program would not hear the shell's
    // announcement without this.
    if (app.functions.changeWindowMessageFilterEx != nullptr)
        app.functions.changeWindowMessageFilterEx(app.mainWindow, app.taskbarCreatedMessage,
                                                  1 /* MSGFLT_ALLOW */, nullptr);
    app.tray.Init(app.mainWindow, app.smallIcon);
    app.trayKeeper.Start();

    // 12. The time bar is translucent where the system can do it.
    if (app.functions.setLayeredWindowAttributes != nullptr)
        app.functions.setLayeredWindowAttributes(app.mainWindow, 0, kTimeBarOpacity, LWA_ALPHA);

    // 13. The tray menu.
    app.popupMenu = GetSubMenu(GetMenu(app.mainWindow), 0);
    app.playbackPlatform.Attach(app.mainWindow, app.popupMenu);

    // 14. The manual's entry needs the manual, in either of its forms.
    if (!ManualFilesPresent(app.paths)) app.commands.SetMenuEnabled(kCmdManual, false);

    // 15. Wake-up, as the last run left it.
    ProgramState switches;
    const bool adhanSwitchSet = LoadStartupSwitches(switches, app.paths.ini);
    if (switches.options.wakeUp) SendCommand(app, kCmdWakeUp);

    // 16. The tallies' names.
    SetTallyMenuTexts(app);

    // 17. "Ezan/Salâ": missing on a first run, which opens the manual.
    if (!adhanSwitchSet) {
        SendCommand(app, kCmdManual);
    } else if (!switches.options.adhanEnabled) {
        app.ps.options.adhanEnabled = false;
        app.commands.SetMenuChecked(kCmdAdhanSwitch, false);
    }

    // 18, 19. The settings and the adhan files.
    LoadCalcParams(app.ps, app.paths.ini);
    LoadOptions(app.ps, app.paths.ini, *app.autostart);
    LoadAdhanFiles(app.ps, app.paths.ini);
    // The first pass may already fall on an adhan or a notice: it shows them
    // in the style the user chose, not in the default one. Step 24 sets the
    // check mark and writes the value back.
    app.ps.options.messageStyle =
        StartupStyleCommand(switches.options.messageStyle) - kCmdStyleNone;

    // 20. The first pass, now.
    SendMessageW(app.mainWindow, WM_TIMER, kSchedulerTimerId, 0);

    // 21. Common controls (balloon tooltips of the dialogs).
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    // 22. A first run: the settings dialogs, one after the other, each
    // saved or reloaded as its menu command does.
    if (!IniSectionHasKeys(app.paths.ini, kCalcSection)) SendCommand(app, kCmdCalcParams);
    if (!IniSectionHasKeys(app.paths.ini, kOptionsSection)) SendCommand(app, kCmdOptions);

    // 23, 24. The wallpaper and the message style, as the last run left them.
    LoadStartupSwitches(switches, app.paths.ini);
    if (switches.options.wallpaper != 0)
        SendCommand(app, kCmdWallpaperMoon - 1 + switches.options.wallpaper);
    SendCommand(app, StartupStyleCommand(switches.options.messageStyle));

    // 25. The hidden graph window.
    WNDCLASSEXW graph = wc;
    graph.lpfnWndProc = GraphWindowProc;
    graph.lpszMenuName = nullptr;
    graph.lpszClassName = kGraphClassName;
    if (RegisterClassExW(&graph) == 0) return 0;
    app.graphWindow =
        CreateWindowExW(0, kGraphClassName, L"", WS_POPUP | WS_BORDER | WS_SYSMENU | 0x0002, 0, 0,
                        0, 0, nullptr, nullptr, app.instance, nullptr);
    if (app.graphWindow == nullptr) return 0;

    // 26. The desktop's size, for the graph window.
    GetWindowRect(GetDesktopWindow(), &app.desktopRect);

    // 27. Windows+A shows and hides the time bar; another program may hold it.
    RegisterHotKey(app.mainWindow, kTimeBarHotKeyId, MOD_WIN, kTimeBarHotKey);

    // 28. The message loop.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace miravel

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Lives until the process ends: windows may still call into it while the
    // runtime shuts down.
    static miravel::App* app = new miravel::App(instance);
    miravel::SetTheApp(app);
    return miravel::Run(*app);
}
