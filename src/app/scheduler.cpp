#include "app/scheduler.h"

#include <cstdio>
#include <cstring>

#include "core/calendar.h"
#include "core/hijri.h"
#include "core/sun.h"

namespace miravel {

namespace {

constexpr int kMinutesPerDay = 1440;

// By Vakit (index 0 unused). The time whose end the reminder before Vakit v
// announces, as an EndingTimeName index; -1 where the Vakit has no reminder.
constexpr int kEndingTime[kVakitCount + 1] = {-1,   Yatsi, kEndingSabah, -1,     -1,   -1,
                                              Ogle, Ogle,  -1,           Ikindi, Aksam};
// The position of the Vakit's digit in "Salâ Vakitler", -1 for none.
constexpr int kSalaDigit[kVakitCount + 1] = {-1, 0, 1, -1, -1, 2, 3, 3, -1, 4, 5};
// The prayer whose remaining time is shown when Vakit v is the next time.
constexpr Vakit kShownInstead[kVakitCount + 1] = {Imsak,    Imsak, Gunes, Ogle,  Ogle, Ogle,
                                                  AsriSani, Aksam, Aksam, Aksam, Yatsi};

constexpr const char* kSalaFile = "sala.wav";

int DayTime(const ProgramState& ps, int v) {
    return ps.dayTimes[v - 1];
}

int Modulo(int x, int n) {
    return ((x % n) + n) % n;
}

// The warning the evening before a religious day, shown once per calendar day
// even across restarts: the marker is written before the box opens so that a
// pass running inside the box does not show it again.
void ReligiousDayWarning(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    const WorkTime& t = ps.workTime;
    SetDate(ps.astro, static_cast<int16_t>(t.day + 1), static_cast<int16_t>(t.month),
            static_cast<int16_t>(t.year));
    const char* name = ReligiousDayName(ps.astro);
    if (name == nullptr || name[0] == '\0') return;
    char today[32];
    std::snprintf(today, sizeof today, "%02u/%02u/%04u", static_cast<unsigned>(t.day),
                  static_cast<unsigned>(t.month), static_cast<unsigned>(t.year));
    if (env.LastReligiousDay() == today) return;
    env.SetLastReligiousDay(t.day, t.month, t.year);
    char text[256];
    std::snprintf(text, sizeof text, "Yarın  %s !", name);
    fx.ShowReligiousDayWarning(text);
}

// Steps that bring the working state up to date. Returns the zone offset in
// effect, or false when the pass has nothing new to do.
bool UpdateWorkingState(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx,
                        int16_t* zone) {
    AstroState& a = ps.astro;
    *zone = ZoneOffsetNow(ps.location, env.SystemZoneNow());
    if (*zone != a.zoneMinutes || ps.recalcLevel == 2) {
        SetLocation(a, static_cast<int16_t>(ps.location.latitude),
                    static_cast<int16_t>(ps.location.longitude), *zone);
        ps.recalcLevel = 2;
    }

    // The countdown is reset before anything modal can open: a box opened
    // further down runs a nested message loop in which the ticks go on.
    if (ps.realTime) {
        ps.workTime = env.LocalTimeNow();
        ps.ticksToNextRun = 60 - ps.workTime.second;
    } else {
        ps.ticksToNextRun = -1;
    }
    ps.scheduler.countdown = ps.ticksToNextRun;

    const WorkTime& t = ps.workTime;
    const int m = t.hour * 60 + t.minute;
    if (m != a.clockMinutes) {
        SetClock(a, static_cast<int16_t>(t.hour), static_cast<int16_t>(t.minute));
        // A new minute must not hide a recomputation asked for by a zone
        // change in the same pass (the summer-time switch always comes with
        // a new minute).
        if (ps.recalcLevel != 2) ps.recalcLevel = 1;
    }
    if (a.day != t.day || a.month != t.month || a.year != t.year) {
        ReligiousDayWarning(ps, env, fx);
        SetDate(a, static_cast<int16_t>(t.day), static_cast<int16_t>(t.month),
                static_cast<int16_t>(t.year));
        ps.recalcLevel = 2;
    }
    if (ps.recalcLevel == 0) return false;

    if (ps.recalcLevel == 2) ComputeDayTimes(a, ps.dayTimes);
    fx.RefreshTimesDialog();
    if (ps.lastChart != 0) fx.RepostChart(ps.lastChart);
    ps.recalcLevel = 0;
    return true;
}

void WallpaperCheck(ProgramState& ps, SchedulerEffects& fx, int16_t zone) {
    if (ps.options.wallpaper == 0) return;
    const int32_t now = DayNumber(ps.astro) * kMinutesPerDay + ps.astro.clockMinutes - zone;
    const int32_t interval = ps.options.wallpaper == 1 ? 60 : 5;
    // The second test catches a clock that was set back.
    if (now >= ps.nextWallpaperRefresh || now < ps.nextWallpaperRefresh - interval)
        fx.RefreshWallpaper();
}

// The salâ and reminders before time v ends, when its lead has come.
void BeforeTimeEnds(ProgramState& ps, SchedulerEffects& fx, int v) {
    const Options& o = ps.options;
    const unsigned lead = static_cast<unsigned>(o.reminderLead);
    const bool asrSaniSlot = ps.ikindiAdhanTime == AsriSani;
    char text[256];
    if (v == Isfirar) {
        if (o.reminder) {
            std::snprintf(text, sizeof text, "Kerahetin girmesine %u dk. kaldı...", lead);
            fx.ShowNotice(text);
        }
        return;
    }
    if (v == Ikindi && asrSaniSlot) {
        if (o.reminder) {
            std::snprintf(text, sizeof text, "İkindinin girmesine %u dk. kaldı...", lead);
            fx.ShowNotice(text);
        }
        return;
    }
    if (v == Israk || v == Istiva || (v == AsriSani && !asrSaniSlot)) return;
    // A value shorter than six digits leaves the later times without salâ;
    // the bytes past its end are not part of it.
    const int digit = kSalaDigit[v];
    if (o.reminderSala && digit >= 0 &&
        static_cast<int>(strnlen(o.salaTimes, sizeof o.salaTimes)) > digit &&
        o.salaTimes[digit] == '1')
        fx.PlaySoundFile(o.reminderFile);
    if (o.reminder && v != Ogle) {
        ps.reminderTimeName = kEndingTime[v];
        fx.ShowReminder(kEndingTime[v], lead);
    }
}

// The sounds, notices and reminders of minute m (the core's clock minute),
// steps 1 to 6 of a pass. With `fire` false only the event registers are kept.
void FireMinute(ProgramState& ps, SchedulerEffects& fx, int m, EventRegisters& reg, bool fire) {
    const Options& o = ps.options;
    AstroState& a = ps.astro;
    const int lead = o.reminderLead;

    // Midnight is İSTİVA plus twelve hours.
    if (fire && o.reminder && Modulo(DayTime(ps, Istiva) + 720 - lead, kMinutesPerDay) == m) {
        char text[256];
        std::snprintf(text, sizeof text, "Geceyarısına %u dk. kaldı...",
                      static_cast<unsigned>(lead));
        fx.ShowNotice(text);
    }
    // The salâ minutes count for the wake-up only when their option is on
    // (and, for the Friday salâ, on Fridays).
    if (o.fridaySala && Weekday(a) == 5 &&
        IsEventDue(reg, a, DayTime(ps, Ogle) - o.fridaySalaLead) && fire)
        fx.PlaySoundFile(kSalaFile);
    if (o.sahurSala && IsEventDue(reg, a, DayTime(ps, Imsak) - o.sahurSalaLead) && fire)
        fx.PlaySoundFile(kSalaFile);
    for (int slot = 0; slot < kAdhanSlotCount; ++slot) {
        if (IsEventDue(reg, a, AdhanSlotMinute(ps, slot)) && fire) fx.PlayAdhan(slot);
    }

    if (fire && (o.reminder || o.reminderSala)) {
        for (int v = Imsak; v <= Yatsi; ++v) {
            const int d = NormalizeMinutes(static_cast<int16_t>(DayTime(ps, v) - m));
            // A time that carries a positive temkin is announced R minutes
            // before the time without it.
            const int temkin = a.temkin[v];
            const int lead_v = (temkin >= 0 && a.mode != 0) ? lead + temkin : lead;
            if (d == lead_v) BeforeTimeEnds(ps, fx, v);
        }
    }
}

// Steps 7 and 8 of a pass: the wake-up timer and the remaining time.
void WakeAndRemainingTime(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx,
                          const EventRegisters& reg) {
    const Options& o = ps.options;
    if (ps.realTime && o.wakeUp && o.adhanEnabled) {
        if (fx.ArmWakeTimer(WakeDueTime(reg, env.LocalTimeNow())))
            fx.SetMenuEntryEnabled(kMenuWakeUp, false);
    } else {
        fx.CancelWakeTimer();
    }

    char text[128];
    FormatRemainingTime(ps, text, sizeof text);
    fx.SetRemainingTimeText(text);
}

int64_t DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<int64_t>(era) * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

const char* EndingTimeName(int index) {
    if (index == kEndingSabah) return "SABAH";
    return (index >= Imsak && index <= Yatsi) ? VakitName(index) : "";
}

const char* AdhanSlotName(const ProgramState& ps, int slot) {
    switch (slot) {
        case 0:
            return "SABAH";
        case 1:
            return VakitName(Ogle);
        case 2:
            return VakitName(ps.ikindiAdhanTime);
        case 3:
            return VakitName(Aksam);
        case 4:
            return VakitName(Yatsi);
        default:
            return "";
    }
}

int AdhanSlotMinute(const ProgramState& ps, int slot) {
    switch (slot) {
        case 0:
            return ps.options.morningAdhanAtImsak
                       ? DayTime(ps, Imsak)
                       : DayTime(ps, Gunes) - ps.options.morningAdhanLead;
        case 1:
            return DayTime(ps, Ogle);
        case 2:
            return DayTime(ps, ps.ikindiAdhanTime);
        case 3:
            return DayTime(ps, Aksam);
        case 4:
            return DayTime(ps, Yatsi);
        default:
            return -1;
    }
}

bool IsEventDue(EventRegisters& reg, const AstroState& astro, int x) {
    const int e = NormalizeMinutes(static_cast<int16_t>(x));
    if (e < reg.first) reg.first = e;
    if (e > astro.clockMinutes && e < reg.next) reg.next = e;
    return e == astro.clockMinutes;
}

void FormatRemainingTime(const ProgramState& ps, char* out, size_t size) {
    const int clock = ps.astro.clockMinutes;
    int best = kMinutesPerDay;
    int k = Imsak;
    for (int v = Imsak; v <= Yatsi; ++v) {
        const int d = NormalizeMinutes(static_cast<int16_t>(DayTime(ps, v) - clock));
        if (d < best) {
            best = d;
            k = v;
        }
    }
    if (!ps.options.remainingToAnyTime && k != ps.ikindiAdhanTime) {
        k = kShownInstead[k];
        best = NormalizeMinutes(static_cast<int16_t>(DayTime(ps, k) - clock));
    }
    std::snprintf(out, size, "%s vaktine kalan süre =  %d:%02d", VakitName(k), best / 60,
                  best % 60);
}

int64_t LocalFileTime(const WorkTime& t) {
    constexpr int64_t kUnitsPerSecond = 10'000'000;
    const int64_t days = DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(1601, 1, 1);
    const int64_t seconds = ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
    return seconds * kUnitsPerSecond + static_cast<int64_t>(t.milliseconds) * 10'000;
}

int64_t WakeDueTime(const EventRegisters& reg, const WorkTime& now) {
    const int target = reg.next < kMinutesPerDay ? reg.next : reg.first;
    WorkTime due = now;
    due.hour = static_cast<uint16_t>(target / 60);
    due.minute = static_cast<uint16_t>(target % 60);
    int64_t fileTime = LocalFileTime(due);
    // No event later today: the step is 200 in the upper 32 bits of the file
    // time, 23 h 51 min 39.35 s, which wakes the computer a little before the
    // first event of tomorrow rather than after it.
    if (reg.next == kMinutesPerDay) fileTime += int64_t{200} << 32;
    return fileTime;
}

namespace {

// Minutes that the program's own forward clock correction may have jumped
// over and whose events the next pass still fires; a correction further
// than that loses the older ones, as a clock set forward by the user does.
constexpr int64_t kCatchUpMinutes = 5;
// Minutes before the last fired one that are taken as already fired when a
// resume, a display change or the program's own correction brings the
// clock back to them. A clock further back than that starts afresh.
constexpr int64_t kRepeatGuardMinutes = 60;
// Ticks after the silent correction during which a time-change message is
// its own: Windows announces a new system time itself as well, a moment later.
constexpr int32_t kOwnChangeTicks = 5;
// A tick this many seconds into a minute that no pass has seen yet runs the
// pass at once instead of waiting for the countdown.
constexpr int kLateTickSeconds = 2;

int64_t UniversalMinute(const ProgramState& ps) {
    const AstroState& a = ps.astro;
    return int64_t{DayNumber(a)} * kMinutesPerDay + a.clockMinutes - a.zoneMinutes;
}

bool SameMinute(const WorkTime& a, const WorkTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

// The countdown runs on ticks, not on the clock: after a sleep, or while the
// thread was held up, it can carry the next pass out of the minute the clock
// is already in. Such a tick runs the pass now.
bool TickIsLate(const ProgramState& ps, SchedulerEnvironment& env) {
    const WorkTime now = env.LocalTimeNow();
    if (SameMinute(now, ps.workTime)) return false;
    return now.second >= kLateTickSeconds || now.second + ps.ticksToNextRun >= 60;
}

// Fires the minutes between the last fired one and the current one that the
// program's own clock correction jumped over, within today.
void CatchUp(ProgramState& ps, SchedulerEffects& fx, int64_t now) {
    SchedulerMemory& mem = ps.scheduler;
    if (mem.firedMinute == SchedulerMemory::kNoMinute) return;
    AstroState& a = ps.astro;
    const int current = a.clockMinutes;
    int64_t from = mem.firedMinute + 1;
    if (from < now - kCatchUpMinutes) from = now - kCatchUpMinutes;
    for (int64_t k = from; k < now; ++k) {
        const int m = current - static_cast<int>(now - k);
        if (m < 0) continue;  // yesterday: its times are not at hand
        SetClock(a, static_cast<int16_t>(m / 60), static_cast<int16_t>(m % 60));
        EventRegisters scratch;
        FireMinute(ps, fx, m, scratch, true);
    }
    SetClock(a, static_cast<int16_t>(current / 60), static_cast<int16_t>(current % 60));
}

void Pass(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx, bool guarded) {
    SchedulerMemory& mem = ps.scheduler;
    const bool catchUp = mem.catchUp;
    mem.quietPass = false;
    mem.catchUp = false;
    // Settings applied (or the first pass) fire the minute as ever.
    if (ps.recalcLevel == 2) guarded = false;

    int16_t zone = 0;
    if (!UpdateWorkingState(ps, env, fx, &zone)) return;
    WallpaperCheck(ps, fx, zone);

    // Whether this pass fires the events of its minute. A pass that the user
    // caused (a clock set by hand, settings saved, a report) fires them as
    // ever and counts from there; any other fires a minute only once.
    const int64_t now = UniversalMinute(ps);
    bool fire = true;
    if (!ps.realTime) {
        mem.firedMinute = SchedulerMemory::kNoMinute;
    } else if (!guarded || mem.firedMinute == SchedulerMemory::kNoMinute ||
               now < mem.firedMinute - kRepeatGuardMinutes) {
        mem.firedMinute = now;
    } else if (now > mem.firedMinute) {
        if (catchUp) CatchUp(ps, fx, now);
        mem.firedMinute = now;
    } else {
        fire = false;
    }

    // The core's clock minute rather than a copy taken earlier: a pass that
    // ran inside a box opened below has moved it on.
    EventRegisters reg;
    FireMinute(ps, fx, ps.astro.clockMinutes, reg, fire);
    WakeAndRemainingTime(ps, env, fx, reg);

    // The hourly correction comes after the minute's events, so that servers
    // that do not answer delay none of them; the pass at the next tick then
    // takes the minute the corrected clock is in, without repeating or
    // skipping one.
    if (fire && ps.realTime && ps.options.autoClockCorrection && ps.workTime.minute == 0 &&
        !mem.clockSyncRunning) {
        fx.SetMenuEntryEnabled(kMenuClockCheck, false);
        mem.clockSyncRunning = true;
        fx.SyncClockSilently();
        mem.clockSyncRunning = false;
        fx.SetMenuEntryEnabled(kMenuClockCheck, true);
        mem.ownChangeTicks = kOwnChangeTicks;
        mem.quietPass = true;
        mem.catchUp = true;
        ps.ticksToNextRun = 0;
        mem.countdown = 0;
    }
}

}  // namespace

void MinutePass(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    Pass(ps, env, fx, ps.scheduler.quietPass);
}

void SchedulerTick(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    SchedulerMemory& mem = ps.scheduler;
    if (mem.ownChangeTicks > 0) --mem.ownChangeTicks;
    if (ps.ticksToNextRun < 0) return;  // waits for someone to set it to 0
    if (ps.ticksToNextRun > 0) {
        const bool own = ps.ticksToNextRun == mem.countdown;
        --ps.ticksToNextRun;
        if (!own) return;
        mem.countdown = ps.ticksToNextRun;
        if (!ps.realTime || !TickIsLate(ps, env)) return;
        Pass(ps, env, fx, true);
        return;
    }
    // A countdown that ran out, or a resume, display change or own clock
    // correction, fires a minute once; a pass another part forced (settings,
    // reports, a clock set by the user) fires it as ever.
    Pass(ps, env, fx, mem.countdown == 0 || mem.quietPass);
}

void OnTimeChange(ProgramState& ps) {
    SchedulerMemory& mem = ps.scheduler;
    ps.ticksToNextRun = 0;
    if (mem.clockSyncRunning || mem.ownChangeTicks > 0) {
        // The program's own correction.
        mem.quietPass = true;
        mem.catchUp = true;
        mem.countdown = 0;
    } else {
        // The user's: a clock set back fires again, one set forward skips.
        mem.quietPass = false;
        mem.catchUp = false;
        mem.countdown = -1;
    }
}

void OnDisplayChange(ProgramState& ps) {
    // A pending recomputation (parameters applied) is kept, not downgraded
    // to a plain refresh.
    if (ps.recalcLevel != 2) ps.recalcLevel = 3;
    ps.nextWallpaperRefresh = 0;
    ps.ticksToNextRun = 0;
    // A refresh: the minute's events, when they have fired, do not fire again
    // (Windows sends this on waking up, with its resume events).
    ps.scheduler.quietPass = true;
}

void OnPowerBroadcast(ProgramState& ps, unsigned event) {
    // A wake by the timer with nobody at the computer sends only the
    // automatic resume; a user's key or mouse adds the other. Both, and the
    // critical resume, are one resume to the scheduler.
    if (event == kPowerResumeSuspend || event == kPowerResumeAutomatic ||
        event == kPowerResumeCritical)
        OnDisplayChange(ps);
}

}  // namespace miravel
