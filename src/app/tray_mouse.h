// The tray icon's mouse, the click timer and the hot key: which of them
// shows the time bar, opens the menu, toggles the desktop icons or stops the
// sound. The decisions live here; TrayShell makes the calls.
#pragma once

namespace miravel {

// Mouse messages as the tray icon's callback carries them (the platform's
// WM_ values).
inline constexpr unsigned kMouseLeftDown = 0x0201;         // WM_LBUTTONDOWN
inline constexpr unsigned kMouseLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr unsigned kMouseRightDown = 0x0204;        // WM_RBUTTONDOWN
inline constexpr unsigned kMouseMiddleDown = 0x0207;       // WM_MBUTTONDOWN

// Where the time bar goes: the main window as a caption-only bar at the top
// left of the screen, topmost while shown.
struct TimeBarPlacement {
    bool show = false;
    bool topmost = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
inline constexpr int kTimeBarWidth = 300;

// The placement that shows a hidden bar or hides a visible one.
TimeBarPlacement TimeBarToggled(bool visibleNow);

class TrayShell {
  public:
    virtual ~TrayShell() = default;
    virtual void BringMainWindowToFront() = 0;
    // Timer 4 with the system's double-click time; KillClickTimer drops it.
    virtual void StartClickTimer() = 0;
    virtual void KillClickTimer() = 0;
    virtual bool TimeBarVisible() = 0;
    // Never activates the window: the bar takes no keyboard focus.
    virtual void PlaceTimeBar(const TimeBarPlacement& placement) = 0;
    // The desktop's icons (the window of class "Progman"): hidden when
    // visible, shown when hidden.
    virtual void ToggleDesktopIcons() = 0;
    // The popup menu at the cursor, right-aligned, tracking the right
    // button; returns when the menu has closed.
    virtual void TrackMenuAtCursor() = 0;
    // An empty message to the main window, so that the menu closes at once
    // the next time the user clicks elsewhere.
    virtual void PostEmptyMessage() = 0;
    virtual void StopSound() = 0;
};

// A mouse message of the tray icon. A single left click only arms the click
// timer: the time bar toggles when the timer runs out without a second click;
// a double click kills the timer and toggles the desktop icons instead.
void OnTrayMouse(unsigned mouseMessage, TrayShell& shell);
// Timer 4 has run out: the pending single click.
void OnClickTimer(TrayShell& shell);
// The single click and the hot key Windows+A.
void ToggleTimeBar(TrayShell& shell);

}  // namespace miravel
