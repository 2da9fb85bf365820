#include "app/scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/day_plan.h"
#include "config/settings.h"
#include "core/calendar.h"
#include "core/hijri.h"
#include "core/sun.h"
#include "ui/fake_controls.h"
#include "ui/times_view.h"

namespace miravel {
namespace {

WorkTime At(int day, int month, int year, int hour, int minute, int second = 1, int ms = 0) {
    WorkTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.dayOfWeek = static_cast<uint16_t>(WeekdayOf(day, month, year) % 7);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(ms);
    return t;
}

// İstanbul, 19/06/2020 is a Friday. Mode 4 times of that day:
// İMSAK 03:22, GÜNEŞ 05:24, İŞRAK 06:17, İSTİVA 12:02, ÖĞLE 13:13, İKİNDİ 17:12,
// ASR-I SANİ 18:26, İSFİRAR 20:04, AKŞAM 20:47, YATSI 22:40.
class SchedulerTest : public ::testing::Test {
  protected:
    SchedulerTest() : fx(ps) {
        ps.location.latitude = 4101;
        ps.location.longitude = 2897;
        ps.location.utcOffset = 180;
        ApplyCalcParams(ps);
        env.now = At(19, 6, 2020, 0, 0);
    }

    // A pass at the given local time, as a forced pass would run it.
    void PassAt(const WorkTime& t) {
        env.now = t;
        ps.ticksToNextRun = 0;
        SchedulerTick(ps, env, fx);
    }
    void PassAt(int hour, int minute, int second = 1) {
        WorkTime t = env.now;
        t.hour = static_cast<uint16_t>(hour);
        t.minute = static_cast<uint16_t>(minute);
        t.second = static_cast<uint16_t>(second);
        PassAt(t);
    }
    // Every minute from `from` to `to` inclusive, minutes of the day.
    void PassEveryMinute(int from, int to) {
        for (int m = from; m <= to; ++m)
            PassAt(m / 60, m % 60);
    }

    int Time(Vakit v) const { return ps.dayTimes[v - 1]; }

    std::vector<EffectRecord> Of(EffectKind kind) const {
        std::vector<EffectRecord> out;
        for (const EffectRecord& r : fx.records)
            if (r.kind == kind) out.push_back(r);
        return out;
    }
    std::vector<int> MinutesOf(EffectKind kind) const {
        std::vector<int> out;
        for (const EffectRecord& r : Of(kind))
            out.push_back(r.minute);
        return out;
    }
    std::vector<int> AdhanMinutes(int slot) const {
        std::vector<int> out;
        for (const EffectRecord& r : Of(EffectKind::PlayAdhan))
            if (r.number == slot) out.push_back(r.minute);
        return out;
    }
    std::string LastTitle() const {
        const auto titles = Of(EffectKind::RemainingTime);
        return titles.empty() ? "" : titles.back().text;
    }

    // The minute of the last wake-up armed, and its lead before that minute.
    int WakeMinute(int* leadSeconds = nullptr) const {
        const int64_t due = Of(EffectKind::ArmWake).back().value;
        const WorkTime t = FromLocalFileTime(due + kWakeLeadSeconds * 10'000'000LL);
        if (leadSeconds) *leadSeconds = static_cast<int>((LocalFileTime(t) - due) / 10'000'000);
        return t.hour * 60 + t.minute;
    }

