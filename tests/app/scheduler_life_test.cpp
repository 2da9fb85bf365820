// A year (or a summer) of the running program on a computer that lives as
// computers do: it sleeps and its timer wakes it for the adhans, now and
// then slowly; its clock drifts and the hourly correction sets it right
// (servers that do not answer included), and so do the interactive check,
// its administrator helper and the system's time service, right after an
// adhan too; the user logs off and on before the taskbar is up, and sets the
// clock by hand. Each adhan fires exactly once a day (or as often as the
// user's clock changes make its minute come), at its minute, within seconds;
// a YATSI after midnight on the night it belongs to.
//
// Deterministic: one seeded generator, no distributions whose output depends
// on the standard library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/day_plan.h"
#include "app/scheduler.h"
#include "app/tray_icon.h"
#include "config/settings.h"
#include "core/calendar.h"
#include "core/sun.h"
#include "simulated_zone.h"

namespace miravel {
namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;

struct Place {
    const char* name;
    int32_t latitude, longitude;
    int16_t standardMinutes;
    bool summerFromSystem;
    int32_t mode = 4;
};

// Local seconds (since 1601) of the midnight that begins day number `day`.
int64_t LocalMidnight(int32_t day) {
    constexpr int64_t kSecondsTo2000 = 12'591'158'400;
    return kSecondsTo2000 + int64_t{day} * 86'400;
}

class Random {
  public:
    explicit Random(uint32_t seed) : engine_(seed) {}
    // Uniform in [lo, hi].
    int64_t Between(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(engine_() % static_cast<uint64_t>(hi - lo + 1));
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

  private:
    std::mt19937 engine_;
};

// The computer's clock: universal seconds that the program can be wrong
// about, and the local time the system derives from them.
class PcClock : public ScriptedEnvironment {
  public:
    PcClock(const Place& place, int year)
        : zone_(place.standardMinutes, place.summerFromSystem, year) {}
    bool Summer(int64_t utc) const { return zone_.Summer(utc); }
    int16_t ZoneAt(int64_t utc) const { return zone_.ZoneAt(utc); }
    int64_t LocalSeconds() const { return LocalSecondsAt(pcUtc); }
    int64_t LocalSecondsAt(int64_t utc) const { return utc + ZoneAt(utc) * 60; }
    WorkTime LocalTimeNow() override {
        return FromLocalFileTime(LocalSeconds() * kUnitsPerSecond + 250 * 10'000);
    }
    SystemZone SystemZoneNow() override { return zone_.SystemZoneAt(pcUtc); }

    int64_t pcUtc = 0;

  private:
    SimulatedZone zone_;
};

// A notification area that is not there until `readyAt`, refuses a second
// icon and counts the icons it holds.
class LogonShell : public TrayShellIcon {
  public:
    bool AddIcon(bool) override {
        if (!ready || icons > 0) return false;
        ++icons;
        return true;
    }
    bool ModifyIcon() override { return ready && icons > 0; }
    bool DeleteIcon() override {
        if (!ready || icons == 0) return false;
        --icons;
        return true;
    }
    void StartRetryTimer(unsigned ms) override {
        periodSeconds = static_cast<int>(ms / 1000);
        elapsed = 0;
    }
    void StopRetryTimer() override { periodSeconds = 0; }

