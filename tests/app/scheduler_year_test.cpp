// A year of the running program, second by second, at four places: every
// adhan once a day at its minute, the wake target always the next event, and
// nothing else unless asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/day_plan.h"
#include "app/scheduler.h"
#include "config/settings.h"
#include "core/calendar.h"
#include "core/hijri.h"
#include "core/sun.h"
#include "simulated_zone.h"

namespace miravel {
namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;

struct Place {
    const char* name;
    int32_t latitude, longitude;  // hundredths of a degree
    int16_t standardMinutes;
    bool summerFromSystem;  // the EU rule, reported by the system
};

// The clock of the computer: universal seconds running, the local time and
// the summer flag derived from them as the system would.
class YearClock : public ScriptedEnvironment {
  public:
    YearClock(const Place& place, int year)
        : zone_(place.standardMinutes, place.summerFromSystem, year) {
        utc = UtcSeconds(1, 1, year, 0) - place.standardMinutes * 60;
    }

    bool Summer() const { return zone_.Summer(utc); }
    int16_t Zone() const { return zone_.ZoneAt(utc); }

    WorkTime LocalTimeNow() override {
        return FromLocalFileTime((utc + Zone() * 60) * kUnitsPerSecond + 123 * 10'000);
    }
    SystemZone SystemZoneNow() override { return zone_.SystemZoneAt(utc); }

    int64_t utc = 0;

  private:
    SimulatedZone zone_;
};

struct Firing {
    int32_t dayNumber;
    int minute;
    int slot;
    int16_t zone;
};

// Counts what a year of passes does; anything but the adhans, the wake timer
// and the religious-day warning is a fault here.
class YearEffects : public SchedulerEffects {
  public:
    explicit YearEffects(const ProgramState& ps) : ps_(ps) {}

    void SetRemainingTimeText(const char*) override { ++titles; }
    void ShowNotice(const char* text) override { Unasked("notice", text); }
    void ShowReligiousDayWarning(const char* text) override {
        warnings.push_back({DayNumber(ps_.astro) - 1, text});  // the core is on tomorrow
    }
    void ShowReminder(int, unsigned) override { Unasked("reminder", ""); }
    void PlaySoundFile(const char* file) override { Unasked("sound", file); }
    void PlayAdhan(int slot) override {
        firings.push_back(
            {ps_.scheduler.firingDay, ps_.scheduler.firingMinute, slot, ps_.astro.zoneMinutes});
    }
    bool ArmWakeTimer(int64_t due) override {
        armed = due;
        ++arms;
        return false;
    }
    void CancelWakeTimer() override { Unasked("cancel", ""); }
    void SyncClockSilently() override { Unasked("sync", ""); }
    void RefreshTimesDialog() override {}
    void RepostChart(int32_t) override { Unasked("chart", ""); }
    void RefreshWallpaper() override { Unasked("wallpaper", ""); }
    void SetMenuEntryEnabled(int, bool) override { Unasked("menu", ""); }

    void Unasked(const char* what, const char* text) {
        if (unasked.size() < 10) unasked.push_back(std::string(what) + " " + text);
        ++unaskedCount;
    }

    std::vector<Firing> firings;
    std::vector<std::pair<int32_t, std::string>> warnings;
    std::vector<std::string> unasked;
    long unaskedCount = 0;
    long titles = 0;
    long arms = 0;
    int64_t armed = -1;

