// The scheduler on a computer whose clock runs second by second with the
// timer: sleep and wake, resume messages, and the program's own clock
// correction around the minutes of the events.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/day_plan.h"
#include "app/scheduler.h"
#include "config/settings.h"
#include "core/calendar.h"

namespace miravel {
namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;

WorkTime At(int hour, int minute, int second) {
    WorkTime t;
    t.year = 2020;
    t.month = 6;
    t.day = 19;
    t.dayOfWeek = 5;
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    return t;
}

// Seconds of the local clock since 19/06/2020 00:00.
int64_t SecondsOf(int hour, int minute, int second) {
    return (hour * 60 + minute) * 60 + second;
}

class Computer : public ScriptedEnvironment {
  public:
    Computer() { Set(0); }
    void Set(int64_t s) {
        seconds = s;
        now = FromLocalFileTime(LocalFileTime(At(0, 0, 0)) + s * kUnitsPerSecond);
    }
    int64_t seconds = 0;
};

// Records like the plan's effects; the clock correction runs a scripted
// action meanwhile (moving the clock, ticking inside its wait, announcing).
class CorrectingEffects : public RecordingEffects {
  public:
    using RecordingEffects::RecordingEffects;
    void SyncClockSilently() override {
        RecordingEffects::SyncClockSilently();
        if (onSync) onSync();
    }
    std::function<void()> onSync;
};

// İstanbul, Friday 19/06/2020: ÖĞLE 13:13; with the morning adhan 24 minutes
// before GÜNEŞ (05:24) the SABAH adhan falls on 05:00, an hour's minute 0.
class Rig {
  public:
    Rig() {
        ps.location.latitude = 4101;
        ps.location.longitude = 2897;
        ps.location.utcOffset = 180;
        ps.options.morningAdhanLead = 24;
        ApplyCalcParams(ps);
    }
    void Tick() {
        SchedulerTick(ps, pc, fx);
        Watch();
    }
    // One tick per second of the clock.
    void Run(int64_t seconds) {
        for (int64_t i = 0; i < seconds; ++i) {
            pc.Set(pc.seconds + 1);
            Tick();
        }
    }
    void RunUntil(int64_t second) { Run(second - pc.seconds); }
    // The clock second of each firing of `slot`.
    std::vector<int64_t> Fired(int slot) const { return FiredAt(slot); }

    ProgramState ps;
    Computer pc;
    CorrectingEffects fx{ps};

  private:
    std::vector<int64_t> FiredAt(int slot) const {
        std::vector<int64_t> out;
        for (size_t i = 0; i < fx.records.size(); ++i)
            if (fx.records[i].kind == EffectKind::PlayAdhan && fx.records[i].number == slot)
                out.push_back(firedSecond[i]);
        return out;
    }