    bool ready = false;
    int icons = 0;
    int periodSeconds = 0;
    int elapsed = 0;
};

struct Firing {
    int32_t date;  // day number of the date whose times the adhan belongs to
    int minute;    // its minute, counted from that date's midnight
    int slot;
    int64_t localSecond;  // the computer's local clock, seconds
};

struct Counts {
    long expected = 0, fired = 0, doubled = 0, lost = 0, wrongMinute = 0;
    long relived = 0, skippedByUser = 0;
    long sleeps = 0, wakes = 0, corrections = 0, unanswered = 0, logons = 0, userChanges = 0;
    long slowWakes = 0, lateYatsiNights = 0, stepsBackByOthers = 0, menuChecks = 0;
    long helperChecks = 0, ownStepsBack = 0;
    int latestWake = 0;  // s after the minute began
    long trayFaults = 0, taskbarCreatedWhileShown = 0;
    int worstDelay = 0, worstDelayAfterWake = 0, worstDelayAfterLogon = 0;
    int worstDelayAfterCorrection = 0, worstDelayAfterUserChange = 0;
    int largestCorrection = 0;
    long caughtUp = 0;  // fired after the clock had left their minute
    int64_t correctionsTotal = 0;
};

class Life;

// The program's effects: adhans recorded; the correction runs the servers'
// waits (the client's message loop keeps the ticks going) and sets the clock.
class LifeEffects : public SchedulerEffects {
  public:
    LifeEffects(Life& life, const ProgramState& ps) : life_(life), ps_(ps) {}
    void SetRemainingTimeText(const char*) override {}
    void ShowNotice(const char*) override { ++unasked; }
    void ShowReligiousDayWarning(const char*) override {}
    void ShowReminder(int, unsigned) override { ++unasked; }
    void PlaySoundFile(const char*) override { ++unasked; }
    void PlayAdhan(int slot) override;
    bool ArmWakeTimer(int64_t due) override {
        armed = due;
        return false;
    }
    void CancelWakeTimer() override { armed = -1; }
    void SyncClockSilently() override;
    void RefreshTimesDialog() override {}
    void RepostChart(int32_t) override {}
    void RefreshWallpaper() override {}
    void SetMenuEntryEnabled(int, bool) override {}

    int64_t armed = -1;
    long unasked = 0;

  private:
    Life& life_;
    const ProgramState& ps_;
};

class Life {
  public:
    // Days `from` to `to` of the year (1-based).
    Life(const Place& place, int year, uint32_t seed, int from, int to)
        : place_(place), year_(year), random_(seed), pc_(place, year) {
        utc_ = UtcSeconds(1, 1, year, 0) - place.standardMinutes * 60 + (from - 1) * 86'400LL;
        end_ = utc_ + (to - from + 1) * 86'400LL;
        startLocal = pc_.LocalSecondsAt(utc_);
        endLocal = pc_.LocalSecondsAt(end_);
        pc_.pcUtc = utc_;
        StartProgram(0);
    }

    void Run();
    // What happened, on the computer's local clock, for the failure reports.
    void Log(const char* what, int64_t value = 0) {
        log.push_back({pc_.LocalSeconds(), utc_, std::string(what) + " " + std::to_string(value)});
    }
    struct Entry {
        int64_t local, utc;
        std::string text;
    };
    std::vector<Entry> log;
    Counts counts;
    std::vector<Firing> firings;
    int64_t startLocal = 0, endLocal = 0;

    // Called from the effects.
    void Adhan(int slot) {
        Log("adhan", slot);
        const int64_t local = pc_.LocalSeconds();
        const SchedulerMemory& mem = ps_->scheduler;
        firings.push_back({mem.firingDay, mem.firingMinute, slot, local});
        const int64_t start = LocalMidnight(mem.firingDay) + mem.firingMinute * 60LL;
        if (local / 60 != start / 60) ++counts.caughtUp;
        // Seconds from the start of the event's minute on the computer's clock.
        const int sinceMinute = static_cast<int>(local - start);
        int* worst = &counts.worstDelay;
        int delay = sinceMinute;
        // After a wake or a start, counted from then when the minute began
        // while the computer slept or the program did not run.
        // (A correction right after the wake counts as the correction.)
        if (lastWakeUtc_ >= 0 && utc_ - lastWakeUtc_ <= 60 && lastCorrectionUtc_ < lastWakeUtc_) {
            worst = &counts.worstDelayAfterWake;
            delay = std::min(delay, static_cast<int>(utc_ - lastWakeUtc_));
        } else if (lastStartUtc_ >= 0 && utc_ - lastStartUtc_ <= 60) {
            worst = &counts.worstDelayAfterLogon;
            delay = std::min(delay, static_cast<int>(utc_ - lastStartUtc_));
        } else if (lastUserChangeUtc_ >= 0 && utc_ - lastUserChangeUtc_ <= 2) {
            worst = &counts.worstDelayAfterUserChange;
        } else if (lastCorrectionUtc_ >= 0 && utc_ - lastCorrectionUtc_ <= 15) {
            worst = &counts.worstDelayAfterCorrection;
        }
        *worst = std::max(*worst, delay);
        if (worst == &counts.worstDelay && delay > 3 && lateReports_++ < 3) {
            std::string around;
            for (size_t i = log.size() > 12 ? log.size() - 12 : 0; i < log.size(); ++i)
                around += "\n  " + std::to_string(log[i].local - local) + " " + log[i].text;
            ADD_FAILURE() << "adhan " << slot << " " << delay << " s into its minute:" << around;
        }
    }
    void Correction() {
        // Servers that do not answer take their time-out of 2 s each while
        // the client's loop goes on dispatching the timer.
        // Mostly up to five silent servers; now and then ten to twenty,
        // or none answering at all.
        const bool noneAnswers = random_.Chance(5);
        const int silent = noneAnswers         ? 8
                           : random_.Chance(5) ? static_cast<int>(random_.Between(10, 20))
                                               : static_cast<int>(random_.Between(0, 5));
        counts.unanswered += silent;
        for (int i = 0; i < silent * 2; ++i)
            Second(true);
        Log("sync, unanswered", silent);
        if (noneAnswers) return;
        const int64_t move = -drift_ / 1000;
        Log("corrected by", move);
        ++counts.corrections;
        counts.largestCorrection =
            std::max(counts.largestCorrection, static_cast<int>(move < 0 ? -move : move));
        counts.correctionsTotal += move < 0 ? -move : move;
        // The user's changes are set right by the user before minute 0.
        EXPECT_EQ(userOffset_, 0);
        drift_ += move * 1000;
        pc_.pcUtc = utc_ + drift_ / 1000 + userOffset_;
        lastCorrectionUtc_ = utc_;
        // The program's own announcement is taken from the queue during the
        // call or comes with the next messages; Windows' own follows.
        if (random_.Chance(50))
            OnTimeChange(*ps_);
        else
            pending_.push_back({utc_ + 1, kTimeChange});
        if (random_.Chance(50)) pending_.push_back({utc_ + random_.Between(1, 3), kTimeChange});
    }