  private:
    const ProgramState& ps_;
};

// The times of a date computed on their own, apart from the scheduler, as
// the minutes they fall on counted from that date's midnight.
struct Expected {
    int slotMinute[kAdhanSlotCount];
};

Expected ExpectedFor(const Place& place, int16_t zone, int32_t dayNumber) {
    int year = 2000 + dayNumber / 366;
    while (DayNumberOf(1, 1, year + 1) <= dayNumber)
        ++year;
    while (DayNumberOf(1, 1, year) > dayNumber)
        --year;
    int month = 0, day = 0;
    MonthAndDay(year, dayNumber - DayNumberOf(1, 1, year) + 1, &month, &day);
    AstroState s;
    SetLocation(s, static_cast<int16_t>(place.latitude), static_cast<int16_t>(place.longitude),
                zone);
    SetDate(s, static_cast<int16_t>(day), static_cast<int16_t>(month), static_cast<int16_t>(year));
    int32_t t[kVakitCount];
    ComputeDayTimes(s, t);
    return {{VakitInstant(t, Gunes) - 60, VakitInstant(t, Ogle), VakitInstant(t, Ikindi),
             VakitInstant(t, Aksam), VakitInstant(t, Yatsi)}};
}

void RunYear(const Place& place, int year) {
    SCOPED_TRACE(place.name);
    ProgramState ps;
    ps.location.latitude = place.latitude;
    ps.location.longitude = place.longitude;
    ps.location.utcOffset = place.standardMinutes;
    ps.location.useSystemTimeZone = place.summerFromSystem;
    ps.location.useSystemSummerTime = place.summerFromSystem;
    ps.options.wakeUp = true;
    ApplyCalcParams(ps);

    YearClock clock(place, year);
    YearEffects fx(ps);
    const int64_t end = clock.utc + (IsLeapYear(year) ? 366 : 365) * 86'400LL;

    std::map<std::pair<int32_t, int16_t>, Expected> expected;
    auto expectedOf = [&](int32_t date, int16_t zone) -> const Expected& {
        const auto key = std::make_pair(date, zone);
        auto it = expected.find(key);
        if (it == expected.end()) it = expected.emplace(key, ExpectedFor(place, zone, date)).first;
        return it->second;
    };

    long passes = 0, wakeChecks = 0, wakeFaults = 0;
    std::vector<std::pair<int32_t, int16_t>> firstPassOfDate;
    int32_t lastDate = -1;
    for (; clock.utc < end; ++clock.utc) {
        const long titlesBefore = fx.titles;
        SchedulerTick(ps, clock, fx);
        if (fx.titles == titlesBefore) continue;
        ++passes;
        const WorkTime now = ps.workTime;
        const int32_t date = DayNumberOf(now.day, now.month, now.year);
        if (date != lastDate) {
            firstPassOfDate.push_back({date, ps.astro.zoneMinutes});
            lastDate = date;
        }

        // The wake target names the next adhan, the day before's late YATSI
        // or tomorrow's first included, before its minute begins.
        const int m = now.hour * 60 + now.minute;
        int next = 4 * 1440;
        for (int day = -1; day <= 1; ++day) {
            const Expected& e = expectedOf(date + day, ps.astro.zoneMinutes);
            for (int slot = 0; slot < kAdhanSlotCount; ++slot)
                if (day * 1440 + e.slotMinute[slot] > m)
                    next = std::min(next, day * 1440 + e.slotMinute[slot]);
        }
        WorkTime midnight = now;
        midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
        const int64_t want =
            LocalFileTime(midnight) + (next * 60LL - kWakeLeadSeconds) * kUnitsPerSecond;
        ++wakeChecks;
        if (fx.armed != want && ++wakeFaults <= 5)
            ADD_FAILURE() << "wake target at " << now.day << "/" << now.month << " " << m
                          << ": armed " << fx.armed << " want " << want;
    }

    // Every slot exactly once on each date, at the minute of that date's times.
    std::map<std::pair<int32_t, int>, int> count;
    long wrongMinute = 0, ofTheYear = 0;
    const int days = IsLeapYear(year) ? 366 : 365;
    for (const Firing& f : fx.firings) {
        ++count[{f.dayNumber, f.slot}];
        const int n = f.dayNumber - DayNumberOf(1, 1, year) + 1;
        ofTheYear += n >= 1 && n <= days;
        if (expectedOf(f.dayNumber, f.zone).slotMinute[f.slot] != f.minute && ++wrongMinute <= 5)
            ADD_FAILURE() << "slot " << f.slot << " on day " << n << " at " << f.minute;
    }
    int missingOrTwice = 0;
    for (int d = 0; d < days; ++d) {
        for (int slot = 0; slot < kAdhanSlotCount; ++slot) {
            const int c = count[{DayNumberOf(1, 1, year) + d, slot}];
            if (c != 1 && ++missingOrTwice <= 5)
                ADD_FAILURE() << "slot " << slot << " fired " << c << " times on day " << d + 1;
        }
    }
    EXPECT_EQ(ofTheYear, days * kAdhanSlotCount);
    // The hour lost in spring comes back in autumn.
    EXPECT_EQ(passes, days * 1440);
    EXPECT_EQ(wakeChecks, passes);
    EXPECT_EQ(fx.arms, passes);
    EXPECT_EQ(fx.unaskedCount, 0) << (fx.unasked.empty() ? "" : fx.unasked[0]);

    // The religious-day warning on each eve and only there, once.
    std::vector<std::pair<int32_t, std::string>> want;
    for (const auto& [date, zone] : firstPassOfDate) {
        int month = 0, day = 0;
        MonthAndDay(year, date - DayNumberOf(1, 1, year) + 1, &month, &day);
        AstroState s;
        SetLocation(s, static_cast<int16_t>(place.latitude), static_cast<int16_t>(place.longitude),
                    zone);
        SetDate(s, static_cast<int16_t>(day + 1), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        const char* name = ReligiousDayName(s);
        if (name[0]) want.push_back({date, std::string("Yarın  ") + name + " !"});
    }
    EXPECT_FALSE(want.empty());
    EXPECT_EQ(fx.warnings, want);
}

TEST(SchedulerYear, Istanbul) {
    RunYear({"İstanbul", 4101, 2897, 180, false}, 2021);
}

TEST(SchedulerYear, SixtyDegreesNorth) {
    RunYear({"59.5 N", 5950, 2475, 120, false}, 2021);
}

TEST(SchedulerYear, SouthernHemisphere) {
    RunYear({"Cape Town", -3392, 1842, 120, false}, 2021);
}

TEST(SchedulerYear, SummerTimeFromTheSystem) {
    RunYear({"Berlin", 5252, 1340, 60, true}, 2021);
}

}  // namespace
}  // namespace miravel
