// The playback's calls on Windows: the serial port's break line, the system's
// WAV player, the shell, the media Stop key, timer 6 and the open-file dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "sound/playback.h"

namespace miravel {

class PlaybackWin32 final : public PlaybackPlatform {
  public:
    PlaybackWin32() = default;
    ~PlaybackWin32() override;
    PlaybackWin32(const PlaybackWin32&) = delete;
    PlaybackWin32& operator=(const PlaybackWin32&) = delete;

    // The main window owns timer 6, the shell's windows and the file dialog;
    // the popup menu holds the entries grayed around the dialog.
    void Attach(HWND mainWindow, HMENU popupMenu) {
        mainWindow_ = mainWindow;
        popupMenu_ = popupMenu;
    }

    bool OpenRelayPort(int port) override;
    void SetRelayBreak() override;
    void ClearRelayBreak() override;
    void StartRelayHoldTimer(uint32_t ms) override;
    void StopRelayHoldTimer() override;
    void Sleep(uint32_t ms) override;
    void PlayWavAsync(const char* file) override;
    void StopWav() override;
    bool ShellOpen(const char* file) override;
    void SendMediaStopKey() override;
    bool ChooseOpenFile(const char* title, const char* proposed, std::u16string* chosen) override;
    void SetMenuEnabled(int command, bool enabled) override;

  private:
    HWND mainWindow_ = nullptr;
    HMENU popupMenu_ = nullptr;
    HANDLE relay_ = INVALID_HANDLE_VALUE;
};

}  // namespace miravel
