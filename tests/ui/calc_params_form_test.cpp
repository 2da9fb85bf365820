#include "ui/calc_params_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "../config/temp_folder.h"
#include "fake_controls.h"

namespace miravel {
namespace {

using testing::FakeControls;

WorkTime Date(int day, int month, int year, int hour = 12, int minute = 0) {
    WorkTime t;
    t.day = static_cast<uint16_t>(day);
    t.month = static_cast<uint16_t>(month);
    t.year = static_cast<uint16_t>(year);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    return t;
}

// A dialog opened on a record with manual time, filled as the dialog fills it.
struct Dialog {
    ProgramState ps;
    FakeControls c;
    SettlementListFile list;

    Dialog() {
        ps.realTime = false;
        ps.workTime = Date(15, 6, 2024, 9, 30);
        RefreshCalcParamsForm(ps, list, c);
    }
    int Commit() { return CommitCalcParams(ps, c, list); }
    void Type(int id, const char* t) { c.text[id] = t; }
};

constexpr int kYatsiField = IDC_TEMKIN_LAST;

TEST(CalcParamsCommit, YatsiTemkinRangeFollowsTheModeJustStored) {
    Dialog d;
    d.Type(IDC_MODE, "5");
    d.Type(kYatsiField, "2");
    EXPECT_EQ(d.Commit(), kYatsiField);
    EXPECT_EQ(d.c.focus, kYatsiField);
    EXPECT_EQ(d.ps.calc.mode, 5);  // stored before the temkins were checked
    EXPECT_EQ(d.ps.calc.temkin[Yatsi], 2);

    d.Type(kYatsiField, "90");
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.calc.temkin[Yatsi], 90);

    d.Type(IDC_MODE, "4");
    EXPECT_EQ(d.Commit(), kYatsiField);
    EXPECT_EQ(d.ps.calc.temkin[Yatsi], 90);
}

TEST(CalcParamsCommit, ModeAndYatsiTypedTogetherPassInOneCommit) {
    Dialog d;
    ASSERT_EQ(d.ps.calc.mode, 4);
    d.Type(IDC_MODE, "5");
    d.Type(kYatsiField, "90");
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.calc.mode, 5);
    EXPECT_EQ(d.ps.calc.temkin[Yatsi], 90);
    EXPECT_EQ(d.Commit(), 0);  // and again, with 90 now in the record
}

TEST(CalcParamsCommit, TemkinRangesAndTheirSigns) {
    Dialog d;
    d.Type(IDC_TEMKIN_FIRST, "-30");     // İMSAK -30..0
    d.Type(IDC_TEMKIN_FIRST + 2, "30");  // İŞRAK 0..30
    EXPECT_EQ(d.Commit(), 0);
    d.Type(IDC_TEMKIN_FIRST, "1");
    EXPECT_EQ(d.Commit(), IDC_TEMKIN_FIRST);
    d.Type(IDC_TEMKIN_FIRST, "-2");
    d.Type(IDC_TEMKIN_FIRST + 2, "-1");
    EXPECT_EQ(d.Commit(), IDC_TEMKIN_FIRST + 2);
    d.Type(IDC_TEMKIN_FIRST + 2, "10");
    d.Type(IDC_MODE, "6");
    EXPECT_EQ(d.Commit(), IDC_MODE);
    d.Type(IDC_MODE, "-1");
    EXPECT_EQ(d.Commit(), IDC_MODE);
}

TEST(CalcParamsCommit, LettersInATemkinReadAsZero) {
    Dialog d;
    d.Type(IDC_TEMKIN_FIRST + 3, "abc");  // İSTİVA, 0 in range
    d.Type(IDC_TEMKIN_FIRST + 4, "5x");   // ÖĞLE: not a whole number either
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.calc.temkin[Istiva], 0);
    EXPECT_EQ(d.ps.calc.temkin[Ogle], 0);

    d.Type(IDC_MODE, "5");
    d.Type(kYatsiField, "doksan");  // 0 is outside 60..120
    EXPECT_EQ(d.Commit(), kYatsiField);
}

TEST(CalcParamsCommit, AHugeNumberIsRefusedNotReadAsZero) {
    Dialog d;
    d.Type(IDC_TEMKIN_FIRST + 3, "99999999999999");
    EXPECT_EQ(d.Commit(), IDC_TEMKIN_FIRST + 3);
}