  private:
    enum Message { kTimeChange, kResumeAutomatic, kResumeUser, kDisplayChange, kTaskbarCreated };
    struct Pending {
        int64_t at;
        Message message;
    };

    void StartProgram(int64_t shellDelay) {
        state_ = std::make_unique<ProgramState>();
        ProgramState& ps = *state_;
        ps_ = &ps;
        ps.location.latitude = place_.latitude;
        ps.location.longitude = place_.longitude;
        ps.location.utcOffset = place_.standardMinutes;
        ps.location.useSystemTimeZone = place_.summerFromSystem;
        ps.location.useSystemSummerTime = place_.summerFromSystem;
        ps.options.wakeUp = true;
        ps.options.autoClockCorrection = true;
        ps.calc.mode = place_.mode;
        ApplyCalcParams(ps);
        fx_ = std::make_unique<LifeEffects>(*this, ps);
        shell_ = std::make_unique<LogonShell>();
        lastStartUtc_ = utc_;
        shell_->ready = shellDelay == 0;
        shellReadyAt_ = utc_ + shellDelay;
        keeper_ = std::make_unique<TrayIconKeeper>(*shell_);
        keeper_->Start();
        // Start-up sends the first tick itself.
        SchedulerTick(ps, pc_, *fx_);
        if (shellDelay > 0 && random_.Chance(50))
            pending_.push_back({shellReadyAt_, kTaskbarCreated});
    }

    void StopProgram() {
        if (shell_->ready && shell_->icons != 1) ++counts.trayFaults;
        keeper_->Remove();
        if (shell_->icons != 0) ++counts.trayFaults;
    }

    void Deliver(Message m) {
        Log("message", m);
        switch (m) {
            case kTimeChange:
                OnTimeChange(*ps_);
                break;
            case kResumeAutomatic:
                OnPowerBroadcast(*ps_, kPowerResumeAutomatic);
                SchedulerTick(*ps_, pc_, *fx_);  // the main window runs the pass at once
                break;
            case kResumeUser:
                OnPowerBroadcast(*ps_, kPowerResumeSuspend);
                SchedulerTick(*ps_, pc_, *fx_);
                break;
            case kDisplayChange:
                OnDisplayChange(*ps_);
                break;
            case kTaskbarCreated:
                if (keeper_->Shown()) ++counts.taskbarCreatedWhileShown;
                keeper_->OnTaskbarCreated();
                if (shell_->icons > 1) ++counts.trayFaults;
                break;
        }
    }

