// The minute scheduler: once a minute it brings the working date, clock and
// zone up to date with the computer's clock, recomputes the day's times when
// needed, and decides what falls due in the current minute.
//
// Everything the scheduler needs from the outside comes in through
// SchedulerEnvironment, and every effect it has leaves through
// SchedulerEffects. The Windows program implements both with real calls;
// tests and `miravel-cli events` implement them by recording.
#pragma once

#include <cstdint>
#include <string>

#include "config/program_state.h"
#include "config/zone_offset.h"

namespace miravel {

// Menu entries the scheduler grays and enables.
inline constexpr int kMenuClockCheck = 1041;  // grayed while the silent clock correction runs
inline constexpr int kMenuWakeUp = 1149;      // grayed when the platform cannot wake the computer

// Power-broadcast events of a resume: after a critical suspend, after a
// suspend with the user back, and the automatic one every resume sends
// (alone when a timer woke the computer and nobody touched it).
inline constexpr unsigned kPowerResumeCritical = 6;
inline constexpr unsigned kPowerResumeSuspend = 7;
inline constexpr unsigned kPowerResumeAutomatic = 18;

// Names the reminder announces as "ending", in the order the reminder dialog
// indexes them: 0 = "SABAH", then the ten times by Vakit number (1 = "İMSAK"
// ... 10 = "YATSI").
inline constexpr int kEndingSabah = 0;
const char* EndingTimeName(int index);

class SchedulerEnvironment {
  public:
    virtual ~SchedulerEnvironment() = default;
    // The computer's local date and time now.
    virtual WorkTime LocalTimeNow() = 0;
    // The system's time-zone information now (re-read on every call).
    virtual SystemZone SystemZoneNow() = 0;
    // "Son Dini Gün" in "Seçenekler": the date of the last religious-day
    // warning as "DD/MM/YYYY", empty when absent.
    virtual std::string LastReligiousDay() = 0;
    virtual void SetLastReligiousDay(uint16_t day, uint16_t month, uint16_t year) = 0;
};

class SchedulerEffects {
  public:
    virtual ~SchedulerEffects() = default;

    // The remaining-time text: the main window's title and the tray tooltip.
    virtual void SetRemainingTimeText(const char* text) = 0;

    // Notifications; the style dispatch is Notifications (app/notifications.h).
    // A notice of the minute (kerahet, İkindi, midnight).
    virtual void ShowNotice(const char* text) = 0;
    // "Yarın  %s !" under "Dini Günler Uyarısı".
    virtual void ShowReligiousDayWarning(const char* text) = 0;
    // The reminder that a time ends: `endingName` indexes EndingTimeName,
    // `lead` is "Hatırlatma Süresi". In the box style this opens the modal
    // reminder dialog, otherwise a warning balloon.
    virtual void ShowReminder(int endingName, unsigned lead) = 0;

    // Sound (adhanEnabled is checked by the player, not here).
    virtual void PlaySoundFile(const char* file) = 0;
    virtual void PlayAdhan(int slot) = 0;  // 0..4, AdhanSlot

    // The waitable timer. `localFileTime` is the due time as a local file time
    // (100 ns units since 1601-01-01 00:00 local); the platform converts it to
    // universal time and arms the timer with the resume flag. Returns true
    // when the platform answered ERROR_NOT_SUPPORTED.
    virtual bool ArmWakeTimer(int64_t localFileTime) = 0;
    virtual void CancelWakeTimer() = 0;

    // The clock correction from the time servers, silent mode.
    virtual void SyncClockSilently() = 0;
    // Refill the times dialog when it is open (nothing otherwise).
    virtual void RefreshTimesDialog() = 0;
    // Post the chart command to the main window so that it is drawn again
    // (the scheduler does not call this for 0).
    virtual void RepostChart(int32_t chartCommand) = 0;
    // Compose and install the wallpaper now; the refresh advances
    // ps.nextWallpaperRefresh itself.
    virtual void RefreshWallpaper() = 0;
    virtual void SetMenuEntryEnabled(int command, bool enabled) = 0;
};

// The handler of the main window's one-second timer 5; also sent once at
// start-up after the settings are loaded.
void SchedulerTick(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx);

// One pass, whatever the countdown says.
void MinutePass(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx);

// Messages of the main window that feed the scheduler.
// WM_TIMECHANGE: a pass at the next tick. A clock set back by two minutes or
// more by someone else fires the minutes it brings again, one set forward
// skips; a smaller step back replays nothing. The program's own corrections
// (announced while its check runs or within a few ticks after) neither
// repeat nor skip a minute.
void OnTimeChange(ProgramState& ps);
// WM_DISPLAYCHANGE and the resume events of WM_POWERBROADCAST: a refreshing
// pass at the next tick, which fires the minute it runs in unless that
// minute's events have fired already. After a resume, the event the wake
// timer was armed for still plays when the computer came back at most
// kLateWakeMinutes after its minute.
void OnDisplayChange(ProgramState& ps);
void OnPowerBroadcast(ProgramState& ps, unsigned event);
inline constexpr int kLateWakeMinutes = 5;
// The interactive clock check of the menu (and the administrator helper it
// may start) begins and ends: the clock changes meanwhile are the program's.
void OnOwnClockCheck(ProgramState& ps, bool running);

// "SABAH", "ÖĞLE", "İKİNDİ" or "ASR-I SANİ", "AKŞAM", "YATSI".
const char* AdhanSlotName(const ProgramState& ps, int slot);
// The minute at which slot 0..4 of the day `dayOffset` (-1, 0, 1) away from
// the working date plays, counted from the working date's midnight.
int AdhanSlotInstant(const ProgramState& ps, int dayOffset, int slot);

// The remaining-time text for the core's clock minute, as the pass builds it:
// "%s vaktine kalan süre =  %d:%02d", counted to the time as it really falls
// (a YATSI after midnight included).
void FormatRemainingTime(const ProgramState& ps, char* out, size_t size);

// A local date and time as a file time in 100 ns units since 1601-01-01.
int64_t LocalFileTime(const WorkTime& t);

// The wake timer is due this long before the minute of its event, so that
// the computer is awake when the minute begins.
inline constexpr int kWakeLeadSeconds = 30;
// The wake-up due time (local file time) for the event at minute `event`
// counted from the midnight of `workDate`'s date.
int64_t WakeDueTime(int event, const WorkTime& workDate);

}  // namespace miravel