TEST(CalcParamsCommit, FieldsAreVisitedInOrderAndFailureStopsThere) {
    Dialog d;
    d.Type(IDC_LONGITUDE, "181");
    d.Type(IDC_CITY, "Kuzguncukköyüarası");  // 18 characters
    EXPECT_EQ(d.Commit(), IDC_LONGITUDE);
    EXPECT_EQ(d.c.focus, IDC_LONGITUDE);
    // Names are stored (cut to 15) before anything is checked; the fields
    // after the failure are never read.
    EXPECT_STREQ(d.ps.location.city, "Kuzguncukköyüar");
    const std::vector<int>& log = d.c.focusLog;
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], IDC_MODE);
    EXPECT_EQ(log[1], IDC_TEMKIN_FIRST);
    EXPECT_EQ(log[11], IDC_LIST_ROW);
    EXPECT_EQ(log.back(), IDC_LONGITUDE);
    EXPECT_EQ(std::count(log.begin(), log.end(), IDC_WORK_DATE), 0);
}

TEST(CalcParamsCommit, LatitudeLongitudeAndOffsetLimits) {
    Dialog d;
    d.Type(IDC_LATITUDE, "90");
    d.Type(IDC_LONGITUDE, "-180");
    d.Type(IDC_UTC_OFFSET, "12");
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.latitude, 9000);
    EXPECT_EQ(d.ps.location.longitude, -18000);
    EXPECT_EQ(d.ps.location.utcOffset, 720);

    d.Type(IDC_LATITUDE, "90.01");
    EXPECT_EQ(d.Commit(), IDC_LATITUDE);
    EXPECT_EQ(d.ps.location.latitude, 9000);

    d.Type(IDC_LATITUDE, "-37.5");
    d.Type(IDC_UTC_OFFSET, "12.5");
    EXPECT_EQ(d.Commit(), IDC_UTC_OFFSET);
    EXPECT_EQ(d.ps.location.latitude, -3750);

    d.Type(IDC_UTC_OFFSET, "-3.5");
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.utcOffset, -210);

    d.Type(IDC_LATITUDE, "kuzey");  // no number reads as 0
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.latitude, 0);
}

TEST(CalcParamsCommit, DecimalsAreReadExactlyAndShownAgainAfterApply) {
    Dialog d;
    d.Type(IDC_LATITUDE, "41.01");
    d.Type(IDC_LONGITUDE, "28.97");
    d.Type(IDC_IMSAK_ANGLE, "-18.25");
    d.Type(IDC_YATSI_ANGLE, "-17.3");
    ASSERT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.latitude, 4101);
    EXPECT_EQ(d.ps.location.longitude, 2897);
    RefreshCalcParamsForm(d.ps, d.list, d.c);
    EXPECT_EQ(d.c.text[IDC_LATITUDE], "41.01");
    EXPECT_EQ(d.c.text[IDC_LONGITUDE], "28.97");
    EXPECT_EQ(d.c.text[IDC_IMSAK_ANGLE], "-18.25");
    EXPECT_EQ(d.c.text[IDC_YATSI_ANGLE], "-17.3");
    // A second commit of what is shown changes nothing.
    const Location before = d.ps.location;
    const CalcParams params = d.ps.calc;
    ASSERT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.latitude, before.latitude);
    EXPECT_EQ(d.ps.calc.imsakAngle, params.imsakAngle);
    EXPECT_EQ(d.ps.calc.yatsiAngle, params.yatsiAngle);
}

