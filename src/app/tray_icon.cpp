#include "app/tray_icon.h"

namespace miravel {

void TrayIconKeeper::Shown(bool shown) {
    shown_ = shown;
    if (shown_) {
        if (timerRunning_) shell_.StopRetryTimer();
        timerRunning_ = false;
        retries_ = 0;
        return;
    }
    const unsigned ms = retries_ < kFastRetries ? kFastRetryMs : kSlowRetryMs;
    if (!timerRunning_ || timerMs_ != ms) {
        shell_.StartRetryTimer(ms);
        timerRunning_ = true;
        timerMs_ = ms;
    }
}

bool TrayIconKeeper::Start() {
    Shown(shell_.AddIcon(false));
    return shown_;
}

void TrayIconKeeper::OnTaskbarCreated() {
    // A shell that still holds the icon refuses a second one; the icon is
    // then refreshed in place. Should neither work, the icon is deleted and
    // added anew, so that one icon remains.
    if (shell_.AddIcon(true) || shell_.ModifyIcon()) {
        Shown(true);
        return;
    }
    shell_.DeleteIcon();
    Shown(shell_.AddIcon(true));
}

void TrayIconKeeper::OnRetryTimer() {
    if (shown_) {
        shell_.StopRetryTimer();
        timerRunning_ = false;
        return;
    }
    ++retries_;
    // The icon may have arrived after all (an add that timed out in the
    // shell): a modification that succeeds says so.
    Shown(shell_.AddIcon(true) || shell_.ModifyIcon());
}

void TrayIconKeeper::Remove() {
    if (timerRunning_) shell_.StopRetryTimer();
    timerRunning_ = false;
    shell_.DeleteIcon();
    shown_ = false;
}

}  // namespace miravel
