// The notifications of the program by message style: 0 nothing, 1 a balloon
// at the tray icon, 2 a message box (or the reminder dialog). The choice,
// texts, captions, icons and the closing of a previous window live here; the
// Windows program supplies the few primitives that touch the screen.
#pragma once

#include <cstddef>

#include "config/program_state.h"
#include "sound/playback.h"

namespace miravel {

// Message-box flags, valued as the platform's MB_ constants so that the
// Windows side can pass them on unchanged.
inline constexpr unsigned kBoxOk = 0x0;              // MB_OK, no icon
inline constexpr unsigned kBoxIconError = 0x10;      // MB_ICONERROR
inline constexpr unsigned kBoxIconWarning = 0x30;    // MB_ICONWARNING
inline constexpr unsigned kBoxSystemModal = 0x1000;  // MB_SYSTEMMODAL

// Balloon icons of the tray record.
inline constexpr int kBalloonInfo = 1;
inline constexpr int kBalloonWarning = 2;
inline constexpr int kBalloonError = 3;

inline constexpr int kStyleNone = 0;
inline constexpr int kStyleBalloon = 1;
inline constexpr int kStyleBox = 2;

class NotifyPlatform {
  public:
    virtual ~NotifyPlatform() = default;
    // A modal message box; returns when the user closes it. Without an owner
    // when `ownedByMainWindow` is false.
    virtual void ShowBox(bool ownedByMainWindow, const char* caption, const char* text,
                         unsigned flags) = 0;
    // Bring the main window to the foreground and hand the balloon to the
    // tray icon (the tray record's balloon fields, NIF_INFO).
    virtual void ShowTrayBalloon(const char* title, const char* text, int icon) = 0;
    // Close a still-open top-level window titled "Miravel" (an earlier adhan
    // box or reminder dialog). Never the main window, whose title is also
    // "Miravel" until the first pass has set the remaining time.
    virtual void CloseMiravelWindow() = 0;
    // The modal reminder dialog "RemindDlg", owned by the main window and
    // system-modal; `text` goes to its static 1105, `buttonText` to button 1,
    // `buttonTip` is the tooltip of button 1. Returns when it is closed.
    virtual void OpenReminderDialog(const char* text, const char* buttonText,
                                    const char* buttonTip) = 0;
};

// "%s vaktinin çıkmasına %u dakika kaldı!\n\nLütfen namazınızı kılınız..."
// for the reminder dialog; `endingName` indexes EndingTimeName (scheduler.h).
void FormatReminderDialogText(int endingName, unsigned lead, char* out, size_t size);
// "\n\t%s EZANI VAKTİ...\n\n..." with the dua, for the adhan box.
void FormatAdhanBoxText(const char* slotName, char* out, size_t size);

class Notifications final : public PlaybackNotices {
  public:
    Notifications(const ProgramState& ps, NotifyPlatform& platform)
        : ps_(ps), platform_(platform) {}

    // ShowBalloon: a balloon in style 1 only.
    void ShowBalloon(const char* title, const char* text, int icon);
    // A notice under "Hatırlatıcı": closes a previous "Miravel" window, then a
    // system-modal warning box captioned "Miravel" (style 2) or a warning
    // balloon (style 1).
    void ShowNotice(const char* text);
    // "Dini Günler Uyarısı": a box without owner with the warning icon, not
    // system-modal (style 2), or a warning balloon (style 1).
    void ShowReligiousDayWarning(const char* text);
    // The reminder that a time ends: closes a previous "Miravel" window, then
    // the reminder dialog (style 2) or a warning balloon titled "Lütfen
    // namazınızı kılınız..." (style 1).
    void ShowReminder(int endingName, unsigned lead);
    // The adhan message for the slot's name: "Ezan Vakti..." as an information
    // balloon (style 1), or the system-modal box with the dua owned by the
    // main window (style 2). Returns true when a box was shown and closed;
    // the player then stops the adhan and plays the dua sound.
    bool ShowAdhanNotice(const char* slotName) override;
    // A playback or relay error under "Hata": a box owned by the main window
    // with the warning icon (style 2) or an error balloon (style 1). Returns
    // true when a box was shown; otherwise the player pauses 5 s.
    bool ShowPlaybackError(const char* text) override;
    // A failure of what the user has just asked for (settings that could not
    // be saved, a chosen file the program cannot keep): a box owned by the
    // main window under "Hata" with the error icon, in every style. Its
    // caption is not "Miravel", so the next adhan or notice, which closes the
    // windows of that title, leaves it for the user to read.
    void ShowFailure(const char* text, unsigned icon = kBoxIconError);
    // Something the user asked for from the menu could not be made or opened
    // (the imsakiye page): an error balloon under "Hata" in the balloon
    // style, else ShowFailure's box, "Hiçbiri" included, for the user is
    // waiting for what the entry promised.
    void ShowRequestFailure(const char* text);
    // A chosen file the program cannot keep: ShowFailure with the warning icon.
    void ShowRefusedFile(const char* text) override { ShowFailure(text, kBoxIconWarning); }
    void CloseMiravelWindow() override { platform_.CloseMiravelWindow(); }

  private:
    const ProgramState& ps_;
    NotifyPlatform& platform_;
};

}  // namespace miravel