TEST(CalcParamsCommit, EveryOffsetShownIsCommittedUnchanged) {
    // 7.79 h is 467.4 minutes, stored as 467; shown to the nearest hundredth
    // (7.78) it would come back as 466 from a commit of the unchanged dialog.
    Dialog d;
    d.Type(IDC_UTC_OFFSET, "7.79");
    ASSERT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.location.utcOffset, 467);
    RefreshCalcParamsForm(d.ps, d.list, d.c);
    EXPECT_EQ(d.c.text[IDC_UTC_OFFSET], " 7.79");

    // Whole hundredths of an hour show as before; every minute of the range
    // survives a commit of what is shown.
    const std::pair<int32_t, const char*> kShown[] = {
        {0, " 0.00"}, {180, " 3.00"}, {-210, "-3.50"}, {345, " 5.75"}, {-720, "-12.00"},
        {1, " 0.02"}, {-1, "-0.02"},  {59, " 0.99"},   {-467, "-7.79"}};
    for (const auto& [minutes, text] : kShown) {
        d.ps.location.utcOffset = minutes;
        RefreshCalcParamsForm(d.ps, d.list, d.c);
        EXPECT_EQ(d.c.text[IDC_UTC_OFFSET], text) << minutes;
    }
    for (int32_t minutes = -720; minutes <= 720; ++minutes) {
        d.ps.location.utcOffset = minutes;
        RefreshCalcParamsForm(d.ps, d.list, d.c);
        ASSERT_EQ(d.Commit(), 0) << minutes;
        EXPECT_EQ(d.ps.location.utcOffset, minutes) << d.c.text[IDC_UTC_OFFSET];
    }
}

TEST(CalcParamsCommit, AngleLimits) {
    Dialog d;
    d.Type(IDC_IMSAK_ANGLE, "-20");
    d.Type(IDC_YATSI_ANGLE, "-10");
    EXPECT_EQ(d.Commit(), 0);
    d.Type(IDC_IMSAK_ANGLE, "-14.9");
    EXPECT_EQ(d.Commit(), IDC_IMSAK_ANGLE);
    d.Type(IDC_IMSAK_ANGLE, "-15");
    d.Type(IDC_YATSI_ANGLE, "-20.5");
    EXPECT_EQ(d.Commit(), IDC_YATSI_ANGLE);
    EXPECT_FLOAT_EQ(d.ps.calc.imsakAngle, -15.0f);
    EXPECT_FLOAT_EQ(d.ps.calc.yatsiAngle, -10.0f);
}

TEST(CalcParamsCommit, DateAndTimeScanning) {
    Dialog d;
    d.ps.workTime.dayOfWeek = 6;
    d.ps.workTime.second = 42;
    d.Type(IDC_WORK_DATE, "31/02/2024");
    d.Type(IDC_WORK_TIME, "23:59");
    ASSERT_EQ(d.Commit(), 0);
    const WorkTime& t = d.ps.workTime;
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.dayOfWeek, 6);  // left as it was
    EXPECT_EQ(t.second, 42);

    for (const char* bad :
         {"1/1/1900", "1/1/2100", "0/5/2024", "1/13/2024", "1-1-2024", "1/1", ""}) {
        d.Type(IDC_WORK_DATE, bad);
        EXPECT_EQ(d.Commit(), IDC_WORK_DATE) << bad;
    }
    d.Type(IDC_WORK_DATE, "1/1/1901");
    d.Type(IDC_WORK_TIME, "24:00");
    EXPECT_EQ(d.Commit(), IDC_WORK_TIME);
    EXPECT_EQ(d.ps.workTime.year, 2024);  // neither field stored
    d.Type(IDC_WORK_TIME, "7:5 sabah");   // trailing text is ignored, as a scan does
    EXPECT_EQ(d.Commit(), 0);
    EXPECT_EQ(d.ps.workTime.year, 1901);
    EXPECT_EQ(d.ps.workTime.minute, 5);
}

TEST(CalcParamsCommit, RealTimeSkipsTheDateFields) {
    Dialog d;
    d.ps.realTime = true;
    d.Type(IDC_WORK_DATE, "bozuk");
    EXPECT_EQ(d.Commit(), 0);
}

TEST(CalcParamsCommit, RowNumberIsCheckedEvenWithoutTheList) {
    Dialog d;
    ASSERT_FALSE(d.ps.location.useList);
    d.Type(IDC_LIST_ROW, "0");
    EXPECT_EQ(d.Commit(), IDC_LIST_ROW);
    d.Type(IDC_LIST_ROW, "30001");
    EXPECT_EQ(d.Commit(), IDC_LIST_ROW);
    d.Type(IDC_LIST_ROW, "-5");
    EXPECT_EQ(d.Commit(), IDC_LIST_ROW);
    d.Type(IDC_LIST_ROW, "30000");
    EXPECT_EQ(d.Commit(), 0);
}