  public:
    // Filled by Watch(): the clock second at which each record was made.
    std::vector<int64_t> firedSecond;
    void Watch() {
        while (firedSecond.size() < fx.records.size())
            firedSecond.push_back(pc.seconds);
    }
};

// A computer woken by its timer for ÖĞLE, at every second of its minute and
// later (a slow resume), with the countdown left from before the sleep: the
// adhan plays within a few seconds of the wake, once, whichever of the first
// tick and the resume messages comes first, up to five minutes late.
TEST(SchedulerWake, EveryWakeSecondUpToFiveMinutesLateFiresOnceAtOnce) {
    const int64_t ogle = SecondsOf(13, 13, 0);
    int worstDelay = 0;
    for (int wakeSecond = 0; wakeSecond < 400; wakeSecond += wakeSecond < 60 ? 1 : 11) {
        for (int order = 0; order < 3; ++order) {
            SCOPED_TRACE(testing::Message()
                         << "wake at second " << wakeSecond << ", order " << order);
            Rig rig;
            rig.ps.options.wakeUp = true;
            rig.pc.Set(SecondsOf(13, 4, 30));
            rig.Tick();
            rig.RunUntil(SecondsOf(13, 5, 2));  // a pass at 13:05:01, then asleep
            ASSERT_GT(rig.ps.ticksToNextRun, 50);
            rig.pc.Set(ogle + wakeSecond);
            if (order == 1) {
                // Only the automatic resume: nobody touched the computer.
                OnPowerBroadcast(rig.ps, kPowerResumeAutomatic);
            } else if (order == 2) {
                OnPowerBroadcast(rig.ps, kPowerResumeAutomatic);
                OnPowerBroadcast(rig.ps, kPowerResumeSuspend);
                OnDisplayChange(rig.ps);
            }
            rig.Tick();
            rig.Watch();
            for (int i = 0; i < 5; ++i) {
                rig.Run(1);
                rig.Watch();
                if (i == 1) OnPowerBroadcast(rig.ps, kPowerResumeAutomatic);
                if (i == 2) OnPowerBroadcast(rig.ps, kPowerResumeSuspend);
            }
            rig.RunUntil(SecondsOf(13, 20, 0));
            rig.Watch();
            const auto fired = rig.Fired(1);
            ASSERT_EQ(fired.size(), wakeSecond <= kLateWakeMinutes * 60 ? 1u : 0u);
            if (fired.empty()) continue;
            const int delay = static_cast<int>(fired[0] - (ogle + wakeSecond));
            EXPECT_LE(delay, 3);
            if (delay > worstDelay) worstDelay = delay;
        }
    }
    EXPECT_LE(worstDelay, 3);
}

// The thread held up past a minute (a relay lead, a busy system): the first
// tick runs the pass of the minute it finds, not the countdown's.
TEST(SchedulerWake, LateTickRunsThePassOfItsMinute) {
    Rig rig;
    rig.pc.Set(SecondsOf(13, 11, 59));
    rig.Tick();
    rig.RunUntil(SecondsOf(13, 12, 1));
    // 70 seconds without a tick, then ticks again.
    rig.pc.Set(SecondsOf(13, 13, 11));
    rig.Tick();
    rig.Watch();
    EXPECT_EQ(rig.Fired(1), std::vector<int64_t>{SecondsOf(13, 13, 11)});
    rig.RunUntil(SecondsOf(13, 16, 0));
    EXPECT_EQ(rig.Fired(1).size(), 1u);
}

struct Correction {
    int waitSeconds;  // unanswered servers, the user's answer: ticks inside the check
    int moveSeconds;  // the correction: negative sets the clock back
    int announce;     // 0 inside the call, 1 posted after it, 2 both and the system's later
    bool interactive = false;  // "Internet Saati" (or its administrator helper) at 05:00:20
};

// The hourly correction at 05:00, the SABAH minute (the adhan first, then the
// servers), or the interactive check just after it: whatever the correction
// does to the clock, SABAH and the minutes around it fire once.
TEST(SchedulerWake, OwnCorrectionNeitherRepeatsNorSkipsAMinute) {
    const int64_t sabah = SecondsOf(5, 0, 0);
    for (const Correction c :
         {Correction{0, -90, 0}, Correction{0, -61, 1}, Correction{3, -2, 2}, Correction{40, 90, 0},
          Correction{40, 90, 1}, Correction{0, 59, 2}, Correction{70, -90, 1}, Correction{6, 0, 0},
          Correction{5, 90, 0, true}, Correction{12, 100, 1, true}, Correction{3, -150, 2, true},
          Correction{20, -300, 1, true}}) {
        SCOPED_TRACE(testing::Message()
                     << "wait " << c.waitSeconds << " move " << c.moveSeconds << " announce "
                     << c.announce << " by the menu " << c.interactive);
        Rig rig;
        rig.ps.options.autoClockCorrection = !c.interactive;
        // Minute 05:01 carries an event as well: the Friday salâ.
        rig.ps.options.fridaySala = true;
        rig.pc.Set(SecondsOf(4, 58, 30));
        rig.Tick();
        rig.ps.options.fridaySalaLead = rig.ps.dayTimes[Ogle - 1] - (5 * 60 + 1);
        bool announceLater = false, checked = false;
        rig.fx.onSync = [&] {
            rig.Watch();
            rig.Run(c.waitSeconds);
            rig.pc.Set(rig.pc.seconds + c.moveSeconds);
            if (c.announce != 1) OnTimeChange(rig.ps);
            announceLater = c.announce != 0;
        };
        while (rig.pc.seconds < SecondsOf(5, 10, 0)) {
            rig.Run(1);
            rig.Watch();
            if (c.interactive && rig.pc.seconds == SecondsOf(5, 0, 20) && !checked) {
                checked = true;
                OnOwnClockCheck(rig.ps, true);
                rig.fx.onSync();
                OnOwnClockCheck(rig.ps, false);
            }
            if (announceLater) {
                announceLater = false;
                OnTimeChange(rig.ps);  // the program's own message, taken from the queue
                if (c.announce == 2) {
                    rig.Run(2);
                    OnTimeChange(rig.ps);  // Windows' own, a moment later
                }
            }
        }
        rig.Watch();
        const auto fired = rig.Fired(0);
        ASSERT_EQ(fired.size(), 1u);
        EXPECT_LT(fired[0], sabah + 3);
        int salas = 0;
        size_t adhanAt = 0, syncAt = 0;
        for (size_t i = 0; i < rig.fx.records.size(); ++i) {
            const EffectRecord& r = rig.fx.records[i];
            if (r.kind == EffectKind::PlayFile) ++salas;
            if (r.kind == EffectKind::PlayAdhan && adhanAt == 0) adhanAt = i;
            if (r.kind == EffectKind::SyncClock && syncAt == 0) syncAt = i;
        }
        EXPECT_EQ(salas, 1);
        if (c.interactive) continue;
        EXPECT_LT(adhanAt, syncAt);
        EXPECT_EQ(
            std::count_if(rig.fx.records.begin(), rig.fx.records.end(),
                          [](const EffectRecord& r) { return r.kind == EffectKind::SyncClock; }),
            1);
    }
}

// A clock set back by someone else (a time service, the user), also just
// after the program's own correction: by less than two minutes it replays
// nothing; by more, SABAH plays again when its minute comes again.
TEST(SchedulerWake, ClockSetBackByOthersRepeatsOnlyFromTwoMinutes) {
    for (const int back : {1, 30, 90, 115, 125, 150, 600}) {
        for (const int64_t at : {SecondsOf(5, 0, 10), SecondsOf(5, 0, 59), SecondsOf(5, 1, 30)}) {
            SCOPED_TRACE(testing::Message() << back << " s back at " << at);
            Rig rig;
            rig.ps.options.autoClockCorrection = true;
            rig.pc.Set(SecondsOf(4, 59, 50));
            rig.Tick();
            rig.RunUntil(at);
            ASSERT_EQ(rig.Fired(0).size(), 1u);
            rig.pc.Set(at - back);
            OnTimeChange(rig.ps);
            rig.Tick();
            rig.RunUntil(SecondsOf(5, 3, 0));
            const bool again = back >= 120 && at - back < SecondsOf(5, 0, 0);
            EXPECT_EQ(rig.Fired(0).size(), again ? 2u : 1u);
        }
    }
}

}  // namespace
}  // namespace miravel