    ProgramState ps;
    ScriptedEnvironment env;
    RecordingEffects fx;
};

TEST_F(SchedulerTest, FirstPassComputesTheDayAndCountsDownToTheNextMinute) {
    PassAt(13, 0, 17);
    EXPECT_EQ(Time(Ogle), 13 * 60 + 13);
    EXPECT_EQ(Time(Imsak), 3 * 60 + 22);
    EXPECT_EQ(ps.ticksToNextRun, 43);
    EXPECT_EQ(ps.recalcLevel, 0);
    EXPECT_EQ(LastTitle(), "ÖĞLE vaktine kalan süre =  0:13");
    EXPECT_EQ(Of(EffectKind::RefreshDialog).size(), 1u);

    // The countdown: 43 ticks pass nothing, the 44th runs the next pass.
    fx.records.clear();
    env.now = At(19, 6, 2020, 13, 1, 0);
    for (int i = 0; i < 43; ++i)
        SchedulerTick(ps, env, fx);
    EXPECT_TRUE(fx.records.empty());
    env.now.second = 1;
    SchedulerTick(ps, env, fx);
    EXPECT_EQ(LastTitle(), "ÖĞLE vaktine kalan süre =  0:12");
    EXPECT_EQ(ps.ticksToNextRun, 59);
}

TEST_F(SchedulerTest, SameMinuteWithoutForcingDoesNothingAndManualModeWaits) {
    PassAt(13, 13);
    ASSERT_EQ(AdhanMinutes(1).size(), 1u);
    // A pass that finds neither a new minute nor anything to refresh stops early.
    const size_t before = fx.records.size();
    PassAt(13, 13, 30);
    EXPECT_EQ(fx.records.size(), before);

    // Manual mode: the pass works on workTime, cancels the wake timer and
    // then waits for someone to set the countdown to 0.
    ps.realTime = false;
    ps.options.wakeUp = true;
    ps.workTime = At(19, 6, 2020, 20, 47, 0);
    ps.ticksToNextRun = 0;
    SchedulerTick(ps, env, fx);
    EXPECT_EQ(AdhanMinutes(3), std::vector<int>{20 * 60 + 47});
    EXPECT_EQ(ps.ticksToNextRun, -1);
    EXPECT_EQ(fx.records[fx.records.size() - 2].kind, EffectKind::CancelWake);
    EXPECT_TRUE(Of(EffectKind::ArmWake).empty());
    const size_t after = fx.records.size();
    for (int i = 0; i < 500; ++i)
        SchedulerTick(ps, env, fx);
    EXPECT_EQ(fx.records.size(), after);
    EXPECT_EQ(ps.ticksToNextRun, -1);
}

TEST_F(SchedulerTest, ClockSetBackFiresAgainAndClockSetForwardSkips) {
    const int ogle = 13 * 60 + 13;
    PassEveryMinute(ogle - 2, ogle + 1);
    EXPECT_EQ(AdhanMinutes(1), std::vector<int>{ogle});

    // The user sets the clock back across the adhan minute.
    OnTimeChange(ps);
    EXPECT_EQ(ps.ticksToNextRun, 0);
    PassEveryMinute(ogle - 3, ogle);
    EXPECT_EQ(AdhanMinutes(1), (std::vector<int>{ogle, ogle}));

    // Forward past İKİNDİ: skipped, no catch-up.
    const int ikindi = 17 * 60 + 12;
    PassAt(ikindi / 60, ikindi % 60 - 1);
    PassAt(ikindi / 60, ikindi % 60 + 4);
    EXPECT_TRUE(AdhanMinutes(2).empty());
}

TEST_F(SchedulerTest, ForcedPassInTheSameMinuteFiresNothingAgain) {
    PassAt(20, 47);
    ASSERT_EQ(AdhanMinutes(3).size(), 1u);
    // Saving the settings, a report or a chart during the adhan minute
    // forces a pass; the adhan has played.
    for (const int level : {2, 3, 0}) {
        ps.ticksToNextRun = 0;
        ps.recalcLevel = level;
        SchedulerTick(ps, env, fx);
    }
    EXPECT_EQ(AdhanMinutes(3).size(), 1u);
    // A display change or a resume after suspend refreshes at once, but the
    // adhan of the minute has played and does not start again: Windows sends
    // both on waking, often together.
    const size_t titles = Of(EffectKind::RemainingTime).size();
    OnDisplayChange(ps);
    EXPECT_EQ(ps.recalcLevel, 3);
    EXPECT_EQ(ps.nextWallpaperRefresh, 0);
    SchedulerTick(ps, env, fx);
    EXPECT_EQ(AdhanMinutes(3).size(), 1u);
    EXPECT_EQ(Of(EffectKind::RemainingTime).size(), titles + 1);
    OnPowerBroadcast(ps, 4);  // query suspend: ignored
    EXPECT_NE(ps.ticksToNextRun, 0);
    for (unsigned resume : {kPowerResumeSuspend, kPowerResumeAutomatic, kPowerResumeCritical}) {
        OnPowerBroadcast(ps, resume);
        EXPECT_EQ(ps.ticksToNextRun, 0) << resume;
        SchedulerTick(ps, env, fx);
    }
    EXPECT_EQ(AdhanMinutes(3).size(), 1u);
    EXPECT_EQ(Of(EffectKind::RemainingTime).size(), titles + 4);
}

TEST_F(SchedulerTest, DisplayChangeKeepsAPendingRecomputation) {
    PassAt(10, 0);
    ps.calc.mode = 0;
    ApplyCalcParams(ps);  // level 2
    OnDisplayChange(ps);
    PassAt(10, 0);
    EXPECT_EQ(Time(Ogle), 13 * 60 + 13 - 5);  // mode 0 drops ÖĞLE's temkin of 5
}

TEST_F(SchedulerTest, AdhansAtTheirMinutesAndMorningAdhanLeadOrImsak) {
    PassEveryMinute(0, 1439);
    EXPECT_EQ(AdhanMinutes(0), std::vector<int>{5 * 60 + 24 - 60});
    EXPECT_EQ(AdhanMinutes(1), std::vector<int>{13 * 60 + 13});
    EXPECT_EQ(AdhanMinutes(2), std::vector<int>{17 * 60 + 12});
    EXPECT_EQ(AdhanMinutes(3), std::vector<int>{20 * 60 + 47});
    EXPECT_EQ(AdhanMinutes(4), std::vector<int>{22 * 60 + 40});
    // Defaults: no reminders, no salâ, no notices.
    EXPECT_TRUE(Of(EffectKind::PlayFile).empty());
    EXPECT_TRUE(Of(EffectKind::Notice).empty());
    EXPECT_TRUE(Of(EffectKind::Reminder).empty());

    fx.records.clear();
    ps.options.morningAdhanLead = 25;
    PassEveryMinute(0, 12 * 60);
    EXPECT_EQ(AdhanMinutes(0), std::vector<int>{5 * 60 + 24 - 25});
    fx.records.clear();
    ps.options.morningAdhanAtImsak = true;
    PassEveryMinute(0, 12 * 60);
    EXPECT_EQ(AdhanMinutes(0), std::vector<int>{3 * 60 + 22});
}

TEST_F(SchedulerTest, ReminderLeadAddsThePositiveTemkinUnlessModeZero) {
    ps.options.reminder = true;
    PassEveryMinute(0, 1439);
    std::vector<std::pair<int, std::string>> got;
    for (const EffectRecord& r : Of(EffectKind::Reminder))
        got.push_back({r.minute, r.text});
    const std::vector<std::pair<int, std::string>> want = {
        // İMSAK temkin -2: 20 minutes before İMSAK, YATSI ends.
        {3 * 60 + 22 - 20, "YATSI vaktinin çıkmasına 20 dakika kaldı!"},
        // GÜNEŞ temkin -7: 20 minutes before GÜNEŞ.
        {5 * 60 + 24 - 20, "SABAH vaktinin çıkmasına 20 dakika kaldı!"},
        // İKİNDİ temkin 5: 25 minutes before İKİNDİ; ÖĞLE itself has none.
        {17 * 60 + 12 - 25, "ÖĞLE vaktinin çıkmasına 20 dakika kaldı!"},
        // AKŞAM temkin 7, YATSI temkin 2.
        {20 * 60 + 47 - 27, "İKİNDİ vaktinin çıkmasına 20 dakika kaldı!"},
        {22 * 60 + 40 - 22, "AKŞAM vaktinin çıkmasına 20 dakika kaldı!"},
    };
    EXPECT_EQ(got, want);
    EXPECT_EQ(Of(EffectKind::Reminder)[2].number, Ogle);  // the dialog's name index
    EXPECT_EQ(ps.reminderTimeName, Aksam);
    // The kerahet notice (İSFİRAR temkin 0) and midnight (İSTİVA 12:02 + 12 h).
    std::vector<std::pair<int, std::string>> notices;
    for (const EffectRecord& r : Of(EffectKind::Notice))
        notices.push_back({r.minute, r.text});
    EXPECT_EQ(notices, (std::vector<std::pair<int, std::string>>{
                           {20 * 60 + 4 - 20, "Kerahetin girmesine 20 dk. kaldı..."},
                           {12 * 60 + 2 + 720 - 20, "Geceyarısına 20 dk. kaldı..."}}));
    EXPECT_TRUE(Of(EffectKind::PlayFile).empty());  // "Salâ Oku" is off

    // Mode 0: no temkin anywhere, every reminder exactly R before.
    fx.records.clear();
    ps.calc.mode = 0;
    ApplyCalcParams(ps);
    PassEveryMinute(0, 1439);
    const auto reminders = Of(EffectKind::Reminder);
    ASSERT_EQ(reminders.size(), 5u);
    EXPECT_EQ(reminders[2].text, "ÖĞLE vaktinin çıkmasına 20 dakika kaldı!");
    EXPECT_EQ(reminders[2].minute, Time(Ikindi) - 20);
    EXPECT_EQ(reminders[3].minute, Time(Aksam) - 20);
}

TEST_F(SchedulerTest, SalaBeforeEachTimeByItsDigitAndNoReminderAtOgle) {
    ps.options.reminderSala = true;
    ps.options.reminder = true;
    std::snprintf(ps.options.reminderFile, sizeof ps.options.reminderFile, "%s", "dua.mp3");
    PassEveryMinute(0, 1439);
    // ÖĞLE (temkin 5): the third digit plays the salâ 25 minutes before, no
    // reminder.
    const int ogleSala = 13 * 60 + 13 - 25;
    std::vector<int> sala = MinutesOf(EffectKind::PlayFile);
    EXPECT_EQ(sala, (std::vector<int>{3 * 60 + 2, 5 * 60 + 4, ogleSala, 17 * 60 + 12 - 25,
                                      20 * 60 + 47 - 27, 22 * 60 + 40 - 22}));
    for (const EffectRecord& r : Of(EffectKind::PlayFile))
        EXPECT_EQ(r.text, "dua.mp3");
    for (const EffectRecord& r : Of(EffectKind::Reminder))
        EXPECT_NE(r.minute, ogleSala);

    // Digits select the times; a short value never reads past its end.
    fx.records.clear();
    std::snprintf(ps.options.salaTimes, sizeof ps.options.salaTimes, "%s", "0010");
    ps.options.reminder = false;
    PassEveryMinute(0, 1439);
    EXPECT_EQ(MinutesOf(EffectKind::PlayFile), std::vector<int>{ogleSala});
    EXPECT_TRUE(Of(EffectKind::Reminder).empty());
}

TEST_F(SchedulerTest, AsrSaniVariantMovesAdhanReminderSalaAndCountdown) {
    ps.options.asrSaniAdhan = true;
    ps.ikindiAdhanTime = AsriSani;
    ps.options.reminder = true;
    ps.options.reminderSala = true;
    const int ikindi = 17 * 60 + 12, asrSani = 18 * 60 + 26;
    PassEveryMinute(0, 1439);
    EXPECT_EQ(AdhanMinutes(2), std::vector<int>{asrSani});
    EXPECT_STREQ(AdhanSlotName(ps, 2), "ASR-I SANİ");
    const auto adhans = Of(EffectKind::PlayAdhan);
    EXPECT_EQ(adhans[2].text, "ASR-I SANİ ezan.wav");

    bool ikindiNotice = false;
    for (const EffectRecord& r : Of(EffectKind::Notice)) {
        if (r.text == "İkindinin girmesine 20 dk. kaldı...") {
            EXPECT_EQ(r.minute, ikindi - 25);
            ikindiNotice = true;
        }
    }
    EXPECT_TRUE(ikindiNotice);
    bool ogleReminder = false;
    for (const EffectRecord& r : Of(EffectKind::Reminder)) {
        EXPECT_NE(r.minute, ikindi - 25);
        if (r.number == Ogle) {
            EXPECT_EQ(r.minute, asrSani - 25);  // ASR-I SANİ temkin 5
            ogleReminder = true;
        }
    }
    EXPECT_TRUE(ogleReminder);
    const std::vector<int> sala = MinutesOf(EffectKind::PlayFile);
    EXPECT_NE(std::find(sala.begin(), sala.end(), asrSani - 25), sala.end());
    EXPECT_EQ(std::find(sala.begin(), sala.end(), ikindi - 25), sala.end());

    // Between ÖĞLE and İKİNDİ the tooltip already counts to ASR-I SANİ.
    PassAt(16, 0);
    EXPECT_EQ(LastTitle(), "ASR-I SANİ vaktine kalan süre =  2:26");
    PassAt(18, 26);
    EXPECT_EQ(LastTitle(), "ASR-I SANİ vaktine kalan süre =  0:00");
}

TEST_F(SchedulerTest, RemainingTimePassesOverIsrakIstivaIsfirar) {
    struct Case {
        int hour, minute;
        const char* title;
        const char* anyTime;
    };
    const Case cases[] = {
        {3, 22, "İMSAK vaktine kalan süre =  0:00", "İMSAK vaktine kalan süre =  0:00"},
        {3, 23, "GÜNEŞ vaktine kalan süre =  2:01", "GÜNEŞ vaktine kalan süre =  2:01"},
        {5, 24, "GÜNEŞ vaktine kalan süre =  0:00", "GÜNEŞ vaktine kalan süre =  0:00"},
        {5, 25, "ÖĞLE vaktine kalan süre =  7:48", "İŞRAK vaktine kalan süre =  0:52"},
        {6, 17, "ÖĞLE vaktine kalan süre =  6:56", "İŞRAK vaktine kalan süre =  0:00"},
        {12, 2, "ÖĞLE vaktine kalan süre =  1:11", "İSTİVA vaktine kalan süre =  0:00"},
        {13, 13, "ÖĞLE vaktine kalan süre =  0:00", "ÖĞLE vaktine kalan süre =  0:00"},
        {17, 12, "İKİNDİ vaktine kalan süre =  0:00", "İKİNDİ vaktine kalan süre =  0:00"},
        {17, 13, "AKŞAM vaktine kalan süre =  3:34", "ASR-I SANİ vaktine kalan süre =  1:13"},
        {20, 4, "AKŞAM vaktine kalan süre =  0:43", "İSFİRAR vaktine kalan süre =  0:00"},
        {20, 47, "AKŞAM vaktine kalan süre =  0:00", "AKŞAM vaktine kalan süre =  0:00"},
        {22, 41, "İMSAK vaktine kalan süre =  4:41", "İMSAK vaktine kalan süre =  4:41"},
    };
    for (const Case& c : cases) {
        ps.options.remainingToAnyTime = false;
        PassAt(c.hour, c.minute);
        EXPECT_EQ(LastTitle(), c.title) << c.hour << ":" << c.minute;
        ps.options.remainingToAnyTime = true;
        ps.recalcLevel = 3;
        PassAt(c.hour, c.minute);
        EXPECT_EQ(LastTitle(), c.anyTime) << c.hour << ":" << c.minute;
    }
}

TEST_F(SchedulerTest, MidnightWarningIsTwelveHoursAfterIstivaLessTheLead) {
    ps.options.reminder = true;
    PassAt(0, 0);
    // İSTİVA 13:00 and R 20: midnight is 01:00, the warning comes at 00:40
    // (1480 - 1440); with İSTİVA 13:10 it comes at 00:50.
    for (const int istiva : {13 * 60, 13 * 60 + 10}) {
        fx.records.clear();
        ps.dayTimes[Istiva - 1] = istiva;
        PassEveryMinute(1, 1439);
        std::vector<int> midnight;
        for (const EffectRecord& r : Of(EffectKind::Notice))
            if (r.text == "Geceyarısına 20 dk. kaldı...") midnight.push_back(r.minute);
        EXPECT_EQ(midnight, std::vector<int>{istiva + 720 - 20 - 1440});
    }
}

TEST_F(SchedulerTest, FridaySalaOnlyOnFridaysAndOnlyThenAWakeTarget) {
    ps.options.fridaySala = true;
    ps.options.wakeUp = true;
    PassEveryMinute(0, 1439);  // Friday 19/06/2020
    EXPECT_EQ(MinutesOf(EffectKind::PlayFile), std::vector<int>{12 * 60 + 13});
    for (const EffectRecord& r : Of(EffectKind::PlayFile))
        EXPECT_EQ(r.text, "sala.wav");
    fx.records.clear();
    PassAt(11, 0);
    EXPECT_EQ(WakeMinute(), 12 * 60 + 13);

    fx.records.clear();
    env.now = At(20, 6, 2020, 0, 0);
    PassEveryMinute(0, 1439);  // Saturday
    EXPECT_TRUE(Of(EffectKind::PlayFile).empty());
    fx.records.clear();
    PassAt(11, 0);
    EXPECT_EQ(WakeMinute(), Time(Ogle));
}

TEST_F(SchedulerTest, SahurSalaAndItsWakeTarget) {
    ps.options.sahurSala = true;
    ps.options.wakeUp = true;
    PassEveryMinute(0, 1439);
    EXPECT_EQ(MinutesOf(EffectKind::PlayFile), std::vector<int>{3 * 60 + 22 - 90});
    fx.records.clear();
    env.now = At(20, 6, 2020, 0, 0);
    PassAt(1, 0);
    EXPECT_EQ(WakeMinute(), Time(Imsak) - 90);
}

TEST_F(SchedulerTest, WakeTargetIsTheNextEventEvenTomorrowBeforeItsMinute) {
    ps.options.wakeUp = true;
    PassAt(At(19, 6, 2020, 13, 13, 7, 250));
    // At the ÖĞLE minute the next event is İKİNDİ; the computer is to be
    // awake before its minute begins, whatever the seconds of the pass.
    int lead = 0;
    EXPECT_EQ(WakeMinute(&lead), 17 * 60 + 12);
    EXPECT_EQ(lead, kWakeLeadSeconds);
    EXPECT_EQ(FromLocalFileTime(Of(EffectKind::ArmWake).back().value).day, 19);

    // After YATSI: the morning adhan of the next day, by that day's times.
    PassAt(At(19, 6, 2020, 23, 0, 7, 250));
    EXPECT_EQ(WakeMinute(), ps.dayTimesAfter[Gunes - 1] - 60);
    EXPECT_EQ(FromLocalFileTime(Of(EffectKind::ArmWake).back().value).day, 20);

    // A platform that cannot wake the computer grays the menu entry; the
    // timer was armed all the same.
    fx.records.clear();
    fx.wakeNotSupported = true;
    PassAt(23, 1);
    ASSERT_EQ(Of(EffectKind::MenuEntry).size(), 1u);
    EXPECT_EQ(Of(EffectKind::MenuEntry)[0].number, kMenuWakeUp);
    EXPECT_EQ(Of(EffectKind::MenuEntry)[0].value, 0);
    EXPECT_EQ(Of(EffectKind::ArmWake).size(), 1u);

    // Any of the three switches off cancels instead.
    for (int which = 0; which < 3; ++which) {
        fx.records.clear();
        ps.options.wakeUp = which != 0;
        ps.options.adhanEnabled = which != 1;
        ps.realTime = which != 2;
        if (which == 2) ps.workTime = At(19, 6, 2020, 23, 3 + which);
        PassAt(23, 3 + which);
        EXPECT_TRUE(Of(EffectKind::ArmWake).empty()) << which;
        EXPECT_EQ(Of(EffectKind::CancelWake).size(), 1u) << which;
    }
}

TEST_F(SchedulerTest, LocalFileTimeMatchesTheWindowsEpoch) {
    // 2000-01-01 00:00:00 is 125911584000000000 in file-time units.
    EXPECT_EQ(LocalFileTime(At(1, 1, 2000, 0, 0, 0)), 125911584000000000LL);
    const WorkTime t = At(29, 2, 2024, 23, 59, 58, 999);
    const WorkTime back = FromLocalFileTime(LocalFileTime(t));
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.dayOfWeek, 4);  // Thursday
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.minute, 59);
    EXPECT_EQ(back.second, 58);
    EXPECT_EQ(back.milliseconds, 999);
}

