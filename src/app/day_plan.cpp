#include "app/day_plan.h"

#include <cstdio>

#include "core/calendar.h"

namespace miravel {

void RecordingEffects::Add(EffectKind kind, int number, int64_t value, std::string text) {
    records.push_back({kind, ps_.astro.clockMinutes, number, value, std::move(text)});
}

void RecordingEffects::SetRemainingTimeText(const char* text) {
    Add(EffectKind::RemainingTime, 0, 0, text);
}
void RecordingEffects::ShowNotice(const char* text) {
    Add(EffectKind::Notice, 0, 0, text);
}
void RecordingEffects::ShowReligiousDayWarning(const char* text) {
    Add(EffectKind::ReligiousDay, 0, 0, text);
}
void RecordingEffects::ShowReminder(int endingName, unsigned lead) {
    char text[128];
    std::snprintf(text, sizeof text, "%s vaktinin çıkmasına %u dakika kaldı!",
                  EndingTimeName(endingName), lead);
    Add(EffectKind::Reminder, endingName, lead, text);
}
void RecordingEffects::PlaySoundFile(const char* file) {
    Add(EffectKind::PlayFile, 0, 0, file);
}
void RecordingEffects::PlayAdhan(int slot) {
    std::string text = AdhanSlotName(ps_, slot);
    if (slot >= 0 && slot < kAdhanSlotCount) text += std::string(" ") + ps_.adhanFiles[slot];
    Add(EffectKind::PlayAdhan, slot, 0, std::move(text));
}
bool RecordingEffects::ArmWakeTimer(int64_t localFileTime) {
    Add(EffectKind::ArmWake, 0, localFileTime, "");
    return wakeNotSupported;
}
void RecordingEffects::CancelWakeTimer() {
    Add(EffectKind::CancelWake, 0, 0, "");
}
void RecordingEffects::SyncClockSilently() {
    Add(EffectKind::SyncClock, 0, 0, "");
}
void RecordingEffects::RefreshTimesDialog() {
    Add(EffectKind::RefreshDialog, 0, 0, "");
}
void RecordingEffects::RepostChart(int32_t chartCommand) {
    Add(EffectKind::RepostChart, chartCommand, 0, "");
}
void RecordingEffects::RefreshWallpaper() {
    Add(EffectKind::RefreshWallpaper, 0, 0, "");
}
void RecordingEffects::SetMenuEntryEnabled(int command, bool enabled) {
    Add(EffectKind::MenuEntry, command, enabled ? 1 : 0, "");
}

void ScriptedEnvironment::SetLastReligiousDay(uint16_t day, uint16_t month, uint16_t year) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", static_cast<unsigned>(day),
                  static_cast<unsigned>(month), static_cast<unsigned>(year));
    lastReligiousDay = text;
    ++markerWrites;
}

WorkTime FromLocalFileTime(int64_t fileTime) {
    constexpr int64_t kUnitsPerSecond = 10'000'000;
    constexpr int64_t kSecondsPerDay = 86'400;
    // Days from 1601-01-01 to 1970-01-01.
    constexpr int64_t kEpochShift = 134'774;
    if (fileTime < 0) fileTime = 0;
    const int64_t seconds = fileTime / kUnitsPerSecond;
    const int64_t days = seconds / kSecondsPerDay - kEpochShift;
    const int64_t secondOfDay = seconds % kSecondsPerDay;

    // Civil date of a day count since 1970-01-01 (proleptic Gregorian).
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);

    WorkTime t;
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(m);
    t.day = static_cast<uint16_t>(d);
    t.dayOfWeek = static_cast<uint16_t>((days % 7 + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    t.hour = static_cast<uint16_t>(secondOfDay / 3600);
    t.minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    t.second = static_cast<uint16_t>(secondOfDay % 60);
    t.milliseconds = static_cast<uint16_t>(fileTime % kUnitsPerSecond / 10'000);
    return t;
}

DayPlan PlanDay(const ProgramState& settings, int day, int month, int year, const SystemZone& zone,
                const std::string& lastReligiousDay) {
    ProgramState ps = settings;
    // A fresh start: working date and clock unset, everything to compute.
    ps.astro.day = ps.astro.month = ps.astro.year = 0;
    ps.astro.clockMinutes = -1;
    ps.realTime = true;
    ps.recalcLevel = 2;
    ps.ticksToNextRun = 0;
    ps.lastChart = 0;
    // The wallpaper composes on its own timetable; it is not part of the plan.
    ps.options.wallpaper = 0;

    ScriptedEnvironment env;
    env.zone = zone;
    env.lastReligiousDay = lastReligiousDay;
    env.now.year = static_cast<uint16_t>(year);
    env.now.month = static_cast<uint16_t>(month);
    env.now.day = static_cast<uint16_t>(day);
    env.now.dayOfWeek = static_cast<uint16_t>(WeekdayOf(day, month, year) % 7);

    RecordingEffects fx(ps);
    DayPlan plan;
    int64_t armed = -1;
    for (int second = 0; second < 86'400; ++second) {
        env.now.hour = static_cast<uint16_t>(second / 3600);
        env.now.minute = static_cast<uint16_t>(second / 60 % 60);
        env.now.second = static_cast<uint16_t>(second % 60);
        SchedulerTick(ps, env, fx);
        for (EffectRecord& r : fx.records) {
            switch (r.kind) {
                case EffectKind::Notice:
                case EffectKind::ReligiousDay:
                case EffectKind::Reminder:
                case EffectKind::PlayFile:
                case EffectKind::PlayAdhan:
                case EffectKind::SyncClock:
                    plan.events.push_back(std::move(r));
                    break;
                case EffectKind::ArmWake:
                    if (r.value != armed) {
                        armed = r.value;
                        plan.events.push_back(std::move(r));
                    }
                    break;
                default:
                    break;
            }
        }
        fx.records.clear();
    }
    plan.zone = ps.astro.zoneMinutes;
    for (int i = 0; i < kVakitCount; ++i)
        plan.dayTimes[i] = ps.dayTimes[i];
    return plan;
}

}  // namespace miravel
