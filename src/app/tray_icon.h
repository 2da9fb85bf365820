// Keeps the program's one icon in the notification area: added at start-up,
// added again when the shell (re)starts, retried while the shell cannot take
// it yet (a program started at logon often runs before the taskbar exists),
// and deleted at the end. The program runs and schedules whether or not the
// icon could be shown.
#pragma once

namespace miravel {

// The shell's side of the icon, as the Windows program implements it with
// Shell_NotifyIcon and a timer of the main window.
class TrayShellIcon {
  public:
    virtual ~TrayShellIcon() = default;
    // NIM_ADD with the icon and the callback message; with the tooltip too
    // when `withTip`. False when the shell refuses (not ready, or the icon
    // is already there).
    virtual bool AddIcon(bool withTip) = 0;
    // NIM_MODIFY with icon, callback and tooltip; false when the shell does
    // not hold the icon.
    virtual bool ModifyIcon() = 0;
    // NIM_DELETE; false when the shell does not hold the icon.
    virtual bool DeleteIcon() = 0;
    virtual void StartRetryTimer(unsigned ms) = 0;
    virtual void StopRetryTimer() = 0;
};

class TrayIconKeeper {
  public:
    // Retries every 2 s for the first five minutes, then every 30 s.
    static constexpr unsigned kFastRetryMs = 2000;
    static constexpr int kFastRetries = 150;
    static constexpr unsigned kSlowRetryMs = 30000;

    explicit TrayIconKeeper(TrayShellIcon& shell) : shell_(shell) {}

    // Start-up: the icon without its tooltip (the first pass sets that).
    // Returns whether the shell took it; when not, the retry timer runs.
    bool Start();
    // The registered message "TaskbarCreated": the shell started, restarted,
    // or (on a DPI or remote-desktop change) announces itself while it still
    // holds the icon. Leaves exactly one icon, with its current tooltip.
    void OnTaskbarCreated();
    // The retry timer.
    void OnRetryTimer();
    // The end of the program: the icon goes, whatever the earlier results.
    void Remove();

    bool Shown() const { return shown_; }
    int Retries() const { return retries_; }

  private:
    void Shown(bool shown);

    TrayShellIcon& shell_;
    bool shown_ = false;
    bool timerRunning_ = false;
    unsigned timerMs_ = 0;
    int retries_ = 0;
};

}  // namespace miravel