// Just after midnight, before the evening's late YATSI: the tooltip and the
// times dialog show it where it falls, minutes away, not a day later.
TEST_F(SchedulerTest, LateYatsiIsCountedToAndShownWhereItFalls) {
    ps.location = {false, 5163, "Vigo", "İspanya", 4223, -872, 60, false, true, false};
    ApplyCalcParams(ps);
    for (int day = 1; day <= 31; ++day) {
        PassAt(At(day, 7, 2024, 23, 30));
        const int yatsi = VakitInstant(ps.dayTimes, Yatsi);
        if (yatsi < 1441) continue;
        PassAt(At(day + 1, 7, 2024, 0, 0));
        char want[64];
        std::snprintf(want, sizeof want, "YATSI vaktine kalan süre =  0:%02d", yatsi - 1440);
        EXPECT_EQ(LastTitle(), want);
        testing::FakeControls dialog;
        FillTimesDialog(ps, dialog);
        std::snprintf(want, sizeof want, "00:%02d", yatsi - 1440);
        EXPECT_EQ(dialog.text[IDC_TIME_FIRST + Yatsi - 1], want);
        return;
    }
    FAIL() << "no late YATSI in July";
}

// A religious day tomorrow: the first date of 2020 whose next day has a name.
bool FindEveOfReligiousDay(int* day, int* month) {
    AstroState s;
    SetLocation(s, 4101, 2897, 180);
    for (int n = 1; n < 360; ++n) {
        int m = 0, d = 0;
        MonthAndDay(2020, n, &m, &d);
        SetDate(s, static_cast<int16_t>(d + 1), static_cast<int16_t>(m), 2020);
        const char* name = ReligiousDayName(s);
        if (name && name[0]) {
            *day = d;
            *month = m;
            return true;
        }
    }
    return false;
}

