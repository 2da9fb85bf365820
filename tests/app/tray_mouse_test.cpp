#include "app/tray_mouse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace miravel {
namespace {

using Calls = std::vector<std::string>;

// Records the calls and keeps the two bits of state the shell has: whether
// the click timer is armed and whether the bar is on the screen.
class RecordingShell : public TrayShell {
  public:
    void BringMainWindowToFront() override { calls.push_back("front"); }
    void StartClickTimer() override {
        calls.push_back("timer");
        timerArmed = true;
    }
    void KillClickTimer() override {
        calls.push_back("kill");
        timerArmed = false;
    }
    bool TimeBarVisible() override { return barVisible; }
    void PlaceTimeBar(const TimeBarPlacement& p) override {
        calls.push_back(std::string(p.show ? "show" : "hide") + (p.topmost ? " topmost " : " ") +
                        std::to_string(p.x) + "," + std::to_string(p.y) + " " +
                        std::to_string(p.width) + "x" + std::to_string(p.height));
        barVisible = p.show;
    }
    void ToggleDesktopIcons() override { calls.push_back("desktop"); }
    void TrackMenuAtCursor() override { calls.push_back("menu"); }
    void PostEmptyMessage() override { calls.push_back("null"); }
    void StopSound() override { calls.push_back("stop"); }

    // The system's timer runs out, if it is still armed.
    void TimerRunsOut() {
        if (timerArmed) OnClickTimer(*this);
    }

    Calls calls;
    bool timerArmed = false;
    bool barVisible = false;
};

// Windows sends down, up, double-click, up for a double click.
void DoubleClick(RecordingShell& shell) {
    OnTrayMouse(kMouseLeftDown, shell);
    OnTrayMouse(0x0202, shell);
    OnTrayMouse(kMouseLeftDoubleClick, shell);
    OnTrayMouse(0x0202, shell);
}

TEST(TrayMouse, SingleClickTogglesTheBarOnlyWhenTheClickTimerRunsOut) {
    RecordingShell shell;
    OnTrayMouse(kMouseLeftDown, shell);
    OnTrayMouse(0x0202, shell);  // button up changes nothing
    EXPECT_EQ(shell.calls, (Calls{"front", "timer"}));
    EXPECT_FALSE(shell.barVisible);

    shell.TimerRunsOut();
    EXPECT_EQ(shell.calls, (Calls{"front", "timer", "kill", "show topmost 0,0 300x0"}));
    EXPECT_FALSE(shell.timerArmed);

    // The second single click hides it and leaves the topmost band.
    shell.calls.clear();
    OnTrayMouse(kMouseLeftDown, shell);
    shell.TimerRunsOut();
    EXPECT_EQ(shell.calls, (Calls{"front", "timer", "kill", "hide 0,0 300x0"}));
    EXPECT_FALSE(shell.barVisible);
}

TEST(TrayMouse, DoubleClickDropsThePendingSingleClickAndTogglesTheDesktopIcons) {
    RecordingShell shell;
    DoubleClick(shell);
    shell.TimerRunsOut();
    EXPECT_EQ(shell.calls, (Calls{"front", "timer", "kill", "desktop"}));
    EXPECT_FALSE(shell.barVisible);

    // A visible bar stays as it is through a double click.
    shell.barVisible = true;
    shell.calls.clear();
    DoubleClick(shell);
    shell.TimerRunsOut();
    EXPECT_TRUE(shell.barVisible);
    EXPECT_EQ(shell.calls, (Calls{"front", "timer", "kill", "desktop"}));
}

TEST(TrayMouse, RightButtonOpensTheMenuInTheForegroundThenPostsTheEmptyMessage) {
    RecordingShell shell;
    OnTrayMouse(kMouseRightDown, shell);
    EXPECT_EQ(shell.calls, (Calls{"front", "menu", "null"}));
}

TEST(TrayMouse, MiddleButtonStopsTheSoundAndOtherMessagesDoNothing) {
    RecordingShell shell;
    OnTrayMouse(kMouseMiddleDown, shell);
    EXPECT_EQ(shell.calls, Calls{"stop"});

    shell.calls.clear();
    // Mouse move, the button-up messages, the right double click.
    for (unsigned m : {0x0200u, 0x0202u, 0x0205u, 0x0206u, 0x0208u, 0u})
        OnTrayMouse(m, shell);
    EXPECT_TRUE(shell.calls.empty());
}

TEST(TrayMouse, HotKeyTogglesTheBarAtOnceWithoutTheClickTimer) {
    RecordingShell shell;
    ToggleTimeBar(shell);
    ToggleTimeBar(shell);
    EXPECT_EQ(shell.calls, (Calls{"show topmost 0,0 300x0", "hide 0,0 300x0"}));
}

}  // namespace
}  // namespace miravel