TEST(CalcParamsCommit, ListRowReplacesTheSettlementFields) {
    testing::TempFolder folder;
    const auto csv = folder / "liste.csv";
    testing::WriteBytes(csv, "Adana;Türkiye;3;37,00;35,32\nİzmir;Türkiye;3;38.42;27.14\n");
    Dialog d;
    d.list.path = csv.string();
    d.list.exists = true;
    CalcParamsCommand(d.ps, d.c, IDC_USE_LIST, WorkTime{});
    d.Type(IDC_LIST_ROW, "2");
    d.Type(IDC_LATITUDE, "99");  // not read while the list is used
    ASSERT_EQ(d.Commit(), 0);
    EXPECT_STREQ(d.ps.location.city, "İzmir");
    EXPECT_EQ(d.ps.location.latitude, 3842);
    EXPECT_EQ(d.ps.location.utcOffset, 180);

    d.list.path = (folder / "yok.csv").string();  // a missing list changes nothing
    d.Type(IDC_LIST_ROW, "1");
    ASSERT_EQ(d.Commit(), 0);
    EXPECT_STREQ(d.ps.location.city, "İzmir");
    EXPECT_EQ(d.ps.location.listRow, 1);
}

TEST(CalcParamsForm, FillsAndEnablesAsTheRecordSays) {
    ProgramState ps;
    ps.realTime = true;
    ps.workTime = Date(5, 3, 2024, 7, 4);
    ps.location.utcOffset = -210;
    ps.location.useSystemSummerTime = true;
    FakeControls c;
    RefreshCalcParamsForm(ps, SettlementListFile{"x.csv", false}, c);
    EXPECT_EQ(c.text[IDC_TEMKIN_FIRST], "-2");
    EXPECT_EQ(c.text[kYatsiField], "2");
    EXPECT_EQ(c.text[IDC_LIST_ROW], "34");
    EXPECT_EQ(c.text[IDC_LATITUDE], " 0.00");
    EXPECT_EQ(c.text[IDC_UTC_OFFSET], "-3.50");
    EXPECT_EQ(c.text[IDC_IMSAK_ANGLE], "-18.0");
    EXPECT_EQ(c.text[IDC_MODE], "4");
    EXPECT_EQ(c.text[IDC_WORK_DATE], "05/03/2024");
    EXPECT_EQ(c.text[IDC_WORK_TIME], "07:04");
    EXPECT_FALSE(c.enabled[IDC_OPEN_LIST]);
    EXPECT_FALSE(c.enabled[IDC_LIST_ROW]);
    EXPECT_TRUE(c.enabled[IDC_CITY]);
    EXPECT_TRUE(c.enabled[IDC_UTC_OFFSET]);
    EXPECT_FALSE(c.enabled[IDC_WORK_DATE]);
    EXPECT_TRUE(c.checked[IDC_REAL_TIME]);
    EXPECT_FALSE(c.enabled[IDC_SUMMER_TIME]);
    EXPECT_TRUE(c.enabled[IDC_TEMKIN_FIRST]);

    ps.calc.mode = 0;
    ps.location.useList = true;
    RefreshCalcParamsForm(ps, SettlementListFile{"x.csv", true}, c);
    EXPECT_FALSE(c.enabled[IDC_TEMKIN_FIRST]);
    EXPECT_TRUE(c.enabled[IDC_OPEN_LIST]);
    EXPECT_TRUE(c.enabled[IDC_LIST_ROW]);
    EXPECT_FALSE(c.enabled[IDC_LATITUDE]);
    EXPECT_FALSE(c.enabled[IDC_UTC_OFFSET]);
}