// Shows the warning and, like the real box, runs a pass of the message loop
// while it is open.
class NestingEffects : public RecordingEffects {
  public:
    NestingEffects(ProgramState& ps, ScriptedEnvironment& env)
        : RecordingEffects(ps), state_(ps), env_(env) {}
    void ShowReligiousDayWarning(const char* text) override {
        markerWhenShown = env_.lastReligiousDay;
        RecordingEffects::ShowReligiousDayWarning(text);
        state_.ticksToNextRun = 0;
        SchedulerTick(state_, env_, *this);
    }
    std::string markerWhenShown;

  private:
    ProgramState& state_;
    ScriptedEnvironment& env_;
};

TEST_F(SchedulerTest, ReligiousDayWarningOncePerDayAcrossRestarts) {
    int day = 0, month = 0;
    ASSERT_TRUE(FindEveOfReligiousDay(&day, &month));
    AstroState s;
    SetLocation(s, 4101, 2897, 180);
    SetDate(s, static_cast<int16_t>(day + 1), static_cast<int16_t>(month), 2020);
    const std::string expected = std::string("Yarın  ") + ReligiousDayName(s) + " !";
    char today[16];
    std::snprintf(today, sizeof today, "%02d/%02d/2020", day, month);

    ScriptedEnvironment env1;
    env1.now = At(day, month, 2020, 9, 30);
    ProgramState first = ps;
    NestingEffects fx1(first, env1);
    first.ticksToNextRun = 0;
    SchedulerTick(first, env1, fx1);
    int warnings = 0;
    for (const EffectRecord& r : fx1.records)
        if (r.kind == EffectKind::ReligiousDay) {
            EXPECT_EQ(r.text, expected);
            ++warnings;
        }
    EXPECT_EQ(warnings, 1);                 // the pass inside the box did not repeat it
    EXPECT_EQ(fx1.markerWhenShown, today);  // written before the box opened
    EXPECT_EQ(env1.markerWrites, 1);
    EXPECT_EQ(first.astro.day, day);  // the working date is today again

    // A second start of the program on the same day says nothing.
    ProgramState second = ps;
    RecordingEffects fx2(second);
    env1.now.hour = 15;
    second.ticksToNextRun = 0;
    SchedulerTick(second, env1, fx2);
    for (const EffectRecord& r : fx2.records)
        EXPECT_NE(r.kind, EffectKind::ReligiousDay);
    EXPECT_EQ(env1.markerWrites, 1);
}

