#include "sound/win32/playback_win32.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/win32/file_dialog_win32.h"
#include "base/win32/wide_text.h"

namespace miravel {

namespace {

// A relative sound name ("ezan.wav", "sala.wav", "ezandua.wav", or one the
// user typed) names a file in the program's folder. Start-up makes that the
// current directory, but a file dialog of the program may move it, so the
// folder is put in front here.
std::wstring BesideProgram(const char* file) {
    const std::filesystem::path name(Wide(file));
    if (!name.is_relative() || name.empty()) return name.wstring();
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return name.wstring();
    buffer.resize(n);
    return (std::filesystem::path(buffer).parent_path() / name).wstring();
}

}  // namespace

PlaybackWin32::~PlaybackWin32() {
    if (relay_ != INVALID_HANDLE_VALUE) CloseHandle(relay_);
}

bool PlaybackWin32::OpenRelayPort(int port) {
    if (relay_ != INVALID_HANDLE_VALUE) {
        CloseHandle(relay_);
        relay_ = INVALID_HANDLE_VALUE;
    }
    wchar_t device[32];
    std::swprintf(device, 32, L"\\\\.\\COM%i", port);
    relay_ =
        CreateFileW(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return relay_ != INVALID_HANDLE_VALUE;
}

void PlaybackWin32::SetRelayBreak() {
    if (relay_ != INVALID_HANDLE_VALUE) SetCommBreak(relay_);
}

void PlaybackWin32::ClearRelayBreak() {
    if (relay_ != INVALID_HANDLE_VALUE) ClearCommBreak(relay_);
}

void PlaybackWin32::StartRelayHoldTimer(uint32_t ms) {
    SetTimer(mainWindow_, kRelayHoldTimerId, ms, nullptr);
}

void PlaybackWin32::StopRelayHoldTimer() {
    KillTimer(mainWindow_, kRelayHoldTimerId);
}

void PlaybackWin32::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

void PlaybackWin32::PlayWavAsync(const char* file) {
    sndPlaySoundW(BesideProgram(file).c_str(), SND_ASYNC | SND_NODEFAULT);
}

void PlaybackWin32::StopWav() {
    sndPlaySoundW(nullptr, 0);
}

bool PlaybackWin32::ShellOpen(const char* file) {
    const HINSTANCE result = ShellExecuteW(mainWindow_, nullptr, BesideProgram(file).c_str(),
                                           nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void PlaybackWin32::SendMediaStopKey() {
    // Down and up: a lone key-down would leave the key held in the system's
    // key state.
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_MEDIA_STOP;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

bool PlaybackWin32::ChooseOpenFile(const char* title, const char* proposed,
                                   std::u16string* chosen) {
    // Room for any path the dialog may return; the caller decides what fits.
    wchar_t file[1024];
    CopyToField(Wide(proposed), file, 1024);
    // The current directory stays where it was, so that "sala.wav",
    // "ezandua.wav" and the other relative names are found beside the program.
    if (!ChooseFileName(mainWindow_, title,
                        FileFilter({{"WAV Dosyaları", L"*.wav"}, {"Tüm Dosyalar", L"*.*"}}), file,
                        1024, 0))
        return false;
    *chosen = AsU16(file);
    return true;
}

void PlaybackWin32::SetMenuEnabled(int command, bool enabled) {
    EnableMenuItem(popupMenu_, static_cast<UINT>(command),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace miravel
