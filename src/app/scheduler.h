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
// WM_TIMECHANGE: a pass at the next tick. A change the user made keeps its
// effect on the events (set back fires again, set forward skips); the
// program's own silent correction, announced during it or within a few
// ticks after it, neither repeats nor skips a minute.
void OnTimeChange(ProgramState& ps);
// WM_DISPLAYCHANGE and the resume events of WM_POWERBROADCAST: a refreshing
// pass at the next tick, which fires the minute it runs in unless that
// minute's events have fired already.
void OnDisplayChange(ProgramState& ps);
void OnPowerBroadcast(ProgramState& ps, unsigned event);

// The two event-minute registers of one pass; they feed the wake-up timer.
struct EventRegisters {
    int next = 1440;   // earliest event minute later than the current one
    int first = 1440;  // earliest event minute of the day
};

// Whether minute x (may be negative or above 1439) falls on the core's clock
// minute; records it in the registers.
bool IsEventDue(EventRegisters& reg, const AstroState& astro, int x);

// "SABAH", "ÖĞLE", "İKİNDİ" or "ASR-I SANİ", "AKŞAM", "YATSI".
const char* AdhanSlotName(const ProgramState& ps, int slot);
// The minute of the day at which slot 0..4 plays, possibly outside 0..1439
// before normalising (the morning adhan lead may reach past midnight).
int AdhanSlotMinute(const ProgramState& ps, int slot);

// The remaining-time text for the core's clock minute, as the pass builds it:
// "%s vaktine kalan süre =  %d:%02d".
void FormatRemainingTime(const ProgramState& ps, char* out, size_t size);

// A local date and time as a file time in 100 ns units since 1601-01-01.
int64_t LocalFileTime(const WorkTime& t);

// The wake-up due time for the registers of a pass, from the local time now
// (its seconds and milliseconds are kept).
int64_t WakeDueTime(const EventRegisters& reg, const WorkTime& now);

}  // namespace miravel
