#include "app/tray_mouse.h"

namespace miravel {

TimeBarPlacement TimeBarToggled(bool visibleNow) {
    TimeBarPlacement p;
    p.show = !visibleNow;
    // Hidden, the bar leaves the topmost band so that it does not come back
    // above other windows by itself.
    p.topmost = !visibleNow;
    p.x = 0;
    p.y = 0;
    p.width = kTimeBarWidth;
    // Height 0: only the caption shows, whose text is the remaining time.
    p.height = 0;
    return p;
}

void ToggleTimeBar(TrayShell& shell) {
    shell.PlaceTimeBar(TimeBarToggled(shell.TimeBarVisible()));
}

void OnTrayMouse(unsigned mouseMessage, TrayShell& shell) {
    switch (mouseMessage) {
        case kMouseLeftDown:
            shell.BringMainWindowToFront();
            shell.StartClickTimer();
            break;
        case kMouseLeftDoubleClick:
            shell.KillClickTimer();
            shell.ToggleDesktopIcons();
            break;
        case kMouseRightDown:
            // Without the foreground the menu would not close when the user
            // clicks elsewhere.
            shell.BringMainWindowToFront();
            shell.TrackMenuAtCursor();
            shell.PostEmptyMessage();
            break;
        case kMouseMiddleDown:
            shell.StopSound();
            break;
        default:
            break;
    }
}

void OnClickTimer(TrayShell& shell) {
    shell.KillClickTimer();
    ToggleTimeBar(shell);
}

}  // namespace miravel
