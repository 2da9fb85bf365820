#include "app/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace miravel {
namespace {

// A notification area that behaves as the Windows shell does: it refuses
// everything until it is ready, refuses a second icon of the same id, and
// can only modify or delete an icon it holds.
class FakeShell : public TrayShellIcon {
  public:
    bool AddIcon(bool withTip) override {
        calls.push_back(withTip ? "add+tip" : "add");
        if (!ready || icons > 0) return false;
        ++icons;
        return true;
    }
    bool ModifyIcon() override {
        calls.push_back("modify");
        return ready && icons > 0;
    }
    bool DeleteIcon() override {
        calls.push_back("delete");
        if (!ready || icons == 0) return false;
        --icons;
        return true;
    }
    void StartRetryTimer(unsigned ms) override {
        calls.push_back("timer " + std::to_string(ms));
        timerMs = ms;
    }
    void StopRetryTimer() override {
        calls.push_back("kill timer");
        timerMs = 0;
    }

    bool ready = true;
    int icons = 0;
    unsigned timerMs = 0;
    std::vector<std::string> calls;
};

// Each test: a keeper of the icon over a shell that is ready unless the test
// says otherwise before starting the keeper.
class TrayIcon : public ::testing::Test {
  protected:
    FakeShell shell;
    TrayIconKeeper keeper{shell};
};

TEST_F(TrayIcon, ReadyShellTakesTheIconAtOnceWithoutATimer) {
    EXPECT_TRUE(keeper.Start());
    EXPECT_EQ(shell.calls, std::vector<std::string>{"add"});
    EXPECT_EQ(shell.icons, 1);
    keeper.Remove();
    EXPECT_EQ(shell.icons, 0);
}

// Started at logon before the taskbar: the program keeps running, retries
// every 2 s for five minutes and then every 30 s, and shows the icon once
// the shell can take it, with no announcement needed.
TEST_F(TrayIcon, RefusedAtStartRetriesUntilTheShellTakesIt) {
    shell.ready = false;
    EXPECT_FALSE(keeper.Start());
    EXPECT_EQ(shell.timerMs, TrayIconKeeper::kFastRetryMs);
    for (int i = 0; i < TrayIconKeeper::kFastRetries; ++i)
        keeper.OnRetryTimer();
    EXPECT_FALSE(keeper.Shown());
    EXPECT_EQ(shell.timerMs, TrayIconKeeper::kSlowRetryMs);
    for (int i = 0; i < 100; ++i)
        keeper.OnRetryTimer();
    EXPECT_EQ(shell.timerMs, TrayIconKeeper::kSlowRetryMs);

    shell.ready = true;
    keeper.OnRetryTimer();
    EXPECT_TRUE(keeper.Shown());
    EXPECT_EQ(shell.icons, 1);
    EXPECT_EQ(shell.timerMs, 0u);
    EXPECT_EQ(shell.calls.back(), "kill timer");
    // A late tick of the stopped timer adds nothing.
    keeper.OnRetryTimer();
    EXPECT_EQ(shell.icons, 1);
}

// The taskbar comes up and announces itself: the icon is there at once, the
// retry timer stops. An announcement while the shell still refuses leaves
// the retry going.
TEST_F(TrayIcon, TaskbarCreatedAddsTheIconAndStopsTheRetry) {
    shell.ready = false;
    keeper.Start();
    keeper.OnTaskbarCreated();
    EXPECT_FALSE(keeper.Shown());
    EXPECT_NE(shell.timerMs, 0u);
    shell.ready = true;
    keeper.OnTaskbarCreated();
    EXPECT_TRUE(keeper.Shown());
    EXPECT_EQ(shell.icons, 1);
    EXPECT_EQ(shell.timerMs, 0u);
}

// DPI and remote-desktop changes send "TaskbarCreated" while the shell holds
// the icon: one icon remains, refreshed with its tooltip; and the end of the
// program deletes it, although the last add was refused.
TEST_F(TrayIcon, TaskbarCreatedWhileTheIconExistsLeavesOneAndExitDeletesIt) {
    keeper.Start();
    shell.calls.clear();
    keeper.OnTaskbarCreated();
    keeper.OnTaskbarCreated();
    EXPECT_EQ(shell.icons, 1);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"add+tip", "modify", "add+tip", "modify"}));
    EXPECT_EQ(shell.timerMs, 0u);
    keeper.Remove();
    EXPECT_EQ(shell.icons, 0);
    EXPECT_EQ(shell.calls.back(), "delete");
}

// The shell restarted and lost the icon: added again with its tooltip.
TEST_F(TrayIcon, ShellRestartBringsTheIconBack) {
    keeper.Start();
    shell.icons = 0;  // the old shell went with its icons
    keeper.OnTaskbarCreated();
    EXPECT_EQ(shell.icons, 1);
    EXPECT_EQ(shell.calls.back(), "add+tip");
    EXPECT_TRUE(keeper.Shown());
}

// The end of the program while the shell never took the icon: the retry
// stops and the delete is still asked for.
TEST_F(TrayIcon, ExitWhileRetryingStopsTheTimer) {
    shell.ready = false;
    keeper.Start();
    keeper.Remove();
    EXPECT_EQ(shell.timerMs, 0u);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"add", "timer 2000", "kill timer", "delete"}));
}

}  // namespace
}  // namespace miravel
