// The hidden main window: the scheduler's timer, the tray icon's mouse
// messages, the menu commands, the time bar and the shutdown.
#include <windows.h>

#include "app/commands.h"
#include "app/scheduler.h"
#include "app/tray_mouse.h"
#include "app/win32/app_win32.h"
#include "app/win32/graph_window_win32.h"
#include "app/win32/tray_win32.h"
#include "config/settings.h"

namespace miravel {

namespace {

App* theApp = nullptr;

// Runs once, whichever of WM_QUERYENDSESSION and WM_DESTROY comes first.
void Shutdown(App& app) {
    if (app.shutDown) return;
    app.shutDown = true;
    app.playback.Release();
    RestoreDesktopAtExit(app);
    SaveExitSwitches(app.ps, app.paths.ini);
    if (app.popupMenu != nullptr) {
        // Detach the popup first: the window's menu would otherwise destroy
        // it a second time with the window.
        RemoveMenu(GetMenu(app.mainWindow), 0, MF_BYPOSITION);
        DestroyMenu(app.popupMenu);
        app.popupMenu = nullptr;
        app.playbackPlatform.Attach(app.mainWindow, nullptr);
    }
    app.trayKeeper.Remove();
    PostQuitMessage(0);
}

// The tray icon's mouse and the time bar, as the portable rules decide them.
class TrayShellWin32 final : public TrayShell {
  public:
    explicit TrayShellWin32(App& app) : app_(app) {}

    void BringMainWindowToFront() override { SetForegroundWindow(app_.mainWindow); }
    void StartClickTimer() override {
        SetTimer(app_.mainWindow, kClickTimerId, GetDoubleClickTime(), nullptr);
    }
    void KillClickTimer() override { KillTimer(app_.mainWindow, kClickTimerId); }
    bool TimeBarVisible() override { return IsWindowVisible(app_.mainWindow) != FALSE; }
    void PlaceTimeBar(const TimeBarPlacement& placement) override {
        PlaceTimeBarWindow(app_.mainWindow, placement);
    }
    void ToggleDesktopIcons() override {
        const HWND progman = FindWindowW(L"Progman", nullptr);
        if (progman == nullptr) return;
        ShowWindow(progman, IsWindowVisible(progman) ? SW_HIDE : SW_SHOW);
    }
    void TrackMenuAtCursor() override {
        if (app_.popupMenu == nullptr) return;
        POINT at;
        GetCursorPos(&at);
        TrackPopupMenu(app_.popupMenu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                       app_.mainWindow, nullptr);
    }
    void PostEmptyMessage() override { PostMessageW(app_.mainWindow, WM_NULL, 0, 0); }
    void StopSound() override { app_.playback.StopSound(); }

  private:
    App& app_;
};

}  // namespace

App& TheApp() {
    return *theApp;
}

void SetTheApp(App* app) {
    theApp = app;
}

void SendCommand(App& app, int command) {
    SendMessageW(app.mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (theApp == nullptr || theApp->mainWindow != hwnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    App& app = *theApp;

    if (message == app.taskbarCreatedMessage && message != 0) {
        app.trayKeeper.OnTaskbarCreated();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    switch (message) {
        case WM_DESTROY:
        case WM_QUERYENDSESSION:
            Shutdown(app);
            return 1;
        case WM_COMMAND:
            DispatchCommand(app.ps, app.paths.ini, LOWORD(wParam), app.commands);
            return 0;
        case WM_POWERBROADCAST:
            OnPowerBroadcast(app.ps, static_cast<unsigned>(wParam));
            // On waking the minute's events are due now: the pass runs with
            // the next message rather than at the next tick, and not inside
            // the broadcast, which must return at once.
            if (app.ps.ticksToNextRun == 0) PostMessageW(hwnd, WM_TIMER, kSchedulerTimerId, 0);
            break;
        case WM_DISPLAYCHANGE:
            OnDisplayChange(app.ps);
            break;
        case WM_TIMECHANGE:
            OnTimeChange(app.ps);
            break;
        case WM_TIMER:
            switch (wParam) {
                case kClickTimerId: {
                    TrayShellWin32 shell(app);
                    OnClickTimer(shell);
                    return 0;
                }
                case kSchedulerTimerId:
                    SchedulerTick(app.ps, app.environment, app.effects);
                    return 0;
                case kRelayHoldTimerId:
                    app.playback.RelayHoldEnded();
                    return 0;
                case kTrayRetryTimerId:
                    app.trayKeeper.OnRetryTimer();
                    return 0;
                default:
                    break;
            }
            break;
        case WM_HOTKEY:
            if (wParam == kTimeBarHotKeyId) {
                TrayShellWin32 shell(app);
                ToggleTimeBar(shell);
            }
            return 0;
        case kTrayCallbackMessage: {
            TrayShellWin32 shell(app);
            OnTrayMouse(static_cast<unsigned>(LOWORD(lParam)), shell);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace miravel
