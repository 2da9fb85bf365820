// A day of the scheduler run on a simulated clock: every minute of one date
// passes through the real scheduler, whose effects are recorded instead of
// carried out. Shows a user what their settings make happen and when.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/scheduler.h"

namespace miravel {

enum class EffectKind {
    RemainingTime,  // text
    Notice,         // text
    ReligiousDay,   // text
    Reminder,       // number = ending-time index, value = lead, text = the balloon text
    PlayFile,       // text = file
    PlayAdhan,      // number = slot, text = "SLOT file"
    ArmWake,        // value = local file time
    CancelWake,
    SyncClock,
    RefreshDialog,
    RepostChart,  // number = command
    RefreshWallpaper,
    MenuEntry,  // number = command, value = 1 enabled, 0 grayed
};

struct EffectRecord {
    EffectKind kind;
    int minute;  // the core's clock minute when the effect left
    int number = 0;
    int64_t value = 0;
    std::string text;
};

// Effects kept as records, in order.
class RecordingEffects : public SchedulerEffects {
  public:
    explicit RecordingEffects(const ProgramState& ps) : ps_(ps) {}

    std::vector<EffectRecord> records;
    bool wakeNotSupported = false;  // what ArmWakeTimer answers

    void SetRemainingTimeText(const char* text) override;
    void ShowNotice(const char* text) override;
    void ShowReligiousDayWarning(const char* text) override;
    void ShowReminder(int endingName, unsigned lead) override;
    void PlaySoundFile(const char* file) override;
    void PlayAdhan(int slot) override;
    bool ArmWakeTimer(int64_t localFileTime) override;
    void CancelWakeTimer() override;
    void SyncClockSilently() override;
    void RefreshTimesDialog() override;
    void RepostChart(int32_t chartCommand) override;
    void RefreshWallpaper() override;
    void SetMenuEntryEnabled(int command, bool enabled) override;

  private:
    void Add(EffectKind kind, int number, int64_t value, std::string text);
    const ProgramState& ps_;
};

// A clock and zone set by hand; the "Son Dini Gün" marker kept in memory.
class ScriptedEnvironment : public SchedulerEnvironment {
  public:
    WorkTime now;
    SystemZone zone;
    std::string lastReligiousDay;
    int markerWrites = 0;

    WorkTime LocalTimeNow() override { return now; }
    SystemZone SystemZoneNow() override { return zone; }
    std::string LastReligiousDay() override { return lastReligiousDay; }
    void SetLastReligiousDay(uint16_t day, uint16_t month, uint16_t year) override;
};

// The local date and time of a file time (inverse of LocalFileTime).
WorkTime FromLocalFileTime(int64_t fileTime);

struct DayPlan {
    int16_t zone = 0;
    int32_t dayTimes[kVakitCount] = {};
    // What falls due, in order: adhans, sounds, notices, reminders, the
    // religious-day warning, clock corrections; and ArmWake whenever the wake
    // target changes (only while "Uyandır" and "Ezan/Salâ" are on).
    std::vector<EffectRecord> events;
};

// Runs the scheduler through every minute of the date with the settings of
// `settings` (location, parameters, options), as a program started just
// before midnight would, the system zone being `zone`. `lastReligiousDay` is
// the marker the INI file holds.
DayPlan PlanDay(const ProgramState& settings, int day, int month, int year, const SystemZone& zone,
                const std::string& lastReligiousDay);

}  // namespace miravel