TEST(CalcParamsCommand, SwitchesActAtOnce) {
    Dialog d;
    WorkTime now = Date(1, 9, 2025, 6, 7);
    d.ps.ticksToNextRun = 30;

    EXPECT_TRUE(CalcParamsCommand(d.ps, d.c, IDC_SYSTEM_ZONE, now));
    EXPECT_TRUE(d.ps.location.useSystemTimeZone);
    EXPECT_FALSE(d.c.enabled[IDC_UTC_OFFSET]);
    EXPECT_TRUE(CalcParamsCommand(d.ps, d.c, IDC_SYSTEM_ZONE, now));
    EXPECT_TRUE(d.c.enabled[IDC_UTC_OFFSET]);
    CalcParamsCommand(d.ps, d.c, IDC_USE_LIST, now);
    EXPECT_FALSE(d.c.enabled[IDC_UTC_OFFSET]);
    EXPECT_TRUE(d.c.enabled[IDC_LIST_ROW]);

    CalcParamsCommand(d.ps, d.c, IDC_SYSTEM_SUMMER, now);
    EXPECT_FALSE(d.c.enabled[IDC_SUMMER_TIME]);
    CalcParamsCommand(d.ps, d.c, IDC_SUMMER_TIME, now);
    EXPECT_TRUE(d.ps.location.summerTime);

    // Switching real time on takes the clock now and asks for a pass.
    EXPECT_TRUE(CalcParamsCommand(d.ps, d.c, IDC_REAL_TIME, now));
    EXPECT_TRUE(d.ps.realTime);
    EXPECT_EQ(d.ps.workTime.year, 2025);
    EXPECT_EQ(d.ps.ticksToNextRun, 0);
    EXPECT_EQ(d.c.text[IDC_WORK_DATE], "01/09/2025");
    EXPECT_FALSE(d.c.enabled[IDC_WORK_DATE]);
    d.ps.ticksToNextRun = 30;
    CalcParamsCommand(d.ps, d.c, IDC_REAL_TIME, Date(2, 2, 2030));
    EXPECT_FALSE(d.ps.realTime);
    EXPECT_EQ(d.ps.workTime.year, 2025);  // switching off keeps the date
    EXPECT_EQ(d.ps.ticksToNextRun, 30);
    EXPECT_TRUE(d.c.enabled[IDC_WORK_DATE]);

    EXPECT_FALSE(CalcParamsCommand(d.ps, d.c, IDC_OK_BUTTON, now));
    EXPECT_FALSE(CalcParamsCommand(d.ps, d.c, IDC_CITY, now));
}

TEST(CalcParamsCommand, DefaultButtons) {
    Dialog d;
    d.ps.calc.temkin[Imsak] = -30;
    d.ps.calc.mode = 0;
    d.ps.calc.imsakAngle = -19.5f;
    RefreshCalcParamsForm(d.ps, d.list, d.c);
    ASSERT_FALSE(d.c.enabled[IDC_TEMKIN_FIRST]);

    CalcParamsCommand(d.ps, d.c, IDC_ANGLE_DEFAULTS, WorkTime{});
    EXPECT_EQ(d.ps.calc.mode, 4);
    EXPECT_FLOAT_EQ(d.ps.calc.imsakAngle, -18.0f);
    EXPECT_EQ(d.c.text[IDC_MODE], "4");
    EXPECT_FALSE(d.c.enabled[IDC_TEMKIN_FIRST]);  // until the next refresh

    CalcParamsCommand(d.ps, d.c, IDC_TEMKIN_DEFAULTS, WorkTime{});
    const int expected[] = {-2, -7, 10, 0, 5, 5, 5, 0, 7, 2};
    for (int v = 1; v <= kVakitCount; ++v) {
        EXPECT_EQ(d.ps.calc.temkin[v], expected[v - 1]);
        EXPECT_EQ(d.c.text[IDC_TEMKIN_FIRST + v - 1], std::to_string(expected[v - 1]));
    }
}

TEST(StepWorkDate, YearEndsAndLimits) {
    struct Case {
        WorkTime from;
        bool forward;
        bool moved;
        int day, month, year;
    } cases[] = {
        {Date(31, 12, 2099), true, false, 31, 12, 2099},
        {Date(30, 12, 2099), true, true, 31, 12, 2099},
        {Date(1, 1, 1902), false, true, 31, 12, 1901},
        {Date(1, 1, 1901), false, false, 1, 1, 1901},
        {Date(31, 12, 2023), true, true, 1, 1, 2024},
        {Date(28, 2, 2024), true, true, 29, 2, 2024},
        {Date(28, 2, 2023), true, true, 1, 3, 2023},
        {Date(1, 3, 2024), false, true, 29, 2, 2024},
        {Date(1, 1, 2025), false, true, 31, 12, 2024},
        {Date(31, 2, 2024), true, true, 3, 3, 2024},  // an unchecked day still steps
    };
    for (const Case& k : cases) {
        WorkTime t = k.from;
        t.hour = 5;
        EXPECT_EQ(StepWorkDate(t, k.forward), k.moved);
        EXPECT_EQ(t.day, k.day) << k.from.day << "/" << k.from.month << "/" << k.from.year;
        EXPECT_EQ(t.month, k.month);
        EXPECT_EQ(t.year, k.year);
        EXPECT_EQ(t.hour, 5);
    }
}