    // One second of the clocks: the computer's drifts towards this hour's
    // target, at most 90 s off.
    void World() {
        ++utc_;
        if (utc_ - hourStart_ >= 3600) {
            hourStart_ = utc_;
            const int64_t target = random_.Between(-90'000, 90'000);
            driftRate_ = (target - drift_) / 3600;
        }
        drift_ = std::clamp<int64_t>(drift_ + driftRate_, -90'000, 90'000);
        pc_.pcUtc = utc_ + drift_ / 1000 + userOffset_;
    }

    // One second of the world; `nested` inside the clock correction's wait.
    void Second(bool nested) {
        World();
        if (!shell_->ready && utc_ >= shellReadyAt_) shell_->ready = true;
        if (!nested) {
            for (size_t i = 0; i < pending_.size();) {
                if (pending_[i].at <= utc_) {
                    const Message m = pending_[i].message;
                    pending_.erase(pending_.begin() + static_cast<long>(i));
                    Deliver(m);
                } else {
                    ++i;
                }
            }
        }
        SchedulerTick(*ps_, pc_, *fx_);
        if (shell_->periodSeconds > 0 && ++shell_->elapsed >= shell_->periodSeconds) {
            shell_->elapsed = 0;
            keeper_->OnRetryTimer();
        }
    }

