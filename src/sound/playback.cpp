#include "sound/playback.h"

#include <cstdio>
#include <cstring>

#include "config/codepage.h"
#include "config/settings.h"

namespace miravel {

namespace {

// The longest period a window timer takes (USER_TIMER_MAXIMUM).
constexpr int64_t kMaxTimerMs = 0x7FFFFFFF;

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool HasWavExtension(const char* file) {
    const size_t n = strnlen(file, 4096);
    size_t dot = n;
    for (size_t i = n; i > 0; --i) {
        const char c = file[i - 1];
        if (IsPathSeparator(c)) break;
        if (c == '.') {
            dot = i - 1;
            break;
        }
    }
    if (n - dot != 4) return false;
    return AsciiLower(file[dot + 1]) == 'w' && AsciiLower(file[dot + 2]) == 'a' &&
           AsciiLower(file[dot + 3]) == 'v';
}

uint32_t RelaySecondsToMs(int32_t seconds) {
    if (seconds <= 0) return 0;
    const int64_t ms = static_cast<int64_t>(seconds) * 1000;
    return static_cast<uint32_t>(ms > kMaxTimerMs ? kMaxTimerMs : ms);
}

void Playback::PlaySoundFile(const char* file) {
    if (!ps_.options.adhanEnabled) return;
    char message[512] = "";

    const int port = ps_.options.relayPort;
    if (port != 0) {
        if (!platform_.OpenRelayPort(port)) {
            std::snprintf(message, sizeof message, "COM%i açılamıyor...", port);
        } else {
            platform_.SetRelayBreak();
            platform_.Sleep(RelaySecondsToMs(ps_.options.relayLeadSeconds));
            platform_.StartRelayHoldTimer(RelaySecondsToMs(ps_.options.relayHoldSeconds));
        }
    }

    if (HasWavExtension(file)) {
        platform_.PlayWavAsync(file);
    } else if (platform_.ShellOpen(file)) {
        externalPlayer_ = true;
    } else {
        std::snprintf(message, sizeof message, "%s\nçalıştırılamıyor...", file);
    }

    if (message[0] != '\0' && !notices_.ShowPlaybackError(message)) platform_.Sleep(kErrorPauseMs);
}

void Playback::StopSound() {
    platform_.StopWav();
    if (externalPlayer_) {
        platform_.SendMediaStopKey();
        externalPlayer_ = false;
    }
}

void Playback::PlayAdhan(int slot) {
    if (slot < 0 || slot >= kAdhanSlotCount) return;
    notices_.CloseMiravelWindow();
    PlaySoundFile(ps_.adhanFiles[slot]);
    if (notices_.ShowAdhanNotice(AdhanSlotKey(slot, ps_.ikindiAdhanTime))) {
        StopSound();
        // With a relay the amplifier may already be off again; the dua would
        // switch it on for a second hold, so it only follows without one.
        if (ps_.options.relayPort == 0) PlaySoundFile(kDuaFile);
    }
}

void Playback::RelayHoldEnded() {
    platform_.StopRelayHoldTimer();
    platform_.ClearRelayBreak();
}

void Playback::Release() {
    StopSound();
    platform_.ClearRelayBreak();
}

void Playback::ChooseAdhanFile(int slot, const std::filesystem::path& iniPath) {
    if (slot < 0 || slot >= kAdhanSlotCount) return;
    const int command = kCmdChooseAdhanFirst + slot;
    platform_.SetMenuEnabled(command, false);

    const char* name = AdhanSlotKey(slot, ps_.ikindiAdhanTime);
    char title[96];
    std::snprintf(title, sizeof title, "%s ezanı dosyasını seçiniz :", name);
    std::u16string chosen;
    if (platform_.ChooseOpenFile(title, ps_.adhanFiles[slot], &chosen)) {
        // The INI file and the player take the name in Windows-1254: a path
        // that does not survive the trip, or does not fit the slot, would
        // name another file or none, so the slot keeps its file.
        const std::string text = Utf16ToCp1254(chosen);
        if (!chosen.empty() && Cp1254ToUtf16(text) == chosen &&
            text.size() < sizeof ps_.adhanFiles[slot]) {
            std::memcpy(ps_.adhanFiles[slot], text.c_str(), text.size() + 1);
            SaveAdhanFile(ps_, iniPath, slot);
        } else {
            // Said whatever the message style: the user is waiting for the
            // choice to take.
            char message[512];
            std::snprintf(message, sizeof message,
                          "%.300s\n\nBu dosya ezan dosyası olarak seçilemiyor: adı 254 "
                          "karakterden uzun ya da Türkçe Windows harfleriyle yazılamayan "
                          "harfler içeriyor.\n%s ezanı için önceki dosya kullanılmaya devam "
                          "ediliyor.",
                          text.c_str(), name);
            notices_.ShowRefusedFile(message);
        }
    }
    platform_.SetMenuEnabled(command, true);
}

}  // namespace miravel
