// Every sound of the program: the adhan of the five prayers, the salâ, the
// dua after the adhan and the "Ezan Dinle" entries. Before a sound starts a
// relay on a serial port's break line can switch an amplifier on; it opens
// again after a hold time. WAV files go to the system's sound player, any
// other file to the program the shell associates with it.
//
// The sequencing lives here; PlaybackPlatform makes the calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "config/program_state.h"

namespace miravel {

inline constexpr char kDuaFile[] = "ezandua.wav";
inline constexpr int kErrorPauseMs = 5000;
inline constexpr int kRelayHoldTimerId = 6;
// The menu's five entries that choose an adhan file, slot 0 "SABAH" .. 4.
inline constexpr int kCmdChooseAdhanFirst = 1053;

// The messages around a sound, shown by the notifications in the message
// style in use.
class PlaybackNotices {
  public:
    virtual ~PlaybackNotices() = default;
    // Closes a still-open window titled "Miravel" (an earlier adhan box).
    virtual void CloseMiravelWindow() = 0;
    // The adhan's message for the slot's name; true when a box was shown and
    // closed, after which the adhan stops and the dua follows.
    virtual bool ShowAdhanNotice(const char* slotName) = 0;
    // A file that could not play; true when a box was shown, otherwise the
    // player pauses.
    virtual bool ShowPlaybackError(const char* text) = 0;
    // A chosen file the program cannot keep, said in every message style.
    virtual void ShowRefusedFile(const char* text) = 0;
};

class PlaybackPlatform {
  public:
    virtual ~PlaybackPlatform() = default;

    // Closes the port handle kept from the previous play and opens "\\.\COMn"
    // for reading and writing, unshared; the new handle is kept. False when
    // it cannot be opened.
    virtual bool OpenRelayPort(int port) = 0;
    // The break state of the kept handle: set closes the relay, clear opens it.
    virtual void SetRelayBreak() = 0;
    virtual void ClearRelayBreak() = 0;
    // Timer 6 of the main window; starting it again restarts it.
    virtual void StartRelayHoldTimer(uint32_t ms) = 0;
    virtual void StopRelayHoldTimer() = 0;
    // Blocks the thread; no messages are handled meanwhile.
    virtual void Sleep(uint32_t ms) = 0;

    // The system's WAV player, asynchronous, silent when the file cannot be
    // played; a WAV already playing stops.
    virtual void PlayWavAsync(const char* file) = 0;
    virtual void StopWav() = 0;
    // The shell's default verb on the file, owner the main window; false when
    // the shell refused.
    virtual bool ShellOpen(const char* file) = 0;
    // One press of the media Stop key, for a player the shell started.
    virtual void SendMediaStopKey() = 0;

    // The system's open-file dialog for a WAV file (or any file): `proposed`
    // fills the file field. False when the user cancelled; otherwise the
    // chosen path, as the system gives it, in `chosen`.
    virtual bool ChooseOpenFile(const char* title, const char* proposed,
                                std::u16string* chosen) = 0;
    virtual void SetMenuEnabled(int command, bool enabled) = 0;
};

class Playback {
  public:
    Playback(ProgramState& ps, PlaybackPlatform& platform, PlaybackNotices& notices)
        : ps_(ps), platform_(platform), notices_(notices) {}

    // Plays one file, the relay first when a port is set. Nothing at all while
    // "Ezan / Salâ" is off. Reports its own errors.
    void PlaySoundFile(const char* file);
    // Stops the WAV and, when the shell started a player, sends it Stop.
    void StopSound();
    // The adhan of slot 0..4 with its message; in the box style, closing the
    // box stops the adhan and, without a relay, plays the dua.
    void PlayAdhan(int slot);
    // Timer 6: the relay hold has run out.
    void RelayHoldEnded();
    // Shutdown: no sound, relay open.
    void Release();
    // Menu 1053..1057: picks the file of slot command - 1053 and writes it to
    // the INI file.
    void ChooseAdhanFile(int slot, const std::filesystem::path& iniPath);

    bool externalPlayerStarted() const { return externalPlayer_; }

  private:
    ProgramState& ps_;
    PlaybackPlatform& platform_;
    PlaybackNotices& notices_;
    bool externalPlayer_ = false;
};

// Whether the file name's extension (after the last dot of its last path
// component) is ".wav" in any case.
bool HasWavExtension(const char* file);

// Seconds of a relay setting as the milliseconds handed to the platform:
// negative values count as 0, large ones are capped where the timer ends.
uint32_t RelaySecondsToMs(int32_t seconds);

}  // namespace miravel