TEST(CalcParamsWheel, DateFieldStepsTheWorkingDate) {
    Dialog d;
    d.ps.workTime = Date(31, 12, 2099);
    d.c.focus = IDC_WORK_DATE;
    d.ps.ticksToNextRun = -1;
    EXPECT_FALSE(CalcParamsWheel(d.ps, d.c, d.list, -120));
    EXPECT_EQ(d.ps.ticksToNextRun, -1);
    EXPECT_TRUE(CalcParamsWheel(d.ps, d.c, d.list, 120));  // away from the user: back
    EXPECT_EQ(d.c.text[IDC_WORK_DATE], "30/12/2099");
    EXPECT_EQ(d.ps.ticksToNextRun, 2);

    d.ps.workTime = Date(1, 1, 1902);
    EXPECT_TRUE(CalcParamsWheel(d.ps, d.c, d.list, 120));
    EXPECT_EQ(d.c.text[IDC_WORK_DATE], "31/12/1901");
    d.ps.workTime = Date(1, 1, 1901);
    EXPECT_FALSE(CalcParamsWheel(d.ps, d.c, d.list, 120));
    EXPECT_EQ(d.ps.workTime.year, 1901);

    d.c.focus = IDC_CITY;  // anywhere else nothing happens
    EXPECT_FALSE(CalcParamsWheel(d.ps, d.c, d.list, -120));
    EXPECT_EQ(d.ps.workTime.day, 1);
}

TEST(CalcParamsWheel, RowNumberStepsThroughTheList) {
    testing::TempFolder folder;
    const auto csv = folder / "liste.csv";
    testing::WriteBytes(csv, "Adana;Türkiye;3;37,00;35,32\nAdıyaman;Türkiye;3;37.76;38.28\n");
    Dialog d;
    d.list = SettlementListFile{csv.string(), true};
    d.ps.location.useList = true;
    d.ps.location.listRow = 1;
    d.c.focus = IDC_LIST_ROW;

    EXPECT_TRUE(CalcParamsWheel(d.ps, d.c, d.list, 120));  // back at 1 stays at 1
    EXPECT_EQ(d.ps.location.listRow, 1);
    EXPECT_STREQ(d.ps.location.city, "Adana");  // and row 1 is loaded
    EXPECT_EQ(d.c.text[IDC_CITY], "Adana");
    EXPECT_EQ(d.c.text[IDC_LATITUDE], "37.00");

    EXPECT_TRUE(CalcParamsWheel(d.ps, d.c, d.list, -120));
    EXPECT_EQ(d.ps.location.listRow, 2);
    EXPECT_EQ(d.c.text[IDC_LIST_ROW], "2");
    EXPECT_STREQ(d.ps.location.city, "Adıyaman");
    EXPECT_TRUE(CalcParamsWheel(d.ps, d.c, d.list, -120));  // no upper bound of its own
    EXPECT_EQ(d.ps.location.listRow, 3);
    EXPECT_STREQ(d.ps.location.city, "Adıyaman");  // past the end: the last row

    d.ps.location.listRow = INT32_MAX;
    CalcParamsWheel(d.ps, d.c, d.list, -120);
    EXPECT_EQ(d.ps.location.listRow, INT32_MAX);
}

TEST(CalcParamsTips, EveryControlWithHelpHasOneTip) {
    int n = 0;
    const ControlTip* tips = CalcParamsTips(&n);
    EXPECT_EQ(n, 32);
    std::set<int> ids;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(ids.insert(tips[i].id).second) << tips[i].id;
        EXPECT_NE(tips[i].text[0], '\0');
    }
    for (int id = IDC_TEMKIN_FIRST; id <= IDC_TEMKIN_LAST; ++id)
        EXPECT_TRUE(ids.count(id));
}

}  // namespace
}  // namespace miravel