TEST_F(SchedulerTest, SummerTimeFromTheSystemRecomputesAtTheSwitch) {
    // Berlin, standard offset and summer time from the system. The switch
    // night of 29/03/2020: 01:59 CET is followed by 03:00 CEST.
    ps.location.latitude = 5252;
    ps.location.longitude = 1340;
    ps.location.useSystemTimeZone = true;
    ps.location.useSystemSummerTime = true;
    ApplyCalcParams(ps);
    env.zone = {60, false};
    env.now = At(29, 3, 2020, 1, 59);
    PassAt(env.now);
    const int ogleWinter = Time(Ogle);
    env.zone.daylightNow = true;
    PassAt(3, 0);
    EXPECT_EQ(ps.astro.zoneMinutes, 120);
    EXPECT_EQ(Time(Ogle), ogleWinter + 60);
}

TEST_F(SchedulerTest, HourlyClockCorrectionAndChartAndWallpaper) {
    ps.options.autoClockCorrection = true;
    ps.lastChart = 1032;
    PassAt(9, 59);
    EXPECT_TRUE(Of(EffectKind::SyncClock).empty());
    fx.records.clear();
    PassAt(10, 0);
    std::vector<EffectKind> kinds;
    for (const EffectRecord& r : fx.records)
        if (r.kind == EffectKind::MenuEntry || r.kind == EffectKind::SyncClock)
            kinds.push_back(r.kind);
    EXPECT_EQ(kinds, (std::vector<EffectKind>{EffectKind::MenuEntry, EffectKind::SyncClock,
                                              EffectKind::MenuEntry}));
    EXPECT_EQ(Of(EffectKind::MenuEntry)[0].number, kMenuClockCheck);
    EXPECT_EQ(Of(EffectKind::MenuEntry)[0].value, 0);
    EXPECT_EQ(Of(EffectKind::MenuEntry)[1].value, 1);
    EXPECT_EQ(Of(EffectKind::RepostChart).size(), 1u);
    EXPECT_EQ(Of(EffectKind::RepostChart)[0].number, 1032);

    // Wallpaper: due at nextWallpaperRefresh, or when the clock went back by
    // more than the interval.
    ps.options.wallpaper = 2;  // earth picture, interval 5
    const int32_t now = DayNumberOf(19, 6, 2020) * 1440 + 10 * 60 + 1 - 180;
    ps.nextWallpaperRefresh = now + 1;
    fx.records.clear();
    PassAt(10, 1);
    EXPECT_TRUE(Of(EffectKind::RefreshWallpaper).empty());
    PassAt(10, 2);
    EXPECT_EQ(Of(EffectKind::RefreshWallpaper).size(), 1u);
    ps.nextWallpaperRefresh = now + 7;  // 10:01 is 6 minutes before: set back
    PassAt(10, 1);
    EXPECT_EQ(Of(EffectKind::RefreshWallpaper).size(), 2u);
    ps.options.wallpaper = 1;  // the moon's interval is 60
    PassAt(10, 0);
    EXPECT_EQ(Of(EffectKind::RefreshWallpaper).size(), 2u);
}

}  // namespace
}  // namespace miravel