    // The adhan minutes from the computer's local date on (the day before's
    // late YATSI included), in local seconds.
    std::vector<int64_t> EventStarts() {
        const int64_t dayStart = pc_.LocalSeconds() - (pc_.LocalSeconds() % 86'400);
        std::vector<int64_t> out;
        for (int slot = 0; slot < kAdhanSlotCount; ++slot)
            for (int day = -1; day <= 0; ++day)
                if (AdhanSlotInstant(*ps_, day, slot) >= 0)
                    out.push_back(dayStart + AdhanSlotInstant(*ps_, day, slot) * 60LL);
        std::sort(out.begin(), out.end());
        return out;
    }

    void Sleep(int64_t wakeLocal, int64_t eventStart) {
        ++counts.sleeps;
        Log("sleep until", wakeLocal);
        // No ticks while asleep; the clocks run on.
        while (pc_.LocalSeconds() < wakeLocal)
            World();
        ++counts.wakes;
        Log("woke");
        const int late = static_cast<int>(pc_.LocalSeconds() - eventStart);
        counts.latestWake = std::max(counts.latestWake, late);
        if (late >= 60) ++counts.slowWakes;
        lastWakeUtc_ = utc_;
        // The timer is overdue: its tick comes at once, before or after the
        // resume messages; a user's key or mouse adds the second resume.
        const int order = static_cast<int>(random_.Between(0, 3));
        if (order == 0) {
            SchedulerTick(*ps_, pc_, *fx_);
            pending_.push_back({utc_ + 1, kResumeAutomatic});
        } else if (order == 1) {
            Deliver(kResumeAutomatic);
            SchedulerTick(*ps_, pc_, *fx_);
        } else if (order == 2) {
            Deliver(kResumeAutomatic);
            Deliver(kDisplayChange);
            SchedulerTick(*ps_, pc_, *fx_);
            pending_.push_back({utc_ + random_.Between(1, 20), kResumeUser});
        } else {
            SchedulerTick(*ps_, pc_, *fx_);
            pending_.push_back({utc_ + random_.Between(0, 3), kResumeAutomatic});
            pending_.push_back({utc_ + random_.Between(0, 5), kResumeUser});
        }
    }

    // The system's time service sets the clock back a little, announced
    // with WM_TIMECHANGE a moment later or (rarely) not at all.
    void StepBackByOthers(int64_t seconds) {
        seconds = std::min(seconds, (drift_ + 90'000) / 1000);
        if (seconds < 1) return;
        ++counts.stepsBackByOthers;
        Log("time service sets the clock back by", seconds);
        drift_ -= seconds * 1000;
        pc_.pcUtc = utc_ + drift_ / 1000 + userOffset_;
        if (random_.Chance(90)) pending_.push_back({utc_ + random_.Between(0, 2), kTimeChange});
    }

    // "Internet Saati" from the menu: servers and the user's answer take
    // seconds while the check's loop dispatches every message; without the
    // right to set the clock the administrator helper sets it, announcing
    // it while the check waits for the helper. Windows' own announcement
    // may follow.
    void OwnCheck(bool helper) {
        ++(helper ? counts.helperChecks : counts.menuChecks);
        OnOwnClockCheck(*ps_, true);
        const int64_t waiting = helper ? random_.Between(3, 20) : random_.Between(1, 12);
        for (int64_t i = 0; i < waiting; ++i)
            Second(false);
        const int64_t move = -drift_ / 1000;
        Log(helper ? "helper corrects by" : "menu check corrects by", move);
        if (move < 0) ++counts.ownStepsBack;
        drift_ += move * 1000;
        pc_.pcUtc = utc_ + drift_ / 1000 + userOffset_;
        lastCorrectionUtc_ = utc_;
        if (helper) {
            pending_.push_back({utc_ + 1, kTimeChange});
            for (int64_t i = random_.Between(1, 4); i > 0; --i)
                Second(false);
        } else if (random_.Chance(50)) {
            OnTimeChange(*ps_);
        } else {
            pending_.push_back({utc_ + 1, kTimeChange});
            Second(false);
        }
        OnOwnClockCheck(*ps_, false);
        if (random_.Chance(70)) pending_.push_back({utc_ + random_.Between(1, 3), kTimeChange});
    }

    void UserChange(int64_t deltaSeconds) {
        ++counts.userChanges;
        Log("user sets the clock by", deltaSeconds);
        lastUserChangeUtc_ = utc_;
        const int64_t before = pc_.LocalSeconds();
        userOffset_ += deltaSeconds;
        pc_.pcUtc = utc_ + drift_ / 1000 + userOffset_;
        const int64_t after = pc_.LocalSeconds();
        // The minutes of the local day that come again (back) or never (forward).
        const int64_t mOld = before / 60, mNew = after / 60;
        if (mNew <= mOld) {
            for (int64_t m = mNew; m <= mOld; ++m)
                ++lived_[m];
        } else {
            for (int64_t m = mOld + 1; m < mNew; ++m)
                --lived_[m];
        }
        OnTimeChange(*ps_);
    }

    const Place& place_;
    int year_;
    Random random_;
    PcClock pc_;
    int64_t utc_ = 0, end_ = 0;
    int64_t drift_ = 0;      // ms the computer's clock is ahead
    int64_t driftRate_ = 0;  // ms per second
    int64_t hourStart_ = 0;
    int64_t userOffset_ = 0;
    int lateReports_ = 0;  // s the user has set the clock by
    int64_t lastWakeUtc_ = -1, lastCorrectionUtc_ = -1, lastStartUtc_ = -1;
    int64_t lastUserChangeUtc_ = -1;
    int64_t shellReadyAt_ = 0;
    std::vector<Pending> pending_;
    std::unique_ptr<ProgramState> state_;
    ProgramState* ps_ = nullptr;
    std::unique_ptr<LifeEffects> fx_;
    std::unique_ptr<LogonShell> shell_;
    std::unique_ptr<TrayIconKeeper> keeper_;

  public:
    // Local minutes (since 1601) that the user's changes make come more or
    // less often than once.
    std::map<int64_t, int> lived_;
};

void LifeEffects::PlayAdhan(int slot) {
    life_.Adhan(slot);
}

void LifeEffects::SyncClockSilently() {
    life_.Correction();
}

void Life::Run() {
    // Something to do at a local second of the day; planned each morning.
    enum Kind {
        kSleep,
        kLogonBefore,
        kUserChange,
        kUserRestore,
        kDpiChange,
        kStepBack,
        kMenuCheck,
        kHelperCheck
    };
    struct Plan {
        int64_t local;  // when, on the computer's local clock
        Kind kind;
        int64_t value;  // the event start it concerns, or the clock change in seconds
    };
    std::vector<Plan> plans;
    auto byTime = [](const Plan& a, const Plan& b) { return a.local < b.local; };
    int32_t plannedDay = -1;
    hourStart_ = utc_;

    while (utc_ < end_) {
        const int64_t local = pc_.LocalSeconds();
        const int32_t day = static_cast<int32_t>(local / 86'400);
        if (day != plannedDay && local % 86'400 >= 30 && local % 86'400 < 3600 &&
            ps_->astro.clockMinutes == local % 86'400 / 60) {
            plannedDay = day;
            plans.clear();
            // On the days summer time begins or ends the plan's clock times
            // would move; those days run without plans.
            if (pc_.ZoneAt(pc_.pcUtc) != pc_.ZoneAt(pc_.pcUtc + 86'400)) continue;

            // A clock set by hand over an adhan minute, forward or back, and
            // set right again 5 to 10 minutes later; inside one hour, away
            // from its correction at minute 0, and nothing else near it.
            const std::vector<int64_t> starts = EventStarts();
            int64_t userFrom = -1, userTo = -1;
            if (random_.Chance(40)) {
                for (int64_t e : starts) {
                    const int64_t minute = e / 60 % 60;
                    if (e < local + 3600 || minute < 24 || minute > 38) continue;
                    const int64_t delta = random_.Between(6, 12) * 60;
                    const int64_t shift = random_.Between(2, 4) * 60 + random_.Between(10, 50);
                    if (random_.Chance(50))
                        plans.push_back({e - shift, kUserChange, delta});
                    else
                        plans.push_back({e + shift, kUserChange, -delta});
                    userFrom = e - 3600;
                    userTo = e + 3600;
                    break;
                }
            }
            for (size_t i = 0; i < starts.size(); ++i) {
                const int64_t from = i == 0 ? local + 120 : starts[i - 1] + 180;
                const int64_t to = starts[i] - 300;
                if (to <= from || (starts[i] >= userFrom && from <= userTo)) continue;
                if (random_.Chance(40)) {
                    plans.push_back({random_.Between(from, to), kSleep, starts[i]});
                } else if (random_.Chance(8)) {
                    plans.push_back({random_.Between(from, to), kLogonBefore, starts[i]});
                }
            }
            // Right after an adhan has played, a little into its minute or
            // past it: the clock set back by the time service, or corrected
            // from the menu or through the administrator helper.
            for (int64_t e : starts) {
                if (e < local + 300 || (e >= userFrom && e <= userTo) || !random_.Chance(30))
                    continue;
                const int64_t at = e + random_.Between(1, 100);
                const int pick = static_cast<int>(random_.Between(0, 2));
                plans.push_back({at,
                                 pick == 0   ? kStepBack
                                 : pick == 1 ? kMenuCheck
                                             : kHelperCheck,
                                 random_.Between(1, 90)});
            }
            if (random_.Chance(3))
                plans.push_back({local + random_.Between(3600, 20'000), kDpiChange, 0});
            std::sort(plans.begin(), plans.end(), byTime);
        }

        if (!plans.empty() && pc_.LocalSeconds() >= plans.front().local) {
            const Plan p = plans.front();
            plans.erase(plans.begin());
            switch (p.kind) {
                case kSleep: {
                    // The timer wakes it in the minute of the next adhan, 0
                    // to 59 s in, however long Windows takes to resume.
                    if (fx_->armed < 0) break;
                    const int64_t due = fx_->armed / kUnitsPerSecond;
                    if ((due + kWakeLeadSeconds) / 60 != p.value / 60) {
                        ADD_FAILURE() << "the wake-up is not armed for the next adhan: " << due
                                      << " for " << p.value << " at " << pc_.LocalSeconds();
                        break;
                    }
                    // Windows takes a moment to resume; a slow disk or
                    // hibernation takes a minute or more, up to 4 min 50 s
                    // past the adhan minute's beginning.
                    const int64_t resume = random_.Chance(85)   ? random_.Between(0, 25)
                                           : random_.Chance(70) ? random_.Between(26, 120)
                                                                : random_.Between(121, 320);
                    Sleep(due + resume, p.value);
                    break;
                }
                case kLogonBefore: {
                    // Off, then the program starts at logon before the
                    // taskbar is up, now and then inside the adhan minute.
                    ++counts.logons;
                    StopProgram();
                    Log("off");
                    const int64_t on = random_.Chance(30) ? p.value + random_.Between(0, 59)
                                                          : p.value - random_.Between(60, 240);
                    while (pc_.LocalSeconds() < on)
                        World();
                    pending_.clear();
                    StartProgram(random_.Between(3, 90));
                    Log("logon start");
                    break;
                }
                case kUserChange:
                    UserChange(p.value);
                    // At second 10 or later, so that the minute it leaves has had its pass.
                    plans.push_back({pc_.LocalSeconds() + random_.Between(300, 600) / 60 * 60 +
                                         random_.Between(10, 50) - pc_.LocalSeconds() % 60,
                                     kUserRestore, -p.value});
                    std::sort(plans.begin(), plans.end(), byTime);
                    break;
                case kUserRestore:
                    UserChange(p.value);
                    break;
                case kDpiChange:
                    Deliver(kTaskbarCreated);
                    break;
                case kStepBack:
                    StepBackByOthers(p.value);
                    break;
                case kMenuCheck:
                case kHelperCheck:
                    OwnCheck(p.kind == kHelperCheck);
                    break;
            }
        }
        Second(false);
    }
    StopProgram();
}

// Days `from` to `to` of `year` (1-based; 0 for `to`: the year's end).
void RunLife(const Place& place, int year, uint32_t seed, int from = 1, int to = 0) {
    SCOPED_TRACE(place.name);
    if (to == 0) to = IsLeapYear(year) ? 366 : 365;
    Life life(place, year, seed, from, to);
    life.Run();
    Counts& c = life.counts;

    // Expected: each adhan of each date once, at the minute of that date's
    // times (a YATSI after midnight on the next date), plus or minus the
    // user's clock changes. Each at the minute of the program's times of
    // that day. (Those can differ by a minute from the times computed on
    // their own below: the look-up of tomorrow's religious day before
    // today's times leaves the core a trace, e.g. YATSI of 13/05/2022 in
    // Berlin, 22:39 instead of 22:38.)
    std::map<std::pair<int32_t, int>, std::vector<int>> fired;
    for (const Firing& f : life.firings)
        fired[{f.date, f.slot}].push_back(f.minute);
    long offTimesComputedApart = 0;
    const PcClock zones(place, year);
    // The core with the program's calculation parameters.
    ProgramState settings;
    settings.location.latitude = place.latitude;
    settings.location.longitude = place.longitude;
    settings.calc.mode = place.mode;
    ApplyCalcParams(settings);
    const int32_t first = DayNumberOf(1, 1, year);
    for (int d = std::max(0, from - 2); d < to; ++d) {
        int month = 0, dayOfMonth = 0;
        MonthAndDay(year, d + 1, &month, &dayOfMonth);
        AstroState s = settings.astro;
        const int16_t zone = zones.ZoneAt(UtcSeconds(dayOfMonth, month, year, 12));
        SetLocation(s, static_cast<int16_t>(place.latitude), static_cast<int16_t>(place.longitude),
                    zone);
        SetDate(s, static_cast<int16_t>(dayOfMonth), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        int32_t t[kVakitCount];
        ComputeDayTimes(s, t);
        const int want[kAdhanSlotCount] = {VakitInstant(t, Gunes) - 60, VakitInstant(t, Ogle),
                                           VakitInstant(t, Ikindi), VakitInstant(t, Aksam),
                                           VakitInstant(t, Yatsi)};
        for (int slot = 0; slot < kAdhanSlotCount; ++slot) {
            // Minutes whole within the life, away from its ends.
            const int64_t at = LocalMidnight(first + d) + want[slot] * 60LL;
            if (at < life.startLocal + 120 || at > life.endLocal - 600) continue;
            if (slot == 4 && want[slot] >= 1440) ++c.lateYatsiNights;
            const auto it = life.lived_.find(at / 60);
            const int extra = it == life.lived_.end() ? 0 : it->second;
            if (extra > 0) c.relived += extra;
            if (extra < 0) c.skippedByUser += -extra;
            const int expected = 1 + extra;
            const std::vector<int>& got = fired[{first + d, slot}];
            c.expected += expected;
            c.fired += static_cast<long>(got.size());
            const long n = static_cast<long>(got.size());
            if (n > expected) c.doubled += n - expected;
            if (n < expected) c.lost += expected - n;
            for (int m : got) {
                if (m != want[slot]) ++offTimesComputedApart;
                if ((m > want[slot] + 1 || m < want[slot] - 1) && ++c.wrongMinute <= 3)
                    ADD_FAILURE() << "slot " << slot << " fired at minute " << m << ", its time is "
                                  << want[slot];
            }
            if (n != expected && c.doubled + c.lost <= 3) {
                std::string around;
                for (const Life::Entry& e : life.log)
                    if (e.local > at - 1800 && e.local < at + 1800)
                        around += "\n  " + std::to_string(e.local - at) + " (utc " +
                                  std::to_string(e.utc) + ") " + e.text;
                ADD_FAILURE() << "slot " << slot << " on " << dayOfMonth << "/" << month
                              << " fired " << n << " times, expected " << expected
                              << "; seconds from its minute:" << around;
            }
        }
    }

    std::printf(
        "[ life ] %s %d (mode %d, days %d-%d): adhans expected %ld, fired %ld, doubled %ld, lost "
        "%ld, at a wrong minute %ld (%ld off the times computed apart); YATSI after midnight on "
        "%ld nights; relived by the user %ld, skipped by the user %ld\n"
        "[ life ]   sleeps %ld (timer wakes %ld, %ld of them a minute or more late, up to %d s "
        "after the adhan minute began), own corrections %ld (largest %d s, mean %.1f s), "
        "servers unanswered %ld, logon starts %ld, user clock changes %ld, TaskbarCreated while "
        "shown %ld, tray faults %ld\n"
        "[ life ]   after an adhan: clock set back 1-90 s by the time service %ld times; checks "
        "from the menu %ld, through the administrator helper %ld (%ld of them setting the "
        "clock back)\n"
        "[ life ]   worst delay: %d s into the minute normally; %d s from a wake; %d s from a "
        "logon start; %d s into the minute after an own correction, %d s after a user's change; "
        "%ld fired after the clock had left their minute\n",
        place.name, year, place.mode, from, to, c.expected, c.fired, c.doubled, c.lost,
        c.wrongMinute, offTimesComputedApart, c.lateYatsiNights, c.relived, c.skippedByUser,
        c.sleeps, c.wakes, c.slowWakes, c.latestWake, c.corrections, c.largestCorrection,
        c.corrections ? static_cast<double>(c.correctionsTotal) / c.corrections : 0.0, c.unanswered,
        c.logons, c.userChanges, c.taskbarCreatedWhileShown, c.trayFaults, c.stepsBackByOthers,
        c.menuChecks, c.helperChecks, c.ownStepsBack, c.worstDelay, c.worstDelayAfterWake,
        c.worstDelayAfterLogon, c.worstDelayAfterCorrection, c.worstDelayAfterUserChange,
        c.caughtUp);

    EXPECT_EQ(c.doubled, 0);
    EXPECT_EQ(c.lost, 0);
    EXPECT_EQ(c.wrongMinute, 0);
    EXPECT_EQ(c.fired, c.expected);
    EXPECT_EQ(c.trayFaults, 0);
    EXPECT_LE(c.worstDelay, 3);
    EXPECT_LE(c.worstDelayAfterWake, 3);
    EXPECT_LE(c.worstDelayAfterLogon, 3);
    // Busy lives: everything happened many times.
    const long days = to - from + 1;
    EXPECT_GT(c.wakes, days * 300 / 365);
    EXPECT_GT(c.slowWakes, days * 20 / 365);
    EXPECT_GT(c.corrections, days * 5000 / 365);
    EXPECT_GT(c.logons, days * 50 / 365);
    EXPECT_GT(c.userChanges, days * 40 / 365);
    EXPECT_GT(c.stepsBackByOthers, days * 50 / 365);
    EXPECT_GT(c.ownStepsBack, days * 40 / 365);
    EXPECT_GT(c.relived, 0);
    EXPECT_GT(c.skippedByUser, 0);
}

TEST(SchedulerLife, Istanbul) {
    RunLife({"Istanbul", 4101, 2897, 180, false}, 2021, 20211);
}

TEST(SchedulerLife, BerlinWithSummerTimeFromTheSystem) {
    RunLife({"Berlin", 5252, 1340, 60, true}, 2022, 20222);
}

// Summers where YATSI falls after midnight on many nights: Tampere (61.5° N)
// in mode 4, Vigo (42.2° N, far west in its zone) in mode 0; May to August.
TEST(SchedulerLife, LateYatsiSummers) {
    const int may1 = DayOfYearOf(1, 5, 2024), aug31 = DayOfYearOf(31, 8, 2024);
    RunLife({"Tampere", 6150, 2376, 120, true, 4}, 2024, 20241, may1, aug31);
    RunLife({"Vigo", 4223, -872, 60, true, 0}, 2024, 20242, may1, aug31);
}

}  // namespace
}  // namespace miravel
