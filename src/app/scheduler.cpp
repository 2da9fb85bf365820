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

// The times of the dates before and after the working date, on a copy of the
// core so that its working values stay those of the working date.
void ComputeNeighbourTimes(ProgramState& ps) {
    const AstroState& a = ps.astro;
    const int doy = DayOfYearOf(a.day, a.month, a.year);
    for (const int step : {-1, 1}) {
        int year = a.year;
        int n = doy + step;
        if (n < 1) n = IsLeapYear(--year) ? 366 : 365;
        if (n > (IsLeapYear(year) ? 366 : 365)) {
            ++year;
            n = 1;
        }
        int month = 0, day = 0;
        MonthAndDay(year, n, &month, &day);
        AstroState b = a;
        SetDate(b, static_cast<int16_t>(day), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        ComputeDayTimes(b, step < 0 ? ps.dayTimesBefore : ps.dayTimesAfter);
    }
}

const int32_t* TimesOf(const ProgramState& ps, int dayOffset) {
    return dayOffset < 0 ? ps.dayTimesBefore : dayOffset > 0 ? ps.dayTimesAfter : ps.dayTimes;
}

// The minute Vakit v of the day `dayOffset` away falls on, counted from the
// working date's midnight.
int InstantOf(const ProgramState& ps, int dayOffset, int v) {
    return dayOffset * kMinutesPerDay + VakitInstant(TimesOf(ps, dayOffset), v);
}

// Minutes from `from` to the next time Vakit v falls (0 in its own minute).
int MinutesUntil(const ProgramState& ps, int v, int from) {
    for (int o = -1; o <= 1; ++o) {
        const int at = InstantOf(ps, o, v);
        if (at >= from) return at - from;
    }
    return NormalizeMinutes(static_cast<int16_t>(DayTime(ps, v) - from));
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

    if (ps.recalcLevel == 2) {
        ComputeDayTimes(a, ps.dayTimes);
        ComputeNeighbourTimes(ps);
    }
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

// The minute the events of `reg` wake the computer for: the earliest event
// later than the minute tested, counted from the working date's midnight.
struct EventRegisters {
    static constexpr int kNone = 4 * kMinutesPerDay;
    int next = kNone;
};

// Whether the event at minute x (counted from the working date's midnight)
// falls on minute m; records it as a wake target.
bool IsEventDue(EventRegisters& reg, int m, int x) {
    if (x > m && x < reg.next) reg.next = x;
    return x == m;
}

// The sounds, notices and reminders of minute m (counted from the working
// date's midnight; the neighbour dates' times take part where they fall
// across midnight), steps 1 to 6 of a pass. With `fire` false only the event
// registers are kept.
void FireMinute(ProgramState& ps, SchedulerEffects& fx, int m, EventRegisters& reg, bool fire) {
    const Options& o = ps.options;
    AstroState& a = ps.astro;
    SchedulerMemory& mem = ps.scheduler;
    const int lead = o.reminderLead;
    const int minuteOfDay = Modulo(m, kMinutesPerDay);
    const int32_t today = DayNumber(a);
    auto play = [&](int day, int at) {
        mem.firingDay = today + day;
        mem.firingMinute = at - day * kMinutesPerDay;
        return fire;
    };

    // Midnight is İSTİVA plus twelve hours.
    if (fire && o.reminder &&
        Modulo(DayTime(ps, Istiva) + 720 - lead, kMinutesPerDay) == minuteOfDay) {
        char text[256];
        std::snprintf(text, sizeof text, "Geceyarısına %u dk. kaldı...",
                      static_cast<unsigned>(lead));
        fx.ShowNotice(text);
    }
    // The salâ minutes count for the wake-up only when their option is on
    // (and, for the Friday salâ, on Fridays).
    const int weekday = Weekday(a);
    for (int day = -1; day <= 1; ++day) {
        const int at = InstantOf(ps, day, Ogle) - o.fridaySalaLead;
        if (o.fridaySala && Modulo(weekday - 1 + day, 7) + 1 == 5 && IsEventDue(reg, m, at) &&
            play(day, at))
            fx.PlaySoundFile(kSalaFile);
    }
    for (int day = -1; day <= 1; ++day) {
        const int at = InstantOf(ps, day, Imsak) - o.sahurSalaLead;
        if (o.sahurSala && IsEventDue(reg, m, at) && play(day, at)) fx.PlaySoundFile(kSalaFile);
    }
    for (int slot = 0; slot < kAdhanSlotCount; ++slot) {
        for (int day = -1; day <= 1; ++day) {
            const int at = AdhanSlotInstant(ps, day, slot);
            if (IsEventDue(reg, m, at) && play(day, at)) fx.PlayAdhan(slot);
        }
    }

    if (fire && (o.reminder || o.reminderSala)) {
        for (int v = Imsak; v <= Yatsi; ++v) {
            const int d = NormalizeMinutes(static_cast<int16_t>(DayTime(ps, v) - minuteOfDay));
            // A time that carries a positive temkin is announced R minutes
            // before the time without it.
            const int temkin = a.temkin[v];
            const int lead_v = (temkin >= 0 && a.mode != 0) ? lead + temkin : lead;
            if (d == lead_v) BeforeTimeEnds(ps, fx, v);
        }
    }
}

int64_t UniversalMinute(const ProgramState& ps) {
    const AstroState& a = ps.astro;
    return int64_t{DayNumber(a)} * kMinutesPerDay + a.clockMinutes - a.zoneMinutes;
}

// The universal minute of minute m counted from the working date's midnight.
int64_t UniversalOf(const ProgramState& ps, int m) {
    return UniversalMinute(ps) - ps.astro.clockMinutes + m;
}

// Steps 7 and 8 of a pass: the wake-up timer and the remaining time.
void WakeAndRemainingTime(ProgramState& ps, SchedulerEffects& fx, const EventRegisters& reg) {
    const Options& o = ps.options;
    if (ps.realTime && o.wakeUp && o.adhanEnabled && reg.next != EventRegisters::kNone) {
        ps.scheduler.wakeMinute = UniversalOf(ps, reg.next);
        if (fx.ArmWakeTimer(WakeDueTime(reg.next, ps.workTime)))
            fx.SetMenuEntryEnabled(kMenuWakeUp, false);
    } else {
        ps.scheduler.wakeMinute = SchedulerMemory::kNoMinute;
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

int AdhanSlotInstant(const ProgramState& ps, int dayOffset, int slot) {
    switch (slot) {
        case 0:
            return ps.options.morningAdhanAtImsak
                       ? InstantOf(ps, dayOffset, Imsak)
                       : InstantOf(ps, dayOffset, Gunes) - ps.options.morningAdhanLead;
        case 1:
            return InstantOf(ps, dayOffset, Ogle);
        case 2:
            return InstantOf(ps, dayOffset, ps.ikindiAdhanTime);
        case 3:
            return InstantOf(ps, dayOffset, Aksam);
        case 4:
            return InstantOf(ps, dayOffset, Yatsi);
        default:
            return -1;
    }
}

void FormatRemainingTime(const ProgramState& ps, char* out, size_t size) {
    const int clock = ps.astro.clockMinutes;
    int best = 4 * kMinutesPerDay;
    int k = Imsak;
    for (int v = Imsak; v <= Yatsi; ++v) {
        const int d = MinutesUntil(ps, v, clock);
        if (d < best) {
            best = d;
            k = v;
        }
    }
    if (!ps.options.remainingToAnyTime && k != ps.ikindiAdhanTime) {
        k = kShownInstead[k];
        best = MinutesUntil(ps, k, clock);
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

int64_t WakeDueTime(int event, const WorkTime& workDate) {
    WorkTime midnight = workDate;
    midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
    constexpr int64_t kUnitsPerSecond = 10'000'000;
    return LocalFileTime(midnight) + (int64_t{event} * 60 - kWakeLeadSeconds) * kUnitsPerSecond;
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
// A clock set back by someone else by less than this many seconds (a time
// service's correction) replays nothing; by this much or more (the user),
// the minutes it brings again fire again.
constexpr int64_t kForeignRepeatSeconds = 120;
// Ticks after the program's clock check during which a time-change message
// is its own: Windows announces a new system time itself as well, a moment
// later.
constexpr int32_t kOwnChangeTicks = 5;
// A tick this many seconds into a minute that no pass has seen yet runs the
// pass at once instead of waiting for the countdown.
constexpr int kLateTickSeconds = 2;

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

// Fires the events of universal minute k, which the clock has left.
void FireLate(ProgramState& ps, SchedulerEffects& fx, int64_t k) {
    AstroState& a = ps.astro;
    const int current = a.clockMinutes;
    const int m = current - static_cast<int>(UniversalMinute(ps) - k);
    // Effects carry the minute they belong to where it is of the working date.
    if (m >= 0) SetClock(a, static_cast<int16_t>(m / 60), static_cast<int16_t>(m % 60));
    EventRegisters scratch;
    FireMinute(ps, fx, m, scratch, true);
    SetClock(a, static_cast<int16_t>(current / 60), static_cast<int16_t>(current % 60));
}

// Fires the minutes between the last fired one and the current one that the
// program's own clock correction jumped over.
void CatchUp(ProgramState& ps, SchedulerEffects& fx, int64_t last, int64_t now) {
    int64_t from = last + 1;
    if (from < now - kCatchUpMinutes) from = now - kCatchUpMinutes;
    for (int64_t k = from; k < now; ++k)
        FireLate(ps, fx, k);
}

void Pass(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    SchedulerMemory& mem = ps.scheduler;
    const bool catchUp = mem.catchUp;
    const bool foreign = mem.foreignChange;
    const bool resumed = mem.resumed;
    mem.catchUp = mem.foreignChange = mem.resumed = false;
    const int64_t expectedSecond = mem.lastPassSecond + mem.ticksSincePass;

    int16_t zone = 0;
    if (!UpdateWorkingState(ps, env, fx, &zone)) return;
    WallpaperCheck(ps, fx, zone);

    // Whether this pass fires the events of its minute: each minute fires
    // once, whatever forces a pass (settings saved, a report, a chart, a
    // resume, a clock correction), unless someone set the clock back by
    // minutes or more, or the clock is far behind the last fired minute.
    const int64_t now = UniversalMinute(ps);
    const int64_t nowSecond = now * 60 + ps.workTime.second;
    const bool firstPass = mem.firedMinute == SchedulerMemory::kNoMinute;
    mem.lastPassSecond = nowSecond;
    mem.ticksSincePass = 0;
    bool fire = true;
    if (!ps.realTime) {
        mem.firedMinute = SchedulerMemory::kNoMinute;
    } else if (firstPass || now < mem.firedMinute - kRepeatGuardMinutes ||
               (foreign && nowSecond <= expectedSecond - kForeignRepeatSeconds)) {
        mem.firedMinute = now;
    } else if (now > mem.firedMinute) {
        // Kept before anything fires: a box opened below runs passes of
        // its own.
        const int64_t last = mem.firedMinute;
        mem.firedMinute = now;
        // The minute the wake timer was armed for, when the computer came
        // back after it: played once the resume is known.
        if (!catchUp && mem.wakeMinute != SchedulerMemory::kNoMinute && last < mem.wakeMinute &&
            mem.wakeMinute < now)
            mem.missedWake = mem.wakeMinute;
        if (catchUp) CatchUp(ps, fx, last, now);
    } else {
        fire = false;
    }
    if (mem.missedWake != SchedulerMemory::kNoMinute && resumed) {
        const int64_t missed = mem.missedWake;
        mem.missedWake = SchedulerMemory::kNoMinute;
        if (nowSecond - missed * 60 <= kLateWakeMinutes * 60) FireLate(ps, fx, missed);
    }

    // The core's clock minute rather than a copy taken earlier: a pass that
    // ran inside a box opened below has moved it on.
    EventRegisters reg;
    FireMinute(ps, fx, ps.astro.clockMinutes, reg, fire);
    WakeAndRemainingTime(ps, fx, reg);

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
        mem.catchUp = true;
        ps.ticksToNextRun = 0;
        mem.countdown = 0;
    }
}

}  // namespace

void MinutePass(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    Pass(ps, env, fx);
}

void SchedulerTick(ProgramState& ps, SchedulerEnvironment& env, SchedulerEffects& fx) {
    SchedulerMemory& mem = ps.scheduler;
    if (mem.ownChangeTicks > 0) --mem.ownChangeTicks;
    ++mem.ticksSincePass;
    if (ps.ticksToNextRun < 0) return;  // waits for someone to set it to 0
    if (ps.ticksToNextRun > 0) {
        const bool own = ps.ticksToNextRun == mem.countdown;
        --ps.ticksToNextRun;
        if (!own) return;
        mem.countdown = ps.ticksToNextRun;
        if (!ps.realTime || !TickIsLate(ps, env)) return;
    }
    Pass(ps, env, fx);
}

void OnTimeChange(ProgramState& ps) {
    SchedulerMemory& mem = ps.scheduler;
    ps.ticksToNextRun = 0;
    mem.countdown = 0;
    if (mem.clockSyncRunning || mem.ownChangeTicks > 0) {
        // The program's own correction: the minutes it jumps over still fire.
        mem.catchUp = true;
    } else {
        // Someone else's: the pass measures the step.
        mem.catchUp = false;
        mem.foreignChange = true;
    }
}

void OnOwnClockCheck(ProgramState& ps, bool running) {
    SchedulerMemory& mem = ps.scheduler;
    mem.clockSyncRunning = running;
    if (!running) mem.ownChangeTicks = kOwnChangeTicks;
}

void OnDisplayChange(ProgramState& ps) {
    // A pending recomputation (parameters applied) is kept, not downgraded
    // to a plain refresh.
    if (ps.recalcLevel != 2) ps.recalcLevel = 3;
    ps.nextWallpaperRefresh = 0;
    ps.ticksToNextRun = 0;
}

void OnPowerBroadcast(ProgramState& ps, unsigned event) {
    // A wake by the timer with nobody at the computer sends only the
    // automatic resume; a user's key or mouse adds the other. Both, and the
    // critical resume, are one resume to the scheduler.
    if (event == kPowerResumeSuspend || event == kPowerResumeAutomatic ||
        event == kPowerResumeCritical) {
        OnDisplayChange(ps);
        ps.scheduler.resumed = true;
    }
}

}  // namespace miravel
